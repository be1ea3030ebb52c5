// Sheep: the top-up, wandering inside the field, fleeing when hit, death.
#include <algorithm>
#include <cstdlib>

#include "battle/Sheep.h"
#include "graphics/WorkWithMemory.h"
#include "support/Battlefield.h"

namespace {

using SheepTest = Battlefield;

TEST_F(SheepTest, TwentyOneAtMostWalkInAndStayOnTheField) {
    for (int k = 0; k < 30; k++) SpawnSheep();
    EXPECT_EQ(SheepCount(), MaxSheep);
    int grazing = 0;
    for (int f = 0; f < 3000; f++) {
        SheepStep();
        for (int i = 0; i < MaxSheep; i++) {
            ASSERT_TRUE(Sheeps[i].X >= -25 && Sheeps[i].X <= 302) << Sheeps[i].X;
            ASSERT_TRUE(Sheeps[i].Y >= -3 && Sheeps[i].Y <= 288) << Sheeps[i].Y;
            // A heading, or -1 while it grazes.
            ASSERT_TRUE(Sheeps[i].Dir >= -1 && Sheeps[i].Dir < 360) << Sheeps[i].Dir;
            grazing += Sheeps[i].Dir == -1;
        }
    }
    EXPECT_GT(grazing, 0);
    for (int i = 0; i < MaxSheep; i++) EXPECT_TRUE(Sheeps[i].X >= -3 && Sheeps[i].X <= 280) << i;
}

TEST_F(SheepTest, ASheepWalksInWithin30DegreesOfStraightIn) {
    int lowest[2] = {360, 360}, highest[2] = {-360, -360};
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        Randomize(seed);
        ResetSheep();
        for (int k = 0; k < MaxSheep; k++) SpawnSheep();
        for (int i = 0; i < MaxSheep; i++) {
            const Sheep& s = Sheeps[i];
            ASSERT_TRUE(s.X == -22 || s.X == 299) << s.X;
            ASSERT_TRUE(s.Dir >= 0 && s.Dir < 360) << s.Dir;
            const int side = s.X < 0 ? 0 : 1;
            const int off = (s.Dir - (side ? 180 : 0) + 540) % 360 - 180;  // from straight in
            lowest[side] = std::min(lowest[side], off);
            highest[side] = std::max(highest[side], off);
        }
    }
    for (int side : {0, 1}) {
        EXPECT_GE(lowest[side], -30);
        EXPECT_LT(lowest[side], -20);
        EXPECT_LE(highest[side], 29);
        EXPECT_GT(highest[side], 20);
    }
}

TEST_F(SheepTest, AtAnEdgeTheHeadingIsMirroredBackIn) {
    struct Case {
        Single X, Y;
        Integer Dir, Mirrored;
    };
    for (Case c : {Case{-1, 150, 225, 315}, Case{-1, 150, 135, 45}, Case{278, 150, 45, 135}, Case{150, -1, 300, 60},
                   Case{150, -1, 240, 120}, Case{150, 285, 60, 300}, Case{-1, -1, 225, 45}, Case{-1, 150, 300, 300}}) {
        ResetSheep();
        SpawnSheep();
        Sheep& s = Sheeps[0];
        s.X = c.X;
        s.Y = c.Y;
        s.Dir = c.Dir;
        s.Timer = 100;
        SheepStep();
        EXPECT_EQ(s.Dir, c.Mirrored) << c.X << ", " << c.Y << " heading " << c.Dir;
    }
}

TEST_F(SheepTest, AHitSheepRunsFromThePlayerThenCalmsDown) {
    SpawnSheep();
    Sheep& s = Sheeps[0];
    s.X = 180;
    s.Y = 140;
    s.Speed += 4;  // as the bullets step does
    s.Health -= 40;
    for (int f = 0; f < 30; f++) {
        // Straight away from the player, give or take 20 degrees.
        const Integer away = DirectionAndDistance(150, 150, s.X + 11, s.Y + 11);
        SheepStep();
        ASSERT_LE(std::abs((s.Dir - away + 540) % 360 - 180), 20) << f;
    }
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
