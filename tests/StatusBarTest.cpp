// The status bar, SkillScore, kills in a row, the score line and the reset of
// a new game.
#include <algorithm>
#include <tuple>
#include <utility>

#include "battle/Acid.h"
#include "battle/Blood.h"
#include "battle/Sheep.h"
#include "graphics/WorkWithMemory.h"
#include "opponents/AirPlane.h"
#include "opponents/Pickups.h"
#include "platform/Clock.h"
#include "scores/TopScoreList.h"
#include "shell/Replay.h"
#include "support/Battlefield.h"
#include "support/DrawnText.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"

namespace {

struct Status : Battlefield {
    void SetUp() override {
        Battlefield::SetUp();
        UseTestClock(true, 100000);
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
    p.Spread = 28;  // a hand-edited spread: whole steps of 3 only
    EXPECT_EQ(SkillSteps(p, 0), 0);
}

TEST_F(Status, TheBarsShowHealthAndSkillsOverTheBackground) {
    CreateSurface(StatusField, 300, 78, RGB(1, 1, 1));
    SetStatusBackground();
    // Empty strips grey, fills red, markers blue.
    for (Surface* s : {&StatusHealth, &StatusMelee}) {
        CreateSurface(*s, 300, 20, RGB(10, 10, 10));
        for (int x = 0; x < 300; x++)
            for (int y = 10; y < 20; y++) SetPixel(*s, x, y, y < 18 ? RGB(250, 0, 0) : RGB(0, 0, 250));
    }
    Units[0].Health = 45;  // half of 90
    Units[0].Melee = 11;   // the last step
    Units[0].MeleeXP = 50;
    DrawStatusBar();
    EXPECT_EQ(GetPixel(StatusField, 148, 5), RGB(250, 0, 0));
    EXPECT_EQ(GetPixel(StatusField, 152, 5), RGB(10, 10, 10));
    EXPECT_EQ(GetPixel(StatusField, 298, 58), RGB(250, 0, 0));
    EXPECT_EQ(GetPixel(StatusField, 197, 63), RGB(0, 0, 250));  // half the track
    EXPECT_EQ(GetPixel(StatusField, 201, 63), RGB(10, 10, 10));
    EXPECT_EQ(GetPixel(StatusField, 150, 75), RGB(1, 1, 1));
    Units[0].Health = 0;  // redrawn from the background, not over the old bar
    Units[0].MeleeXP = 99;  // 99 % of the 202-pixel track: 199 pixels
    DrawStatusBar();
    EXPECT_EQ(GetPixel(StatusField, 120, 5), RGB(10, 10, 10));
    EXPECT_EQ(GetPixel(StatusField, 296, 63), RGB(0, 0, 250));
    EXPECT_EQ(GetPixel(StatusField, 297, 63), RGB(10, 10, 10));
}

TEST_F(Status, TheBarTextsSayHealthAmmunitionKillsTimeAndScore) {
    for (Surface* s : {&StatusHealth, &StatusAmmo, &StatusAccuracy, &StatusRecharge, &StatusBulletSpeed, &StatusMelee})
        FreeSurface(*s);
    CreateSurface(StatusField, 300, 78);
    SetStatusBackground();
    StatusField.FontSize = 12;  // whatever was drawn before
    StatusField.FontBold = true;
    StatusField.TextColour = RGB(0, 0, 255);
    const ReplayMode was = ReplayState;
    ReplayState = ReplayMode::Watching;
    Units[0].Health = 45;
    Units[0].Ammo = 37;
    Kills = 3;
    GameMinutes = 2;
    GameSeconds = 5;
    HitScore = 8;
    DrawStatusBar();
    ReplayState = was;
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_TRUE(DrawnAs(StatusField, "Health 45 (90)", 4, -1, 7, false, white));
    EXPECT_TRUE(DrawnAs(StatusField, "Ammo 37 (30)", 4, 9, 7, false, white));
    // 3 kills 30 + 125 seconds 62, and the hits.
    EXPECT_TRUE(DrawnAs(StatusField, "Kills: 3   Time: 2:05   Score: 100", 4, 65, 8, true, white));
    EXPECT_TRUE(DrawnAs(StatusField, "REPLAY - ESC", 236, 66, 7, false, RGB(0xC0, 0xFF, 0xC0)));
}

TEST_F(Status, EachStripAtItsOwnRow) {
    CreateSurface(StatusField, 300, 78, RGB(1, 1, 1));
    SetStatusBackground();
    Surface* sheets[] = {&StatusHealth, &StatusAmmo, &StatusAccuracy, &StatusRecharge, &StatusBulletSpeed, &StatusMelee};
    const int rows[] = {0, 10, 25, 35, 45, 55};
    for (int k = 0; k < 6; k++) CreateSurface(*sheets[k], 300, 20, RGB(20 + k, 0, 0));
    DrawStatusBar();
    for (int k = 0; k < 6; k++) {
        EXPECT_EQ(GetPixel(StatusField, 296, rows[k] + 3), RGB(20 + k, 0, 0)) << k;
        EXPECT_EQ(GetPixel(StatusField, 296, rows[k]), RGB(20 + k, 0, 0)) << k;  // from its first row
        if (k > 0) {
            EXPECT_NE(GetPixel(StatusField, 296, rows[k] - 1), RGB(20 + k, 0, 0)) << k;
        }
        FreeSurface(*sheets[k]);
    }
}

TEST_F(Status, KillsInARowWithinThreeSecondsEarnABonus) {
    TempGameDir dir;
    LoadProbeSounds({42, 43, 44, 45});
    KillEvent();
    AdvanceTestClock(2900);
    KillEvent();
    EXPECT_TRUE(Playing(42) && !Playing(43));  // "InRow1" for the second
    AdvanceTestClock(1000);
    KillEvent();
    EXPECT_TRUE(Playing(43));
    FreeSounds();
    EXPECT_EQ(KillsInRow(), 3);
    EXPECT_EQ(BonusScore, 5 + 10);
    AdvanceTestClock(3100);
    KillEvent();
    EXPECT_EQ(KillsInRow(), 1);
    AdvanceTestClock(3000);  // three seconds to the millisecond still count
    KillEvent();
    EXPECT_EQ(KillsInRow(), 2);
    OptKillsInRow = 8;
    KillEvent();
    EXPECT_EQ(KillsInRow(), 2);
    EXPECT_EQ(BonusScore, 15 + 5);
}

TEST_F(Status, TheRowIsNamedFromTwoKillsOn) {
    if (TextWidth(Field, "2 in a row") == 0) GTEST_SKIP() << "no font";
    auto reddish = [] {
        int n = 0;
        for (int y = 18; y < 32; y++)
            for (int x = 232; x < 300; x++) n += (GetPixel(Field, x, y) & 0xFF) > 100;
        return n;
    };
    KillEvent();
    StatusBarStep();
    EXPECT_EQ(reddish(), 0);  // one kill is no row yet
    KillEvent();
    Field.FontSize = 12;  // whatever was drawn before
    Field.FontBold = false;
    Field.TextColour = RGB(0, 0, 255);
    StatusBarStep();
    EXPECT_GT(reddish(), 0);
    EXPECT_TRUE(DrawnAs(Field, "2 in a row", 232, 18, 8, true, RGB(255, 60, 40)));
    EXPECT_FALSE(Field.FontBold);
}

TEST_F(Status, TheScoreLineNamesThePlaceAheadUnlessItIsOff) {
    for (int i = 0; i < 10; i++) TopScores[i].Score = "   " + StrInt(1000 - i * 100) + "  ";
    HitScore = 450;
    UnitDied = -1;
    Field.FontSize = 12;  // whatever was drawn before
    Field.FontBold = true;
    Field.TextColour = RGB(0, 0, 255);
    ScoreInfoLine();
    EXPECT_EQ(ScoreLine(), "Score: 450   Ahead: #6  500");
    EXPECT_TRUE(DrawnAs(Field, ScoreLine(), 5, 3, 8, false, RGB(255, 255, 255)));
    EXPECT_EQ(UnitDied, 0);
    // Two games of that score: the higher place, which beating the score takes.
    TopScores[6].Score = "500";
    UnitDied = -1;
    ScoreInfoLine();
    EXPECT_EQ(ScoreLine(), "Score: 450   Ahead: #6  500");
    HitScore = 2000;
    UnitDied = -1;
    OptScoreInfo = 8;
    ScoreInfoLine();
    EXPECT_EQ(UnitDied, -1);
    OptScoreInfo = 0;
    ScoreInfoLine();
    EXPECT_EQ(ScoreLine(), "Score: 2000   Top of the table!");
    // Without a death the line is remade every 33rd frame.
    HitScore = 2100;
    for (int f = 1; f < 33; f++) ScoreInfoLine();
    EXPECT_EQ(ScoreLine(), "Score: 2000   Top of the table!");
    ScoreInfoLine();
    EXPECT_EQ(ScoreLine(), "Score: 2100   Top of the table!");
    TopScores[10].Score = "5000 ";  // the overflow entry is no place of the table
    UnitDied = -1;
    ScoreInfoLine();
    EXPECT_EQ(ScoreLine(), "Score: 2100   Top of the table!");
    for (auto& r : TopScores) r = ScoreRecord{};
}

TEST_F(Status, TheScoreLineReadsATableNeverReadBefore) {
    TempGameDir dir;
    for (auto& r : TopScores) r = ScoreRecord{};
    TopScores[0].Score = "900  ";
    TopScores[1].Score = "300  ";
    WriteScoreFile();
    for (auto& r : TopScores) r = ScoreRecord{};
    ScoreReadCounter = 0;
    HitScore = 100;
    ScoreInfoLine();
    EXPECT_EQ(ScoreLine(), "Score: 100   Ahead: #2  300");
    for (auto& r : TopScores) r = ScoreRecord{};
}

TEST_F(Status, TheFireModeShowsItsBulletsTheAmmunitionAndTheBombsItBuys) {
    // Black under the texts; the bomb icon shows only in its bottom row.
    constexpr COLORREF Shot = RGB(200, 150, 0), Bomb = RGB(90, 0, 90);
    Sprite(LayerScore, 85, 15, 0, 0, 15);
    Sprite(BulletsOut, 3 * BulletsOutCell, 11, Shot, 0, 11);
    Sprite(BombIcon, 30, 30, 0, 30, 0);
    for (int x = 0; x < 30; x++) SetPixel(BombIcon, x, 29, Bomb);
    const std::pair<Integer, int> modes[] = {{1, 1}, {2, 2}, {3, 3}, {0, 1}, {7, 3}};  // out of range: clamped
    for (auto [mode, shown] : modes) {
        CreateSurface(Field, 300, 300);
        Field.FontSize = 12;  // whatever was drawn before
        Field.TextColour = RGB(0, 0, 255);
        FireMode = mode;
        Units[0].Ammo = 37;
        FireModeIndicator();
        EXPECT_EQ(GetPixel(Field, 8 + shown * BulletsOutCell - 1, 290), static_cast<int32_t>(Shot)) << mode;
        EXPECT_EQ(GetPixel(Field, 8 + shown * BulletsOutCell, 290), 0) << mode;
        EXPECT_TRUE(DrawnAs(Field, "37", 44, 282, 8, true, RGB(255, 255, 255))) << mode;
        EXPECT_TRUE(DrawnAs(Field, "2", 272, 271, 8, true, RGB(255, 255, 255)));  // 37 buys two bombs
        EXPECT_FALSE(Field.FontBold);
    }
    for (auto [ammo, text, icon] : {std::tuple(15, "15", true), std::tuple(14, "14", false), std::tuple(-2, "0", false)}) {
        CreateSurface(Field, 300, 300);
        Units[0].Ammo = static_cast<Integer>(ammo);
        FireModeIndicator();
        EXPECT_TRUE(DrawnAs(Field, text, 44, 282, 8, true, RGB(255, 255, 255))) << ammo;
        EXPECT_EQ(GetPixel(Field, 299, 299), static_cast<int32_t>(icon ? Bomb : 0)) << ammo;
    }
}

TEST_F(Status, MenuBloodOnlyWhenBloodFlies) {
    OptBloodFly = 8;
    for (int k = 0; k < 300; k++) MenuEffects();
    EXPECT_EQ(MenuBloodDrops(), 0);
    OptBloodFly = 0;
    for (CursorX = 0; CursorX < 300; CursorX++) MenuEffects();
    EXPECT_GT(MenuBloodDrops(), 0);
}

TEST_F(Status, MenuSplashesOfTwentyFiveDropsComeNowAndThenAndDryUp) {
    OptBloodFly = 0;
    CursorX = CursorY = 100;  // a still pointer drips nothing
    int splashes = 0, most = 0, before = MenuBloodDrops();
    for (int k = 0; k < 3000; k++) {
        MenuEffects();
        const int now = MenuBloodDrops();
        if (before == 0 && now > 0) {
            EXPECT_EQ(now, 25);
            splashes++;
        }
        most = std::max(most, now);
        before = now;
    }
    EXPECT_GT(splashes, 10);  // about one in 45 frames, dry within 40
    EXPECT_LT(most, 150);

    // A moving pointer drips two drops a frame; drops are red of some shade.
    OptBloodFly = 8;
    MenuEffects();
    OptBloodFly = 0;
    CreateSurface(Field, 300, 300);
    for (int k = 1; k <= 10; k++) {
        CursorX = 100 + k;
        MenuEffects();
    }
    EXPECT_EQ((MenuBloodDrops() - 20) % 25, 0) << MenuBloodDrops();
    for (int y = 0; y < 300; y++)
        for (int x = 0; x < 300; x++) {
            const int32_t c = GetPixel(Field, x, y);
            if (c != 0) {
                EXPECT_TRUE((c & 0xFFFF00) == 0 && (c & 0xFF) >= 110) << x << ", " << y;
            }
        }
}

TEST_F(Status, ANewGameClearsTheBattlefield) {
    SpawnCrate(10, 10, 5);
    SpawnAcid(10, 10);
    SpawnSheep();
    SpawnBlood(10, 10, 20, 0, 3);
    BoostTimers[2] = 50;
    StartExplosion(100, 100);
    KillEvent();
    KillEvent();
    ResetBattlefield();
    EXPECT_EQ(CrateActive[0] | AcidActive[0] | BoostTimers[2] | ShakeActive | KillsInRow(), 0);
    EXPECT_EQ(SheepCount() + BloodInFlight() + ExplosionsRunning() + BonusScore, 0);
}

}  // namespace
