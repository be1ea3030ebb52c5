// Starting a game: everything per game reset, the player built from "DEFAULT".
#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/Window.h"
#include "shell/GameState.h"
#include "shell/NewGame.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"
#include "support/UnitFiles.h"

namespace {
class NewGameTest : public ::testing::Test {
protected:
    TempGameDir Dir;
    void SetUp() override {
        ResetGameState();
        SetTestDate({2026, 3, 7});
        CreateSurface(Terain, 300, 300, RGB(1, 2, 3));
    }
    void TearDown() override { SetTestDate({0, 0, 0}); }
};
}  // namespace

TEST_F(NewGameTest, ClearsThePreviousGameAndBuildsThePlayer) {
    Dir.Write("OtherFiles/DEFAULT.txt", OddDefaultFile());
    // Leftovers of a game that was paused.
    GameRunning = -1;
    GamePaused = -1;
    MouseLeft = -1;
    SeparationOff = -1;
    for (auto& u : Units) u.Active = -1;
    Units[0].SpeedXP = Units[0].AccuracyXP = Units[0].RechargeXP = Units[0].Reserved2 = Units[0].MeleeXP = 9;
    for (auto& b : Bullets) b.Life = 30;
    for (auto& s : Sheeps) s.Active = -1;
    for (int i = 0; i < 10; i++) CrateActive[i] = HealthPackActive[i] = -1;
    for (int i = 0; i < 5; i++) {
        AcidActive[i] = -1;
        BoostTimers[i] = 40;
    }
    HitScore = 5;
    Kills = 6;
    BonusScore = 7;
    GameMinutes = 3;
    GameSeconds = 4;
    FireMode = 3;
    BugerActive = AirPlaneActive = ShakeActive = -1;
    WaveLeft = 3;  // a game left in the middle of a wave
    WavePending = -1;
    WaveSize = 5;
    WaveTimer = 40;
    HitHistory[9] = 1;  // the last game's training and marks
    HitsInHistory = 3;
    StepCount[7] = LastStepMark[7] = 5;
    CrateBullets[2] = 4;
    HealthPackX[1] = CrateY[1] = BugerX = 3;

    LoadProbeSounds({22, 26});
    MixerPlay(SoundBuffer(26), true);  // the menu music
    MixerSetPan(SoundBuffer(22), -555);

    NewGame();
    // The menu music gives way to the battle music, in the middle.
    EXPECT_FALSE(Playing(26));
    EXPECT_TRUE(Playing(22));
    EXPECT_EQ(MixerGetPan(SoundBuffer(22)), 429);
    StopAllProbeSounds({22, 26});
    EXPECT_EQ(HitHistory[9] + HitsInHistory + StepCount[7] + LastStepMark[7] + CrateBullets[2], 0);
    EXPECT_EQ(HealthPackX[1] + CrateY[1] + BugerX, 0);
    EXPECT_EQ(WaveLeft | WavePending | WaveSize | WaveTimer, 0);

    EXPECT_EQ(GameRunning, -1);
    EXPECT_EQ(GamePaused, 0);
    EXPECT_EQ(MouseLeft, 0);
    EXPECT_EQ(SeparationOff, 0);
    const Unit& p = Units[0];
    EXPECT_EQ(p.Active, -1);
    EXPECT_EQ(p.UnitName, "Rookie");  // the one value taken from the file
    EXPECT_EQ(p.Facing, 270);
    EXPECT_EQ(p.X, 140);
    EXPECT_EQ(p.Y, 140);
    EXPECT_EQ(p.Ammo, 20);
    EXPECT_EQ(p.Speed, 10);
    EXPECT_EQ(p.Health, 100);
    EXPECT_EQ(p.Spread, 30);
    EXPECT_EQ(p.Melee, 0);
    EXPECT_EQ(p.BulletSpeed, 3);
    EXPECT_EQ(p.BulletRange, 60);
    EXPECT_EQ(p.Recharge, 15);
    EXPECT_EQ(p.SpeedXP + p.AccuracyXP + p.RechargeXP + p.Reserved2 + p.MeleeXP, 0);
    EXPECT_EQ(p.GameDate, "20260307");
    for (int i = 1; i <= MaxUnit; i++) EXPECT_EQ(Units[i].Active, 0) << i;
    for (const auto& b : Bullets) EXPECT_EQ(b.Life, 0);
    for (const auto& s : Sheeps) EXPECT_EQ(s.Active, 0);
    for (int i = 0; i < 10; i++) EXPECT_EQ(CrateActive[i] | HealthPackActive[i], 0);
    for (int i = 0; i < 5; i++) EXPECT_EQ(AcidActive[i] | BoostTimers[i], 0);
    EXPECT_EQ(HitScore | Kills | GameMinutes | GameSeconds, 0);
    EXPECT_EQ(BonusScore, 0);
    EXPECT_EQ(FireMode, 1);
    EXPECT_EQ(BugerActive | AirPlaneActive | ShakeActive, 0);
}

TEST_F(NewGameTest, WithoutThePlayerFileTheGameDoesNotStart) {
    const int boxes = TestMessageBoxCount();
    NewGame();
    EXPECT_EQ(GameRunning, 0);
    EXPECT_EQ(Units[0].Active, 0);
    EXPECT_EQ(TestMessageBoxCount(), boxes + 1);
    EXPECT_NE(TestLastMessageBoxText().find("DEFAULT"), std::string::npos);

    // A paused game is left exactly as it was.
    GameRunning = -1;
    GamePaused = -1;
    Units[0].Active = -1;
    Units[0].X = 77;
    Units[3].Active = -1;
    Kills = 4;
    NewGame();
    EXPECT_EQ(GameRunning, -1);
    EXPECT_EQ(GamePaused, -1);
    EXPECT_EQ(Units[0].Active, -1);
    EXPECT_EQ(Units[0].X, 77);
    EXPECT_EQ(Units[3].Active, -1);
    EXPECT_EQ(Kills, 4);
}
