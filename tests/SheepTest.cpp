// Sheep: the top-up, wandering inside the field, fleeing when hit, death.
#include "battle/Sheep.h"
#include "graphics/WorkWithMemory.h"
#include "support/Battlefield.h"

namespace {

using SheepTest = Battlefield;

TEST_F(SheepTest, TwentyOneAtMostWalkInAndStayOnTheField) {
    for (int k = 0; k < 30; k++) SpawnSheep();
    EXPECT_EQ(SheepCount(), MaxSheep);
    for (int f = 0; f < 3000; f++) {
        SheepStep();
        for (int i = 0; i < MaxSheep; i++) {
            ASSERT_TRUE(Sheeps[i].X >= -25 && Sheeps[i].X <= 302) << Sheeps[i].X;
            ASSERT_TRUE(Sheeps[i].Y >= -3 && Sheeps[i].Y <= 288) << Sheeps[i].Y;
        }
    }
    for (int i = 0; i < MaxSheep; i++) EXPECT_TRUE(Sheeps[i].X >= -3 && Sheeps[i].X <= 280) << i;
}

TEST_F(SheepTest, AHitSheepRunsFromThePlayerThenCalmsDown) {
    SpawnSheep();
    Sheep& s = Sheeps[0];
    s.X = 180;
    s.Y = 140;
    s.Speed += 4;  // as the bullets step does
    s.Health -= 40;
    for (int f = 0; f < 30; f++) SheepStep();
    DirectionAndDistance(150, 150, s.X + 11, s.Y + 11);
    EXPECT_GT(LastDistance, 51);  // from 41
    for (int f = 0; f < 200; f++) SheepStep();
    EXPECT_EQ(s.Speed, 3);
}

TEST_F(SheepTest, DeathLeavesABodyOnlyWhenBloodStays) {
    Sprite(OvcaDead, 17, 16, RGB(255, 255, 255), 0, 16);
    SpawnSheep();
    SpawnSheep();
    Sheeps[0].X = Sheeps[1].X = 100;
    Sheeps[0].Y = 50;
    Sheeps[1].Y = 200;
    Sheeps[0].Health = 1;
    SheepDeathCheck(0);  // still alive at 1
    EXPECT_EQ(Sheeps[0].Active, -1);
    Sheeps[0].Health = 0;
    SheepDeathCheck(0);
    EXPECT_EQ(Sheeps[0].Active, 0);
    EXPECT_EQ(GetPixel(Terain, 110, 58), RGB(255, 255, 255));

    OptBloodStays = 8;
    Sheeps[1].Health = -20;
    SheepDeathCheck(1);
    EXPECT_EQ(Sheeps[1].Active, 0);
    EXPECT_EQ(GetPixel(Terain, 110, 208), Grass);
}

}  // namespace
