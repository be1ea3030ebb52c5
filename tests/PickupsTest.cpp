// Health packs and crates: where they land, what the units pass sees, a full table.
#include <gtest/gtest.h>

#include "battle/StatusBar.h"
#include "graphics/WorkWithMemory.h"
#include "opponents/Pickups.h"
#include "shell/GameState.h"

namespace {

struct Pickups : ::testing::Test {
    void SetUp() override {
        ResetGameState();
        ResetBattlefield();
        CreateSurface(Field, 300, 300, RGB(0, 0, 0));
        CreateSurface(Health, 7 * HealthCells, 7, RGB(0, 200, 0));
        CreateSurface(Ammo, 9 * AmmoCells, 7, RGB(200, 200, 0));
    }
};

TEST_F(Pickups, DropsLieOnTheDeadUnitWhereTheUnitsPassTakesThem) {
    // A unit dead with its top-left at (100, 120): one standing in its place
    // is within the units pass's reach of both drops.
    SpawnHealthPack(100, 120);
    SpawnCrate(100, 120, 12);
    ASSERT_EQ(HealthPackActive[0], -1);
    ASSERT_EQ(CrateActive[0], -1);
    EXPECT_EQ(CrateBullets[0], 12);
    DirectionAndDistance(110, 130, HealthPackX[0] + 3, HealthPackY[0] + 3);
    EXPECT_LT(LastDistance, 10);
    DirectionAndDistance(110, 130, CrateX[0] + 4, CrateY[0] + 3);
    EXPECT_LE(LastDistance, 11);

    HealthPickupsStep();
    AmmoPickupsStep();
    EXPECT_EQ(GetPixel(Field, Whole(HealthPackX[0]) + 3, Whole(HealthPackY[0]) + 3), RGB(0, 200, 0));
    EXPECT_EQ(GetPixel(Field, Whole(CrateX[0]) + 4, Whole(CrateY[0]) + 3), RGB(200, 200, 0));
}

TEST_F(Pickups, DropsOffTheFieldAreMovedOntoItAndEmptyCratesAreNotDropped) {
    SpawnHealthPack(-20, 310);
    EXPECT_GE(HealthPackX[0], 0);
    EXPECT_LE(HealthPackY[0], 293);
    SpawnCrate(50, 50, 0);
    for (int j = 0; j < 10; j++) EXPECT_EQ(CrateActive[j], 0);
}

TEST_F(Pickups, AFullTableReplacesTheOldestDrop) {
    for (int k = 0; k < 10; k++) SpawnCrate(k * 20, 0, k + 1);
    CrateActive[4] = 0;  // taken meanwhile: its slot is reused first
    SpawnCrate(0, 200, 50);
    EXPECT_EQ(CrateBullets[4], 50);
    SpawnCrate(0, 250, 60);  // full: the oldest (the first, 1 bullet) goes
    EXPECT_EQ(CrateBullets[0], 60);
    int sum = 0;
    for (int j = 0; j < 10; j++) sum += CrateActive[j] == -1 ? CrateBullets[j] : 0;
    EXPECT_EQ(sum, 2 + 3 + 4 + 6 + 7 + 8 + 9 + 10 + 50 + 60);
}

}  // namespace
