// The cleaning creature: how it crosses, what it wipes, that it comes back.
#include <algorithm>
#include <cmath>
#include <string>

#include "graphics/WorkWithMemory.h"
#include "opponents/Cleaner.h"
#include "support/Battlefield.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"

namespace {

constexpr COLORREF Clean = RGB(120, 140, 90);

struct CleanerTest : Battlefield {
    void SetUp() override {
        Battlefield::SetUp();
        CreateSurface(CleanLine, 49, 10 * CleanLineStrips, Clean);
    }
};

TEST_F(CleanerTest, ItCrossesDownTheFieldWipingItsTrackAndLeaves) {
    StartCleaner();
    int column = Whole(BugerX) + 20;
    const Single base = BugerX;
    Single lastY = BugerY;
    int frames = 0, sway[3] = {0, 0, 0};
    for (; BugerActive == -1 && frames < 1000; frames++) {
        CleanerStep();
        ASSERT_GE(BugerY, lastY);
        lastY = BugerY;
        ASSERT_TRUE(std::abs(BugerX - base) <= 1) << BugerX - base;  // a pixel left and right
        sway[Whole(BugerX - base) + 1]++;
    }
    EXPECT_GT(sway[0] * sway[2], 0);
    EXPECT_GT(sway[1], sway[0]);
    EXPECT_TRUE(frames > 300 && frames < 400) << frames;
    for (int y = 0; y < 300; y += 7) EXPECT_EQ(GetPixel(Terain, column, y), Clean) << y;
    EXPECT_EQ(GetPixel(Terain, column + 40, 150), Grass);
    for (int f = 0; f < 121 * 33 && BugerActive != -1; f++) CleanerStep();
    EXPECT_EQ(BugerActive, -1);  // and comes back on its own

    // The sway: a quarter second in the middle, right, in the middle, left.
    StartCleaner();
    const Single middle = BugerX;
    std::string steps;
    for (int f = 1; f <= 64; f++) {
        CleanerStep();
        steps += "-0+"[Whole(BugerX - middle) + 1];
    }
    const std::string cycle = std::string(8, '0') + std::string(8, '+') + std::string(8, '0') + std::string(8, '-');
    EXPECT_EQ(steps, cycle.substr(1) + cycle + "0");
}

TEST_F(CleanerTest, ItIsHeardWhereItEntersAndComesBackOneToTwoMinutesAfterLeaving) {
    TempGameDir dir;
    LoadProbeSounds({8});
    for (uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
        // Its draws: the first wait, its column, the wait after it leaves.
        Randomize(seed);
        const double firstWait = Rnd();
        (void)Rnd();
        const double nextWait = Rnd();
        Randomize(seed);
        ResetCleaner();
        int frames = 0;
        while (BugerActive != -1 && frames++ < 4000) CleanerStep();
        ASSERT_EQ(BugerActive, -1);
        EXPECT_TRUE(frames >= 45 * 33 && frames < 90 * 33) << frames;  // the first visit
        EXPECT_EQ(frames, Int(firstWait * 1485) + 1485);
        EXPECT_TRUE(Playing(8));
        EXPECT_EQ(MixerGetPan(SoundBuffer(8)), Whole(BugerX * 10 / 3 * 20 / 7 - 1000)) << BugerX;
        // Started again every two seconds; a pixel a frame from y -64 to past
        // 300, the entering frame being the first.
        MixerSetPan(SoundBuffer(8), -555);
        int crossing = 1;
        while (BugerActive == -1) {
            CleanerStep();
            if (++crossing == 65) {
                EXPECT_EQ(MixerGetPan(SoundBuffer(8)), -555);
            }
            if (crossing == 66) {  // again where it is
                EXPECT_EQ(MixerGetPan(SoundBuffer(8)), Whole(BugerX * 10 / 3 * 20 / 7 - 1000)) << BugerX;
            }
        }
        EXPECT_EQ(crossing, 365);
        EXPECT_FALSE(Playing(8));
        frames = 0;
        while (BugerActive != -1 && frames < 5000) {
            CleanerStep();
            frames++;
        }
        EXPECT_TRUE(frames >= 60 * 33 && frames < 120 * 33) << frames;
        EXPECT_EQ(frames, Int(nextWait * 1980) + 1980);
    }
    ResetCleaner();  // a new game while it crawls: silent at once
    EXPECT_FALSE(Playing(8));
    FreeSounds();
}

TEST_F(CleanerTest, ItsStripsTakeTurnsFromTheFirstInEveryGame) {
    for (int k = 0; k < CleanLineStrips; k++)
        for (int y = 0; y < 10; y++)
            for (int x = 0; x < 49; x++) SetPixel(CleanLine, x, 10 * k + y, RGB(10 + k, 0, 0));
    for (int game = 0; game < 2; game++) {
        ResetCleaner();
        CreateSurface(Terain, 300, 300, Grass);
        StartCleaner();
        const int x = Whole(BugerX) + 20;
        // The brush, 20 pixels into the body, reaches row 60 with the body at 40.
        while (BugerY < 39) CleanerStep();
        EXPECT_EQ(GetPixel(Terain, x, 65), Grass);
        CleanerStep();
        for (int row = 0; row <= 60; row += 10)
            EXPECT_EQ(GetPixel(Terain, x, row + 5), RGB(10 + row / 10 % CleanLineStrips, 0, 0)) << game << " " << row;
        EXPECT_EQ(GetPixel(Terain, x, 75), Grass);
        while (BugerActive == -1) CleanerStep();
    }
}

TEST_F(CleanerTest, ItEntersAnywhereFromColumn10To239) {
    int low = 300, high = 0;
    for (int n = 0; n < 3000; n++) {
        StartCleaner();
        low = std::min(low, Whole(BugerX));
        high = std::max(high, Whole(BugerX));
    }
    EXPECT_EQ(low, 10);
    EXPECT_EQ(high, 239);  // its 50 pixels end 11 short of the right edge
    ResetCleaner();
}

}  // namespace
