// The status bar, SkillScore, kills in a row, the score line, the indicators
// and the reset of a new game.
#include <gtest/gtest.h>

#include "battle/Acid.h"
#include "battle/Blood.h"
#include "battle/Sheep.h"
#include "battle/StatusBar.h"
#include "graphics/WorkWithMemory.h"
#include "opponents/AirPlane.h"
#include "opponents/Pickups.h"
#include "platform/Clock.h"
#include "scores/TopScoreList.h"
#include "shell/GameState.h"

namespace {

struct Status : ::testing::Test {
    void SetUp() override {
        ResetGameState();
        ResetBattlefield();
        UseTestClock(true, 100000);
        CreateSurface(Field, 300, 300);
        Unit& p = Units[0];
        p.Active = -1;
        p.Spread = 30;
        p.Recharge = 15;
        p.BulletSpeed = 3;
        p.Melee = 0;
        p.Health = 90;
    }
    void TearDown() override { UseTestClock(false); }
};

TEST_F(Status, SkillScoreRewardsKillsSurvivalAndSkills) {
    DrawStatusBar();
    EXPECT_EQ(SkillScore, 0);  // a fresh recruit at second 0

    Unit& p = Units[0];
    p.Spread = 21;      // 3 steps
    p.Recharge = 13;    // 2 steps
    p.BulletSpeed = 5;  // 2 steps
    p.Melee = 1;        // 1 step
    p.AccuracyXP = 40;
    p.RechargeXP = 20;
    p.SpeedXP = 30;
    p.MeleeXP = 10;
    Kills = 12;
    GameMinutes = 4;
    GameSeconds = 31;
    BonusScore = 15;
    HitScore = 7;
    DrawStatusBar();
    // 120 kills + 135 time + 8 x 25 steps + 100 / 4 + 15 bonus
    EXPECT_EQ(SkillScore, 120 + 135 + 200 + 25 + 15);
    p.Spread = -3;  // eleven steps is the most
    EXPECT_EQ(SkillSteps(p, 0), 11);
}

TEST_F(Status, TheBarsShowHealthAmmunitionAndSkills) {
    CreateSurface(StatusField, 300, 78, RGB(1, 1, 1));
    SetStatusBackground();
    for (Surface* s : {&StatusHealth, &StatusAmmo}) {
        CreateSurface(*s, 300, 20, RGB(10, 10, 10));
        for (int y = 10; y < 20; y++)
            for (int x = 0; x < 300; x++) SetPixel(*s, x, y, RGB(250, 0, 0));
    }
    CreateSurface(StatusMelee, 300, 20, RGB(10, 10, 10));
    for (int x = 0; x < 300; x++) {
        for (int y = 10; y < 17; y++) SetPixel(StatusMelee, x, y, RGB(0, 250, 0));
        for (int y = 18; y < 20; y++) SetPixel(StatusMelee, x, y, RGB(0, 0, 250));
    }
    Units[0].Health = 45;  // half of 90
    Units[0].Ammo = 30;    // all of (16 - 15) x 30
    Units[0].Melee = 11;
    Units[0].MeleeXP = 50;
    DrawStatusBar();
    EXPECT_EQ(GetPixel(StatusField, 148, 5), RGB(250, 0, 0));
    EXPECT_EQ(GetPixel(StatusField, 152, 5), RGB(10, 10, 10));
    EXPECT_EQ(GetPixel(StatusField, 298, 15), RGB(250, 0, 0));
    EXPECT_EQ(GetPixel(StatusField, 298, 58), RGB(0, 250, 0));
    EXPECT_EQ(GetPixel(StatusField, 148, 63), RGB(0, 0, 250));
    EXPECT_EQ(GetPixel(StatusField, 152, 63), RGB(10, 10, 10));
    EXPECT_EQ(GetPixel(StatusField, 150, 75), RGB(1, 1, 1));  // background kept

    Units[0].Health = 0;  // redrawn from the background, not over the old bar
    DrawStatusBar();
    EXPECT_EQ(GetPixel(StatusField, 10, 5), RGB(10, 10, 10));
}

TEST_F(Status, KillsInARowWithinThreeSecondsEarnABonus) {
    KillEvent();
    EXPECT_EQ(KillsInRow(), 1);
    AdvanceTestClock(2900);
    KillEvent();
    AdvanceTestClock(1000);
    KillEvent();
    EXPECT_EQ(KillsInRow(), 3);
    EXPECT_EQ(BonusScore, 5 + 10);
    AdvanceTestClock(3100);
    KillEvent();
    EXPECT_EQ(KillsInRow(), 1);
    EXPECT_EQ(BonusScore, 15);

    OptKillsInRow = 8;
    KillEvent();
    EXPECT_EQ(BonusScore, 15);
}

TEST_F(Status, TheScoreLineNamesThePlaceAhead) {
    for (int i = 0; i < 10; i++) TopScores[i].Score = "   " + StrInt(1000 - i * 100) + "  ";
    HitScore = 450;
    UnitDied = -1;
    ScoreInfoLine();
    EXPECT_EQ(ScoreLine(), "Score: 450   Ahead: #6  500");
    EXPECT_EQ(UnitDied, 0);
    HitScore = 2000;
    UnitDied = -1;
    ScoreInfoLine();
    EXPECT_EQ(ScoreLine(), "Score: 2000   Top of the table!");
    for (auto& r : TopScores) r = ScoreRecord{};
}

TEST_F(Status, TheBombIconShowsOnlyWhenABombIsPaidFor) {
    CreateSurface(BombIcon, 60, 30, RGB(0, 0, 200));
    for (int y = 0; y < 30; y++)
        for (int x = 30; x < 60; x++) SetPixel(BombIcon, x, y, 0);
    Units[0].Ammo = 14;
    FireModeIndicator();
    EXPECT_EQ(GetPixel(Field, 290, 295), 0);
    Units[0].Ammo = 15;
    FireModeIndicator();
    EXPECT_EQ(GetPixel(Field, 290, 295), RGB(0, 0, 200));
}

TEST_F(Status, OptionsOffSilenceTheirEffects) {
    OptScoreInfo = 8;
    OptBloodFly = 8;
    CreateSurface(Layer, 298, 13, RGB(9, 9, 9));
    ScoreInfoLine();
    for (int k = 0; k < 300; k++) MenuEffects();
    EXPECT_EQ(GetPixel(Field, 10, 8), 0);
    EXPECT_EQ(MenuBloodDrops(), 0);
    OptBloodFly = 0;
    for (int k = 0; k < 300; k++) {
        CursorX = k;
        MenuEffects();
    }
    EXPECT_GT(MenuBloodDrops(), 0);
}

TEST_F(Status, ANewGameClearsTheBattlefield) {
    SpawnHealthPack(10, 10);
    SpawnCrate(10, 10, 5);
    SpawnAcid(10, 10);
    SpawnSheep();
    SpawnBlood(10, 10, 20, 0, 3);
    BoostTimers[2] = 50;
    StartExplosion(100, 100);
    Units[0].Ammo = 20;
    AirPlaneAndBombs(0, -1, 0, 0);
    KillEvent();
    KillEvent();
    ResetBattlefield();
    EXPECT_EQ(HealthPackActive[0], 0);
    EXPECT_EQ(CrateActive[0], 0);
    EXPECT_EQ(AcidActive[0], 0);
    EXPECT_EQ(SheepCount(), 0);
    EXPECT_EQ(BloodInFlight(), 0);
    EXPECT_EQ(BoostTimers[2], 0);
    EXPECT_EQ(ExplosionsRunning(), 0);
    EXPECT_EQ(AirPlaneActive, 0);
    EXPECT_EQ(ShakeActive, 0);
    EXPECT_EQ(KillsInRow(), 0);
    EXPECT_EQ(BonusScore, 0);
}

}  // namespace
