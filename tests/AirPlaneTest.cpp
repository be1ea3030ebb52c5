// The bomb order, the plane's flights and the explosions.
#include <gtest/gtest.h>

#include "battle/Sheep.h"
#include "battle/StatusBar.h"
#include "graphics/WorkWithMemory.h"
#include "opponents/AirPlane.h"
#include "shell/GameState.h"

namespace {

constexpr COLORREF Grass = RGB(0, 90, 0);
constexpr COLORREF Crater = RGB(60, 40, 20);

struct Bombs : ::testing::Test {
    void SetUp() override {
        ResetGameState();
        ResetBattlefield();
        Randomize(5);
        CreateSurface(Field, 300, 300);
        CreateSurface(Terain, 300, 300, Grass);
        CreateSurface(BoomDirt, 128, 64, Crater);  // mask half black: fully opaque
        for (int y = 0; y < 64; y++)
            for (int x = 64; x < 128; x++) SetPixel(BoomDirt, x, y, 0);
        CreateSurface(AirPlane, 80, 40, RGB(200, 200, 255));
        for (int y = 0; y < 40; y++)
            for (int x = 40; x < 80; x++) SetPixel(AirPlane, x, y, 0);
        Units[0].Active = -1;
        Units[0].X = Units[0].Y = 20;
        Units[0].Health = 90;
    }
    static int FramesUntilExplosion() {
        for (int f = 1; f < 200; f++) {
            AirPlaneAndBombs(-1, 0, 0, 0);
            if (ExplosionsRunning()) return f;
        }
        return -1;
    }
};

TEST_F(Bombs, ABombCostsFifteenBulletsAndIsRefusedBelowFifteen) {
    Units[0].Ammo = 14;
    AirPlaneAndBombs(0, -1, 0, 0);
    EXPECT_EQ(Units[0].Ammo, 14);
    EXPECT_EQ(AirPlaneActive, 0);

    Units[0].Ammo = 31;
    AirPlaneAndBombs(0, -1, 0, 0);
    AirPlaneAndBombs(0, -1, 0, 0);
    EXPECT_EQ(Units[0].Ammo, 1);
    EXPECT_EQ(AirPlaneActive, -1);
    EXPECT_EQ(BombRunsWaiting(), 1);  // the second run waits for the first
}

TEST_F(Bombs, TheBombExplodesAtTheOrderedPointAndHurtsWhatIsNear) {
    Units[0].Ammo = 15;
    CursorX = 200;
    CursorY = 100;
    Units[1].Active = -1;  // an opponent right on the target
    Units[1].X = 190;
    Units[1].Y = 90;
    Units[1].Health = 500;
    Units[2].Active = -1;  // one well away
    Units[2].X = 100;
    Units[2].Y = 200;
    Units[2].Health = 500;
    SpawnSheep();
    Sheeps[0].X = 185;
    Sheeps[0].Y = 95;
    Sheeps[0].Health = 50;
    AirPlaneAndBombs(0, -1, 0, 0);
    ASSERT_GT(FramesUntilExplosion(), 0);
    for (int f = 0; f < 27; f++) ExplosionsStep();
    EXPECT_EQ(GetPixel(Terain, 200, 100), Crater);
    EXPECT_EQ(GetPixel(Terain, 200, 140), Grass);
    EXPECT_NEAR(Units[1].Health, 410, 1);
    EXPECT_FLOAT_EQ(Units[2].Health, 500);
    EXPECT_FLOAT_EQ(Units[0].Health, 90);
    EXPECT_EQ(Sheeps[0].Active, 0);
    for (int f = 0; f < 100; f++) AirPlaneAndBombs(-1, 0, 0, 0);
    EXPECT_EQ(AirPlaneActive, 0);
}

TEST_F(Bombs, TheCraterIsStampedOnceAtFrameEightAndTheBlastEndsAfterFrame26) {
    StartExplosion(150, 150);
    for (int f = 0; f < 8; f++) {
        ExplosionsStep();
        EXPECT_EQ(ShakeActive, -1);
    }
    EXPECT_EQ(GetPixel(Terain, 150, 150), Grass);
    ExplosionsStep();  // frame 8
    EXPECT_EQ(GetPixel(Terain, 150, 150), Crater);
    CreateSurface(Terain, 300, 300, Grass);
    for (int f = 9; f <= 26; f++) {
        EXPECT_EQ(ExplosionsRunning(), 1) << f;
        ExplosionsStep();
    }
    EXPECT_EQ(ExplosionsRunning(), 0);
    EXPECT_EQ(ShakeActive, 0);
    EXPECT_EQ(GetPixel(Terain, 150, 150), Grass);
}

TEST_F(Bombs, TheWaveFlightCrossesFromTheLeftWithoutBombs) {
    AirPlaneAndBombs(0, 0, 0, -1);
    EXPECT_EQ(AirPlaneActive, -1);
    AirPlaneAndBombs(-1, 0, 0, 0);
    EXPECT_EQ(GetPixel(Field, 25, 155), RGB(200, 200, 255));
    for (int f = 0; f < 100; f++) AirPlaneAndBombs(-1, 0, 0, 0);
    EXPECT_EQ(AirPlaneActive, 0);
    EXPECT_EQ(ExplosionsRunning(), 0);
}

}  // namespace
