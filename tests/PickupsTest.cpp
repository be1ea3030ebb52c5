// Health packs and crates: where they land, what the units pass sees, a full table.
#include <utility>
#include <vector>

#include "graphics/WorkWithMemory.h"
#include "opponents/Pickups.h"
#include "support/Battlefield.h"

namespace {

using PickupDrops = Battlefield;

TEST_F(PickupDrops, DropsLieOnTheDeadUnitWhereTheUnitsPassTakesThem) {
    CreateSurface(Health, 7 * HealthCells, 7, RGB(0, 200, 0));
    CreateSurface(Ammo, 9 * AmmoCells, 7, RGB(200, 200, 0));
    SpawnHealthPack(100, 120);  // a unit dead with its top-left at (100, 120)
    SpawnCrate(100, 120, 12);
    ASSERT_EQ(HealthPackActive[0] & CrateActive[0], -1);
    EXPECT_EQ(CrateBullets[0], 12);
    EXPECT_EQ(std::pair(HealthPackX[0], HealthPackY[0]), std::pair(102.0f, 127.0f));  // the left half
    EXPECT_EQ(std::pair(CrateX[0], CrateY[0]), std::pair(110.0f, 127.0f));            // the right half
    // One standing in its place is within the units pass's reach of both.
    DirectionAndDistance(110, 130, HealthPackX[0] + 3, HealthPackY[0] + 3);
    EXPECT_LT(LastDistance, 10);
    DirectionAndDistance(110, 130, CrateX[0] + 4, CrateY[0] + 3);
    EXPECT_LE(LastDistance, 11);
    HealthPickupsStep();
    AmmoPickupsStep();
    EXPECT_EQ(GetPixel(Field, Whole(HealthPackX[0]) + 3, Whole(HealthPackY[0]) + 3), RGB(0, 200, 0));
    EXPECT_EQ(GetPixel(Field, Whole(CrateX[0]) + 4, Whole(CrateY[0]) + 3), RGB(200, 200, 0));
}

TEST_F(PickupDrops, AFullTableReplacesTheOldestDropAndDropsStayOnTheField) {
    for (int k = 0; k < 10; k++) SpawnCrate(k * 20, 0, k + 1);
    CrateActive[4] = 0;  // taken meanwhile: its slot is reused first
    SpawnCrate(0, 200, 50);
    EXPECT_EQ(CrateBullets[4], 50);
    SpawnCrate(0, 250, 60);  // full: the oldest (the first, 1 bullet) goes
    EXPECT_EQ(CrateBullets[0], 60);
    SpawnCrate(50, 50, 0);  // nothing to carry: no crate
    EXPECT_EQ(CrateBullets[1], 2);
    SpawnHealthPack(-20, 310);  // killed while still entering
    EXPECT_EQ(HealthPackX[0], 0);
    EXPECT_LE(HealthPackY[0], 293);
    // Pressed into the bottom-right corner: the pack 7 x 7, the crate 9 x 7.
    SpawnHealthPack(300, 300);
    SpawnCrate(300, 300, 5);
    EXPECT_EQ(HealthPackX[1], 293);
    EXPECT_EQ(HealthPackY[1], 293);
    EXPECT_EQ(CrateX[1], 291);  // over the oldest crate
    EXPECT_EQ(CrateY[1], 293);
}

TEST_F(PickupDrops, EachPackGlintsAtItsOwnPhaseFromTheFirstFrameOfAGame) {
    CreateSurface(Health, 7 * HealthCells, 7);
    for (int k = 0; k < HealthCells; k++)
        for (int y = 0; y < 7; y++)
            for (int x = 0; x < 7; x++) SetPixel(Health, 7 * k + x, y, RGB(10 + k, 0, 0));
    for (int f = 0; f < 5; f++) HealthPickupsStep();  // the game before
    ResetPickups();
    SpawnHealthPack(100, 100);
    SpawnHealthPack(200, 100);
    auto cell = [](int j) { return (GetPixel(Field, Whole(HealthPackX[j]) + 3, Whole(HealthPackY[j]) + 3) & 0xFF) - 10; };
    std::vector<std::pair<int, int>> seen;
    for (int f = 1; f <= 6; f++) {
        HealthPickupsStep();
        seen.emplace_back(cell(0), cell(1));
    }
    // A cell for six frames; the second pack three cells on.
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 3}, {0, 3}, {0, 3}, {0, 3}, {0, 3}, {1, 0}}));
    FreeSurface(Health);
}

}  // namespace
