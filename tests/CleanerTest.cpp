// The cleaning creature: when it comes, how it crosses, what it wipes.
#include <gtest/gtest.h>

#include "battle/StatusBar.h"
#include "graphics/WorkWithMemory.h"
#include "opponents/Cleaner.h"
#include "shell/GameState.h"

namespace {

constexpr COLORREF Dirt = RGB(90, 0, 0);
constexpr COLORREF Clean = RGB(120, 140, 90);

struct CleanerFixture : ::testing::Test {
    void SetUp() override {
        ResetGameState();
        ResetBattlefield();
        Randomize(9);
        CreateSurface(Field, 300, 300);
        CreateSurface(Terain, 300, 300, Dirt);
        CreateSurface(CleanLine, 49, 10 * CleanLineStrips, Clean);
    }
};

TEST_F(CleanerFixture, ItComesBetweenFortyFiveAndNinetySecondsIntoTheGame) {
    int frame = 0;
    while (BugerActive != -1 && frame < 4000) {
        CleanerStep();
        frame++;
    }
    EXPECT_GE(frame, 45 * 33);
    EXPECT_LE(frame, 90 * 33 + 1);
}

TEST_F(CleanerFixture, ItCrossesDownTheFieldWipingItsTrackAndLeaves) {
    StartCleaner();
    EXPECT_EQ(BugerActive, -1);
    int column = Whole(BugerX) + 20;
    Single lastY = BugerY;
    int frames = 0;
    while (BugerActive == -1 && frames < 1000) {
        CleanerStep();
        ASSERT_GE(BugerY, lastY);
        lastY = BugerY;
        frames++;
    }
    EXPECT_GT(frames, 300);
    EXPECT_LT(frames, 400);
    for (int y = 0; y < 300; y += 7) EXPECT_EQ(GetPixel(Terain, column, y), Clean) << y;
    EXPECT_EQ(GetPixel(Terain, column + 40, 150), Dirt);
    // And it comes back later on its own.
    for (int f = 0; f < 121 * 33 && BugerActive != -1; f++) CleanerStep();
    EXPECT_EQ(BugerActive, -1);
}

}  // namespace
