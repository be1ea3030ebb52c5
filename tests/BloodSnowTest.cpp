// Blood drops and snow: their options, where blood lands, the snow level.
#include <algorithm>
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

TEST_F(BloodSnow, EachBloodOptionOffDoesItsPartOnlyAndBothOffKeepNothing) {
    OptBloodStays = 8;
    SpawnBlood(150, 150, 30, 90, 4);
    for (int f = 0; f < 20; f++) BloodStep();
    EXPECT_EQ(Stained(0, 300), 0);

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

TEST_F(BloodSnow, TheSnowLevelFollowsTheBulletSpeedExperience) {
    EXPECT_EQ(SnowLevel(), 101);
    Units[0].SpeedXP = 100;
    SnowStep();
    EXPECT_EQ(SnowFlakes(), MaxSnow);
    Units[0].SpeedXP = 0;  // the level came: the snow thaws
    for (int f = 0; f < 800; f++) SnowStep();
    EXPECT_LE(SnowFlakes(), 101);
    EXPECT_GT(SnowFlakes(), 80);

    OptSnow = 8;
    ResetSnow();
    SnowStep();
    EXPECT_EQ(SnowFlakes(), 0);
}

}  // namespace
