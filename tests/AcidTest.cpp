// Drugs: drops, taking them, each effect's start, length and end, the heart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "battle/Acid.h"
#include "battle/StatusBar.h"
#include "graphics/WorkWithMemory.h"
#include "input/PlayerControl.h"
#include "shell/GameState.h"

namespace {

struct AcidFixture : ::testing::Test {
    void SetUp() override {
        ResetGameState();
        ResetBattlefield();
        Randomize(3);
        CreateSurface(Field, 300, 300);
        CreateSurface(AcidHearth, 90, 60, RGB(255, 0, 0));
        for (int y = 30; y < 60; y++)
            for (int x = 0; x < 90; x++) SetPixel(AcidHearth, x, y, 0);
        Unit& p = Units[0];
        p.Active = -1;
        p.X = p.Y = 200;
        p.BulletSpeed = 3;
        p.Health = 50;
        p.Spread = 30;
    }
    // A drop of the kind at the player's feet, taken in one step.
    static void Take(int kind) {
        SpawnAcid(Units[0].X, Units[0].Y);
        for (int j = 0; j < 5; j++)
            if (AcidActive[j] == -1) AcidKind[j] = static_cast<Integer>(kind);
        AcidStep();
    }
};

TEST_F(AcidFixture, ADropIsTakenByWalkingOverItAndItsEffectLastsItsTime) {
    SpawnAcid(20, 20);  // far from the player
    AcidStep();
    EXPECT_EQ(AcidActive[0], -1);
    Units[0].X = 17;
    Units[0].Y = 14;
    AcidKind[0] = 2;
    AcidStep();
    EXPECT_EQ(AcidActive[0], 0);
    EXPECT_EQ(BoostTimers[2], AcidDuration[2] - 1);
    for (int f = 1; f < AcidDuration[2]; f++) AcidStep();
    EXPECT_EQ(BoostTimers[2], 0);
    EXPECT_FLOAT_EQ(Units[0].Health, 90);  // mended up to full, no further
    for (int k = 0; k < 4; k++) EXPECT_EQ(BoostTimers[k], 0);
}

TEST_F(AcidFixture, RushDoublesTheRechargeAndBaneStopsAtTen) {
    Take(1);
    Units[0].FireCooldown = 10;
    AcidStep();
    EXPECT_EQ(Units[0].FireCooldown, 9);  // plus the units pass's own count-down
    Units[0].Health = 12;
    Take(3);
    for (int f = 0; f < AcidDuration[3]; f++) AcidStep();
    EXPECT_FLOAT_EQ(Units[0].Health, 10);
    EXPECT_EQ(BoostTimers[3], 0);
}

TEST_F(AcidFixture, TheHeartShowsWhileAnEffectLastsBesideTheBombIcon) {
    Units[0].Ammo = 0;
    Take(1);
    EXPECT_EQ(GetPixel(Field, 285, 285), RGB(255, 0, 0));
    CreateSurface(Field, 300, 300);
    Units[0].Ammo = 30;  // the bomb icon takes (270, 270)
    AcidStep();
    EXPECT_EQ(GetPixel(Field, 255, 285), RGB(255, 0, 0));
    BoostTimers[1] = 1;
    AcidStep();
    CreateSurface(Field, 300, 300);
    AcidStep();
    EXPECT_EQ(GetPixel(Field, 255, 285), 0);
}

TEST_F(AcidFixture, FiveDropsAtMostTheSixthReplacesTheOldest) {
    for (int k = 0; k < 5; k++) SpawnAcid(k * 30, 0);
    SpawnAcid(0, 250);
    int active = 0;
    for (int j = 0; j < 5; j++) active += AcidActive[j] == -1;
    EXPECT_EQ(active, 5);
    EXPECT_FLOAT_EQ(AcidY[0], 251);
}

TEST_F(AcidFixture, TheShakesWidenATrainedPlayersShots) {
    Unit& p = Units[0];
    p.Spread = 0;
    p.Facing = 90;
    p.BulletRange = 60;
    FireBullet(0);
    if (Bullets[1].Life < 1) GTEST_SKIP() << "FireBullet is not built in this tree yet";
    auto widest = [] {
        float w = 0;
        for (int b = 1; b <= MaxBullet; b++) {
            if (Bullets[b].Life > 0) w = std::max(w, std::abs(Bullets[b].Angle - 90));
            Bullets[b] = Bullet{};
        }
        return w;
    };
    for (int k = 1; k < 100; k++) FireBullet(0);
    EXPECT_LT(widest(), 1.0f);
    BoostTimers[0] = AcidDuration[0];
    for (int k = 0; k < 100; k++) FireBullet(0);
    float w = widest();
    EXPECT_GT(w, 8.0f);
    EXPECT_LE(w, 15.0f);
}

}  // namespace
