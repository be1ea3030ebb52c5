// Sheep: the top-up, wandering inside the field, fleeing when hit, death.
#include <gtest/gtest.h>

#include "battle/Sheep.h"
#include "battle/StatusBar.h"
#include "graphics/WorkWithMemory.h"
#include "shell/GameState.h"

namespace {

struct SheepFixture : ::testing::Test {
    void SetUp() override {
        ResetGameState();
        ResetBattlefield();
        Randomize(7);
        CreateSurface(Field, 300, 300);
        CreateSurface(Terain, 300, 300, RGB(0, 90, 0));
        CreateSurface(OvcaDead, 17, 32, RGB(255, 255, 255));  // image white, mask white
        FillRect(OvcaDead, 0, 16, 17, 16, 0);                 // mask black: opaque
        Units[0].Active = -1;
        Units[0].X = Units[0].Y = 140;
    }
    static void FillRect(Surface& s, int x, int y, int w, int h, COLORREF c) {
        for (int j = y; j < y + h; j++)
            for (int i = x; i < x + w; i++) SetPixel(s, i, j, c);
    }
};

TEST_F(SheepFixture, SpawnFillsTheTwentyOneSlotsAndNoMore) {
    for (int k = 0; k < 30; k++) SpawnSheep();
    EXPECT_EQ(SheepCount(), MaxSheep);
    EXPECT_EQ(Sheeps[MaxSheep].Active, 0);
    EXPECT_EQ(Sheeps[0].Health, 100);
}

TEST_F(SheepFixture, SheepWalkInAndStayOnTheField) {
    for (int k = 0; k < 21; k++) SpawnSheep();
    for (int f = 0; f < 3000; f++) {
        SheepStep();
        for (int i = 0; i < MaxSheep; i++) {
            ASSERT_GE(Sheeps[i].X, -25);
            ASSERT_LE(Sheeps[i].X, 302);
            ASSERT_GE(Sheeps[i].Y, -3);
            ASSERT_LE(Sheeps[i].Y, 288);
        }
    }
    for (int i = 0; i < MaxSheep; i++) EXPECT_TRUE(Sheeps[i].X >= -3 && Sheeps[i].X <= 280) << i;
}

TEST_F(SheepFixture, AHitSheepRunsFromThePlayerThenCalmsDown) {
    SpawnSheep();
    Sheep& s = Sheeps[0];
    s.X = 180;
    s.Y = 140;
    s.Speed += 4;  // as the bullets step does
    s.Health -= 40;
    DirectionAndDistance(150, 150, s.X + 11, s.Y + 11);
    int before = LastDistance;
    for (int f = 0; f < 30; f++) SheepStep();
    DirectionAndDistance(150, 150, s.X + 11, s.Y + 11);
    EXPECT_GT(LastDistance, before + 10);
    for (int f = 0; f < 200; f++) SheepStep();
    EXPECT_EQ(s.Speed, 3);
}

TEST_F(SheepFixture, DeathLeavesABodyOnlyWhenBloodStays) {
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
    EXPECT_EQ(GetPixel(Terain, 110, 208), RGB(0, 90, 0));
    SheepDeathCheck(500);  // out of range: nothing happens
}

}  // namespace
