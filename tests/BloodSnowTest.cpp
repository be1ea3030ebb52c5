// Blood drops and snow: their options, where blood lands, the snow level.
#include <algorithm>
#include <cmath>
#include <vector>

#include "battle/Blood.h"
#include "battle/Snow.h"
#include "support/Battlefield.h"

namespace {

struct BloodSnow : Battlefield {
    static int Stained(int x0, int x1) {
        int n = 0;
        for (int y = 0; y < 300; y++)
            for (int x = x0; x < x1; x++) n += GetPixel(Terain, x, y) != static_cast<int32_t>(Grass);
        return n;
    }
};

TEST_F(BloodSnow, BloodFliesWithTheHitAndStainsTheTerrainWhereItLands) {
    SpawnBlood(100, 150, 40, 0, 7);  // a hit to the right
    for (int f = 0; f < 3; f++) BloodStep();
    int flying = 0;
    for (int x = 100; x < 300; x++)
        for (int y = 100; y < 200; y++) flying += GetPixel(Field, x, y) != 0;
    EXPECT_GT(flying, 15);
    for (int f = 0; f < 20; f++) BloodStep();
    EXPECT_EQ(BloodInFlight(), 0);
    EXPECT_GT(Stained(101, 300), 20);
    EXPECT_EQ(Stained(0, 99), 0);
    // A full pool overwrites its oldest drops.
    for (int k = 0; k < 100; k++) SpawnBlood(150, 150, 40, k, 7);
    EXPECT_EQ(BloodInFlight(), MaxBlood);
}

TEST_F(BloodSnow, BloodFallsInTheFanOfItsDirectionAndWithoutStrengthStaysClose) {
    // The stains' box around the spray point: left, right, up, down.
    auto spread = [](int x0, int y0) {
        int box[4] = {0, 0, 0, 0};
        for (int y = 0; y < 300; y++)
            for (int x = 0; x < 300; x++)
                if (GetPixel(Terain, x, y) != static_cast<int32_t>(Grass)) {
                    box[0] = std::max(box[0], x0 - x), box[1] = std::max(box[1], x - x0);
                    box[2] = std::max(box[2], y0 - y), box[3] = std::max(box[3], y - y0);
                }
        return std::vector<int>(box, box + 4);
    };
    SpawnBlood(150, 100, 40, 90, 7);  // downwards
    for (int f = 0; f < 20; f++) BloodStep();
    std::vector<int> box = spread(150, 100);
    EXPECT_EQ(box[2], 0);
    EXPECT_GT(box[3], 15);
    EXPECT_GT(box[0] + box[1], 4);  // a fan, not a line

    CreateSurface(Terain, 300, 300, Grass);
    SpawnBlood(150, 150, 60, 200, 0);  // no strength: as 1, under 7 pixels
    for (int f = 0; f < 20; f++) BloodStep();
    box = spread(150, 150);
    EXPECT_LE(*std::max_element(box.begin(), box.end()), 7);
    EXPECT_GE(box[0], 3);
}

TEST_F(BloodSnow, ADropFliesFiveToNineteenFramesSlowingAndLandsDarkRed) {
    int shortest = 100, longest = 0, nearest = 300, furthest = 0, big = 0;
    for (int k = 0; k < 300; k++) {
        CreateSurface(Terain, 300, 300, Grass);
        SpawnBlood(100, 150, 1, 0, 7);
        int frames = 0;
        while (BloodInFlight() > 0 && frames < 50) {
            BloodStep();
            frames++;
        }
        shortest = std::min(shortest, frames);
        longest = std::max(longest, frames);
        int stained = 0;
        for (int y = 120; y < 180; y++)
            for (int x = 90; x < 160; x++) {
                const int32_t c = GetPixel(Terain, x, y);
                if (c == static_cast<int32_t>(Grass)) continue;
                stained++;
                const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
                EXPECT_TRUE(r >= 90 && r < 180 && g == 0 && b < 12) << r << " " << g << " " << b;
                if (stained == 1) {
                    const int d = static_cast<int>(std::lround(std::hypot(x - 100, y - 150)));
                    nearest = std::min(nearest, d);
                    furthest = std::max(furthest, d);
                }
            }
        ASSERT_TRUE(stained == 1 || stained == 4) << stained;
        big += stained == 4;
    }
    EXPECT_EQ(shortest, 5);
    EXPECT_EQ(longest, 19);
    // 0.3 .. 1.0 x 7 pixels in the first frame, 15 % less in each next one.
    EXPECT_GE(nearest, 5);
    EXPECT_LT(nearest, 12);
    EXPECT_LE(furthest, 45);
    EXPECT_GT(furthest, 35);
    EXPECT_TRUE(big > 15 && big < 75) << big;  // about one in eight
}

TEST_F(BloodSnow, EachBloodOptionOffDoesItsPartOnlyAndBothOffKeepNothing) {
    OptBloodStays = 8;
    SpawnBlood(150, 150, 30, 90, 4);
    for (int f = 0; f < 20; f++) BloodStep();
    EXPECT_EQ(Stained(0, 300), 0);
    EXPECT_GT(std::count_if(Field.Pixels.begin(), Field.Pixels.end(), [](COLORREF c) { return c != 0; }), 10);  // it flew

    OptBloodStays = 0;
    OptBloodFly = 8;
    CreateSurface(Field, 300, 300);
    SpawnBlood(150, 150, 30, 90, 4);
    for (int f = 0; f < 20; f++) BloodStep();
    EXPECT_GT(Stained(0, 300), 0);
    EXPECT_EQ(GetPixel(Field, 150, 150), 0);

    OptBloodStays = 8;
    SpawnBlood(150, 150, 30, 90, 4);
    EXPECT_EQ(BloodInFlight(), 0);
}

TEST_F(BloodSnow, ASprayFansEvenlyAroundItsDirectionAndIsTheSameAFullTurnLaterAndInEveryGame) {
    auto stains = [](double direction) {
        CreateSurface(Terain, 300, 300, Grass);
        ResetBlood();
        SpawnBlood(150, 100, 400, direction, 7);
        for (int f = 0; f < 20; f++) BloodStep();
        return Terain.Pixels;
    };
    const auto down = stains(90);
    EXPECT_TRUE(down == stains(90));
    EXPECT_TRUE(down == stains(450));
    EXPECT_TRUE(down == stains(-270));
    EXPECT_GT(Stained(151, 300), Stained(0, 150) * 2 / 3);  // as many left as right
    EXPECT_GT(Stained(0, 150), Stained(151, 300) * 2 / 3);
}

TEST_F(BloodSnow, AFullPoolOverwritesItsOldestDropsAndCountsEachDropOnce) {
    SpawnBlood(150, 150, MaxBlood, 0, 3);
    for (int f = 0; f < 4; f++) BloodStep();  // the shortest-lived drops are one frame from landing
    SpawnBlood(150, 150, MaxBlood, 0, 3);
    EXPECT_EQ(BloodInFlight(), MaxBlood);
    for (int f = 0; f < 25; f++) BloodStep();
    EXPECT_EQ(BloodInFlight(), 0);
}

TEST_F(BloodSnow, TheSnowLevelFollowsTheBulletSpeedExperience) {
    EXPECT_EQ(SnowLevel(), 101);
    Units[0].SpeedXP = -5;  // a hand-edited player file
    EXPECT_EQ(SnowLevel(), 101);
    Units[0].SpeedXP = 101;
    EXPECT_EQ(SnowLevel(), MaxSnow);
    Units[0].SpeedXP = 100;
    SnowStep();
    EXPECT_EQ(SnowFlakes(), MaxSnow);
    Units[0].SpeedXP = 0;  // the level came: the snow thaws
    for (int f = 0; f < 800; f++) SnowStep();
    EXPECT_LE(SnowFlakes(), 101);
    EXPECT_GT(SnowFlakes(), 80);
    float x, y;
    EXPECT_FALSE(SnowFlakeAt(101, x, y));

    OptSnow = 8;
    ResetSnow();
    SnowStep();
    EXPECT_EQ(SnowFlakes(), 0);
}

TEST_F(BloodSnow, AFreshSkyIsFullOfWhiteAndLightGreyFlakesAndNothingSettles) {
    SnowStep();
    int flakes = 0;
    for (int y = 0; y < 300; y++)
        for (int x = 0; x < 300; x++) {
            const int32_t c = GetPixel(Field, x, y);
            if (c == 0) continue;
            flakes++;
            const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
            EXPECT_TRUE(r == g && r >= 200 && b == std::min(255, r + 12)) << r << " " << g << " " << b;
        }
    EXPECT_GT(flakes, 90);  // the 101 of the lowest level, a few on the same pixel
    EXPECT_LE(flakes, 101);
    for (int f = 0; f < 400; f++) SnowStep();
    EXPECT_EQ(Stained(0, 300), 0);
}

TEST_F(BloodSnow, FlakesFallSwayBothWaysInASlowWindAndComeBackFromJustAboveTheTop) {
    // 101 flakes; each frame every one falls 0.4 .. 1.2 and drifts with the
    // common wind plus a sway of its own under 0.15 either way.
    std::vector<float> x(101), y(101);
    SnowStep();
    float lowestEntry = 0, lastWind = 0;
    int left = 0, right = 0;
    for (int f = 2; f <= 400; f++) {
        for (int i = 0; i < 101; i++) ASSERT_TRUE(SnowFlakeAt(i, x[i], y[i]));
        SnowStep();
        double drift = 0;
        for (int i = 0; i < 101; i++) {
            float nx, ny;
            ASSERT_TRUE(SnowFlakeAt(i, nx, ny));
            float dx = nx - x[i];
            if (dx > 150) dx -= 300;  // wrapped round the sides
            if (dx < -150) dx += 300;
            if (ny < y[i]) {  // left the bottom: back from up to 20 above the top
                lowestEntry = std::min(lowestEntry, ny);
                EXPECT_LE(ny, 1.2f);
                continue;
            }
            EXPECT_GE(ny - y[i], 0.4f - 1e-4f);
            EXPECT_LE(ny - y[i], 1.2f + 1e-4f);
            drift += dx;
            if (f == 2) (dx < 0 ? left : right)++;
        }
        const float wind = static_cast<float>(drift / 101);  // the sways about cancel out
        if (f > 2) {
            EXPECT_NEAR(wind, lastWind, 0.03f) << f;  // a slow wind
        }
        if (f == 120) {
            EXPECT_GT(wind, 0.2f);  // blowing by then
        }
        lastWind = wind;
    }
    EXPECT_GT(left, 20);
    EXPECT_GT(right, 20);
    EXPECT_LT(lowestEntry, -10);
}

}  // namespace
