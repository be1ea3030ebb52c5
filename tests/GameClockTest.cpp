// The game clock: regeneration, spawn caps, waves, the spawn circle and the
// end of a game.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "battle/Sheep.h"
#include "graphics/WorkWithMemory.h"
#include "menus/Options.h"
#include "opponents/AImod.h"
#include "opponents/AirPlane.h"
#include "opponents/GameClock.h"
#include "opponents/TextFile.h"
#include "scores/TopScoreList.h"
#include "shell/Basic.h"
#include "shell/Replay.h"
#include "support/Battle.h"
#include "support/SoundProbe.h"

namespace {
struct ClockFixture : ::testing::Test {
    TempGameDir Dir;
    void SetUp() override {
        BattleReset();
        WriteUnitFiles(Dir);
        PlaceUnit(0, 140, 140);
        LastSecondTick = static_cast<Long>(GetTickCount());
    }
    // One second of game time in one frame.
    void OneSecond() {
        AdvanceTestClock(1000);
        ClockStep();
    }
    int CountAfterTicks(int minute) {
        GameMinutes = static_cast<Integer>(minute);
        for (int t = 0; t < 60; t++) {
            AliveCount = static_cast<Integer>(1 + LiveOpponents());
            SpawnTick();
        }
        return LiveOpponents();
    }
};
}  // namespace

TEST_F(ClockFixture, RegenerationDrainsToFullThenCycles) {
    std::vector<float> seen;
    for (int s = 0; s < 9; s++) {
        OneSecond();
        seen.push_back(Units[0].Health);
    }
    EXPECT_EQ(seen, (std::vector<float>{98, 96, 94, 92, 90, 88, 89, 90, 88}));
    EXPECT_EQ(GameSeconds, 9);
    // A paused game's clock and health stand still.
    GamePaused = -1;
    OneSecond();
    EXPECT_EQ(GameSeconds, 9);
    EXPECT_EQ(Units[0].Health, 88);
    // Still above twice full (180) after the 2 it drains 6 more; a dead player gains nothing.
    GamePaused = 0;
    seen.clear();
    for (float h : {200.0f, 182.0f}) {
        Units[0].Health = h;
        OneSecond();
        seen.push_back(Units[0].Health);
    }
    Units[0].Active = 0;
    Units[0].Health = 50;
    SpawnCounter = 0;  // no spawn tick to end the game in this second
    OneSecond();
    seen.push_back(Units[0].Health);
    EXPECT_EQ(seen, (std::vector<float>{192, 180, 48}));
}

TEST_F(ClockFixture, SpawnCapsByMinute) {
    EXPECT_EQ(CountAfterTicks(0), 4);
    for (int i = 1; i <= MaxUnit; i++) Units[i].Active = 0;
    EXPECT_EQ(CountAfterTicks(5), 9);
    for (int i = 1; i <= MaxUnit; i++) Units[i].Active = 0;
    EXPECT_EQ(CountAfterTicks(18), 50);  // every slot
    EXPECT_EQ(SpawnCap(16), 30);
    EXPECT_EQ(SpawnCap(17), 40);
    EXPECT_EQ(SpawnCap(19), 49);
}

TEST_F(ClockFixture, SheepAreToppedUpToTwicePerMinuteUntilMinute21) {
    auto sheepAfterTicks = [](int minute, int ticks) {
        ResetSheep();
        GameMinutes = static_cast<Integer>(minute);
        for (int t = 0; t < ticks; t++) SpawnTick();
        return SheepCount();
    };
    EXPECT_EQ(sheepAfterTicks(0, 5), 0);
    EXPECT_EQ(sheepAfterTicks(1, 5), 2);  // one a second up to 2 x 1
    EXPECT_EQ(sheepAfterTicks(3, 10), 6);
    EXPECT_EQ(sheepAfterTicks(20, 30), MaxSheep);
    EXPECT_EQ(sheepAfterTicks(21, 5), 0);
}

TEST_F(ClockFixture, OpponentOnTheCircleWithLevelFromThePlayer) {
    GameMinutes = 1;
    AliveCount = 1;
    SpawnTick();
    ASSERT_EQ(LoadedSlot, 1);
    const Unit& u = Units[1];
    EXPECT_NEAR(std::hypot(u.X - 140, u.Y - 140), 210, 0.01);
    EXPECT_EQ(u.BulletSpeed, 3);  // a level-3 player before minute 3
    EXPECT_EQ(u.SpriteName, "AiLVL0");
    EXPECT_GE(u.BulletRange, 40);
    EXPECT_LE(u.BulletRange, 60);
    EXPECT_GE(u.Health, 9);
    EXPECT_LT(u.Health, 36);
    EXPECT_EQ(u.Recharge, 15);
    EXPECT_EQ(u.UnitName, "Soldier");
}

TEST_F(ClockFixture, WaveOfFiveAtMinuteThree) {
    GameMinutes = 2;
    GameSeconds = 59;
    AliveCount = 50;  // a full field: only the wave places opponents
    OneSecond();
    EXPECT_EQ(GameMinutes, 3);
    EXPECT_EQ(WaveLeft, 5);
    EXPECT_EQ(WaveTimer, 59);
    EXPECT_EQ(LiveOpponents(), 0);
    OneSecond();  // the wave timer makes this a spawn tick
    ASSERT_EQ(LiveOpponents(), 5);
    EXPECT_EQ(WaveLeft, 0);
    const float entry[5][2] = {{130, -20}, {110, 320}, {90, 320}, {0, 0}, {20, -20}};
    for (int i = 1; i <= 5; i++) {
        const Unit& u = Units[i];
        if (i == 4) {
            EXPECT_NEAR(std::hypot(u.X - 140, u.Y - 140), 210, 0.01);  // value 2 keeps the circle
        } else {
            EXPECT_EQ(u.X, entry[i - 1][0]) << i;
            EXPECT_EQ(u.Y, entry[i - 1][1]) << i;
        }
        EXPECT_GE(u.Speed, 7);
        EXPECT_LE(u.Speed, 11);
        EXPECT_GE(u.Ammo, 8);
        EXPECT_LE(u.Ammo, 17);
        EXPECT_EQ(u.BulletSpeed, 5);  // two levels up from minute 3 for a slow player
        EXPECT_EQ(u.SpriteName, "AiLVL1");
    }
    // The last slot takes one like any other.
    for (int i = 1; i < MaxUnit; i++) Units[i].Active = -1;
    Units[MaxUnit] = Unit{};
    WaveLeft = 1;
    SpawnTick();
    EXPECT_EQ(Units[MaxUnit].SpriteName, "AiLVL1");
    // With every slot taken the rest of a wave is dropped, not waited for.
    for (int i = 1; i <= MaxUnit; i++) Units[i].Active = -1;
    WaveLeft = 5;
    SpawnTick();
    EXPECT_EQ(WaveLeft, 0);
}

TEST_F(ClockFixture, EndOfGameRecordsTheGameAndSavesTheOptions) {
    TimesPlayed = 4;
    PlayMinutes = 10;
    GameMinutes = 3;
    GameSeconds = 30;
    CreateSurface(StatusHealth, 300, 20, RGB(10, 10, 10));  // the fill below row 10 red
    for (int y = 10; y < 20; y++)
        for (int x = 0; x < 300; x++) SetPixel(StatusHealth, x, y, RGB(250, 0, 0));
    Units[0].Active = 0;
    Units[0].Health = 0.6f;  // dead below 1
    SpawnTick();
    EXPECT_EQ(GetPixel(StatusField, 0, 5), RGB(10, 10, 10));  // the last bar shows no health at all
    FreeSurface(StatusHealth);
    EXPECT_EQ(GameRunning, 0);
    EXPECT_EQ(GamePaused, 0);
    EXPECT_EQ(TimesPlayed, 5);
    EXPECT_EQ(PlayMinutes, 14);  // half a minute or more counts as one
    EXPECT_EQ(MenuField.Width, 300);
    TimesPlayed = 0;
    PlayMinutes = 0;
    LoadSaveOptions(false);
    EXPECT_EQ(TimesPlayed, 5);
    EXPECT_EQ(PlayMinutes, 14);

    // A paused game never ends on a tick.
    GameRunning = -1;
    GamePaused = -1;
    SpawnTick();
    EXPECT_EQ(GameRunning, -1);
}

// A game left running for weeks: from just below 2^31 ms (24.8 days) and
// across 2^32 ms (49.7 days) the per-second rules still come once a second.
TEST_F(ClockFixture, KeepsItsPaceAfterWeeksOfRunning) {
    for (uint64_t start : {(1ull << 31) - 5000, (1ull << 32) - 5000, (1ull << 40)}) {
        UseTestClock(true, start);
        LastSecondTick = static_cast<int64_t>(start);
        NextFrameTick = 0;
        GameSeconds = GameMinutes = 0;
        while (GetTickCount() < start + 10000) ClockStep();  // each step waits for its frame
        EXPECT_EQ(GameMinutes, 0) << start;
        EXPECT_GE(GameSeconds, 9) << start;
        EXPECT_LE(GameSeconds, 10) << start;
        EXPECT_GE(Fps, 33) << start;  // a frame every 30 ms: 33 or 34 in each second
        EXPECT_LE(Fps, 34) << start;
    }
}

TEST_F(ClockFixture, PlayStatisticsStopAtTheirLargestValue) {
    const Long most = 2147483647;
    TimesPlayed = most;
    PlayMinutes = most - 2;
    GameMinutes = 5;
    GameSeconds = 40;
    Units[0].Active = 0;
    SpawnTick();
    EXPECT_EQ(TimesPlayed, most);
    EXPECT_EQ(PlayMinutes, most);
    TimesPlayed = PlayMinutes = 0;
    LoadSaveOptions(false);  // and so they are saved
    EXPECT_EQ(TimesPlayed, most);
    EXPECT_EQ(PlayMinutes, most);
}

TEST_F(ClockFixture, SpawnTicksByMinuteAndWhileAWaveRuns) {
    // The seconds, counted from mm:00, at which a tick placed an opponent.
    auto ticks = [this](int minute, int waveTimer) {
        for (int i = 1; i <= MaxUnit; i++) Units[i].Active = 0;
        GameMinutes = static_cast<Integer>(minute);
        GameSeconds = SpawnCounter = 0;
        WaveTimer = static_cast<Integer>(waveTimer);
        AliveCount = 1;  // under every cap
        std::vector<int> at;
        for (int s = 1; s <= 12; s++) {
            const int before = LiveOpponents();
            OneSecond();
            if (LiveOpponents() > before) at.push_back(s);
        }
        return at;
    };
    const std::vector<int> every2{2, 4, 6, 8, 10, 12}, every3{3, 6, 9, 12};
    EXPECT_EQ(ticks(0, 0), every2);
    EXPECT_EQ(ticks(1, 0), every3);
    EXPECT_EQ(ticks(10, 0), every3);
    EXPECT_EQ(ticks(11, 0), every2);
    EXPECT_EQ(ticks(20, 0), every2);
    EXPECT_EQ(ticks(21, 0), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(ticks(5, 30), every2);
    EXPECT_EQ(ticks(1, 2), (std::vector<int>{2, 5, 8, 11}));  // the timer's last second still counts
}

// Each second of holding fire still trains the recharge.
TEST_F(ClockFixture, EverySecondTrainsTheRecharge) {
    GameRunning = -1;
    MouseLeft = -1;
    OneSecond();
    OneSecond();
    EXPECT_EQ(StillFireSeconds, 2);
    MouseLeft = 0;
}

TEST_F(ClockFixture, WavesAndTheirAlarmsByMinute) {
    LoadProbeSounds({37});
    std::vector<int> alarms, waves, sizes;
    for (int m = 0; m <= 20; m++) {
        GameMinutes = static_cast<Integer>(m);
        GameSeconds = 56;
        SpawnCounter = 0;
        MixerStop(SoundBuffer(37));
        OneSecond();  // second 57
        if (Playing(37)) {
            alarms.push_back(m);
            // Heard at x 145 of the field.
            const int32_t pan = MixerGetPan(SoundBuffer(37));
            PlaySound(37, 145 * 10.0 / 3);
            EXPECT_EQ(MixerGetPan(SoundBuffer(37)), pan);
        }
        MixerStop(SoundBuffer(37));
        OneSecond();  // 58: no alarm
        EXPECT_FALSE(Playing(37)) << m;
        GameSeconds = 59;
        WaveLeft = WaveTimer = 0;
        OneSecond();  // second 0 of the next minute
        if (WaveLeft > 0) {
            waves.push_back(GameMinutes);
            sizes.push_back(WaveLeft);
            EXPECT_EQ(WaveTimer, 59);
            EXPECT_EQ(AirPlaneActive, -1) << m;  // the plane crosses with every wave
            EXPECT_EQ(Units[0].Ammo, 20) << m;    // and drops nothing at the player's cost
            EXPECT_EQ(BombRunsWaiting(), 0) << m;
            if (waves.size() == 1) {  // it enters at x 0 and is gone after 61 frames of 5 pixels
                int frames = 0;
                for (; AirPlaneActive == -1 && frames < 100; frames++) AirPlaneAndBombs(-1, 0, 0, 0);
                EXPECT_EQ(frames, 61);
            }
            ResetAirPlane();
            WaveLeft = 0;
            OneSecond();  // announced once: the timer runs down
            EXPECT_EQ(WaveTimer, 58);
        }
    }
    EXPECT_EQ(alarms, (std::vector<int>{2, 5, 8, 11, 14, 17}));
    EXPECT_EQ(waves, (std::vector<int>{3, 6, 9, 12, 15, 18}));
    EXPECT_EQ(sizes, (std::vector<int>{5, 10, 15, 20, 25, 35}));
    FreeSounds();
}

TEST_F(ClockFixture, WaveOpponentsEnterAtTheirPointsByTheCountLeft) {
    WaveLeft = 12;
    AliveCount = 1;
    SpawnTick();
    ASSERT_EQ(LiveOpponents(), 12);
    // Slot k is placed while WaveLeft is 13 - k.
    const std::map<int, std::pair<float, float>> entry{{1, {20, -20}},  {3, {90, 320}},  {4, {110, 320}},
                                                       {5, {130, -20}}, {7, {170, -20}}, {8, {190, 320}},
                                                       {9, {210, 320}}, {11, {280, -20}}};
    std::set<double> speeds;
    for (int k = 1; k <= 12; k++) {
        const Unit& u = Units[k];
        EXPECT_TRUE(u.Speed >= 7 && u.Speed <= 11) << k;
        speeds.insert(u.Speed);
        auto it = entry.find(13 - k);
        if (it == entry.end()) {
            EXPECT_NEAR(std::hypot(u.X - 140, u.Y - 140), 210, 0.01) << k;
        } else {
            EXPECT_EQ(u.X, it->second.first) << k;
            EXPECT_EQ(u.Y, it->second.second) << k;
        }
    }
    EXPECT_GT(speeds.size(), 1u);  // each its own speed, 7 to 11
}

TEST_F(ClockFixture, TheEndOfAGameEntersTheScoreOverTheFrozenField) {
    LoadProbeSounds({26});
    CreateSurface(Field, 300, 300, RGB(200, 0, 0));
    CreateSurface(MainMenu, 270, 270, RGB(0, 0, 200));
    ScoreReadCounter = 5;  // the table in memory is the one that counts
    for (auto& r : TopScores) r = ScoreRecord{};
    GameMinutes = 3;
    GameSeconds = 29;  // under half a minute: not counted
    PlayMinutes = 10;
    Kills = 2;
    HitScore = 40;
    Units[0].Active = 0;
    AliveCount = 0;
    SpawnTick();
    // SkillScore: 2 kills x 10 + 209 s / 2; the score is HitScore + SkillScore.
    EXPECT_EQ(Trim(TopScores[0].Score), "164");
    EXPECT_EQ(MenuCode, "HS");
    EXPECT_EQ(PlayMinutes, 13);
    EXPECT_TRUE(Playing(26));  // the menu music again, at its own level
    EXPECT_EQ(MixerGetVolume(SoundBuffer(26)), -1 - 32 * (100 - MusicVolume));
    // The menu panel at 60 % over the last picture of the field.
    EXPECT_EQ(GetPixel(MenuField, 14, 150), static_cast<int32_t>(RGB(200, 0, 0)));
    const int32_t mid = GetPixel(MenuField, 150, 150);
    EXPECT_NEAR(mid & 0xFF, 200 * 101 / 255, 1);
    EXPECT_NEAR((mid >> 16) & 0xFF, 200 * 154 / 255, 1);
    // The same tick refills the dead player's slot from "LVL1", the next from "DEFAULT".
    EXPECT_EQ(Units[0].Active, -1);
    EXPECT_EQ(Units[0].UnitName, "Soldier");
    EXPECT_EQ(Units[1].UnitName, "Player");
    FreeSounds();
    EnteringName = 0;
    for (auto& r : TopScores) r = ScoreRecord{};
}

TEST_F(ClockFixture, RangesKeepTheirDecimalsInComparisons) {
    // "GN" 20.00000001: a player exactly 20 away is within range.
    Dir.Write("OtherFiles/LVL1.txt", KeyLine("NA", "Sniper") + KeyLine("OM", "10") + KeyLine("DE", "10") +
                                         KeyLine("HT", "50") + KeyLine("EL", "30") + KeyLine("EE", "0") +
                                         KeyLine("ED", "3") + KeyLine("GN", "20.00000001") + KeyLine("EM", "15") +
                                         "END\r\n");
    PlaceUnit(0, 120, 100);
    ASSERT_TRUE(LoadUnitFile("LVL1"));
    Unit& o = Units[LoadedSlot];
    o.X = 100;
    o.Y = 100;
    EXPECT_GT(o.BulletRange, 20);
    UpdateUnits();
    EXPECT_EQ(o.Ammo, 9);  // it fired
}

TEST_F(ClockFixture, TheCapHoldsOnlyWithoutAWaveAndFramesAreCountedEachSecond) {
    GameMinutes = 5;
    AliveCount = 10;  // above the cap of 9
    SpawnTick();
    EXPECT_EQ(LiveOpponents(), 0);
    WaveTimer = 1;  // the wave's last second still places
    SpawnTick();
    EXPECT_EQ(LiveOpponents(), 1);

    for (int f = 0; f < 7; f++) ClockStep();
    AdvanceTestClock(1000);
    ClockStep();
    EXPECT_EQ(Fps, 7);

    // The status bar (which sets SkillScore) is redrawn at frames 1 and 15
    // of each second, and not while paused.
    Kills = 3;
    GameMinutes = GameSeconds = 0;
    std::vector<int> drawn;
    for (int f = 0; f <= 16; f++) {
        FrameCount = f;
        GamePaused = f == 15 ? -1 : 0;
        SkillScore = -1;
        ClockStep();
        if (SkillScore != -1) drawn.push_back(f);
    }
    EXPECT_EQ(drawn, (std::vector<int>{1}));
    GamePaused = 0;
    FrameCount = 15;
    ClockStep();
    EXPECT_EQ(SkillScore, 30);  // three kills at second 0
}

TEST_F(ClockFixture, OpponentsTakeTheirSpeedAndLevelFromTheirRules) {
    // SpawnOpponent itself: the file's speed 10 less 0 to 2.
    std::set<double> speeds;
    for (int k = 1; k <= 60; k++) {
        AdvanceTestClock(k);  // it re-seeds from the clock
        Units[1].Active = 0;
        SpawnOpponent();
        ASSERT_EQ(LoadedSlot, 1);
        speeds.insert(Units[1].Speed);
    }
    EXPECT_EQ(speeds, (std::set<double>{8, 9, 10}));
    Units[1].Active = 0;
    GamePaused = -1;  // a paused game places nobody
    SpawnOpponent();
    EXPECT_EQ(Units[1].Active, 0);
    GamePaused = 0;

    // A stream opponent's level: 3 up to the player's, two more from minute 3
    // only while the player is below level 5.
    auto levels = [](Integer player, Integer minute) {
        Units[0].BulletSpeed = player;
        GameMinutes = minute;
        std::set<int> seen;
        for (int k = 1; k <= 40; k++) {
            AdvanceTestClock(k);
            for (int i = 1; i <= MaxUnit; i++) Units[i].Active = 0;
            AliveCount = 1;
            SpawnTick();
            seen.insert(Units[1].BulletSpeed);
        }
        return seen;
    };
    EXPECT_EQ(levels(4, 2), (std::set<int>{3, 4}));
    EXPECT_EQ(levels(4, 3), (std::set<int>{5, 6}));
    EXPECT_EQ(levels(5, 3), (std::set<int>{3, 4, 5}));
}

TEST_F(ClockFixture, SpawnValuesFollowTheDrawsAfterTheClockReseed) {
    // The draws after SpawnOpponent's re-seed: the circle angle, its speed
    // (overwritten), then for a wave opponent its speed and ammunition, one
    // discarded draw, the level, the range and the health.
    auto drawsAfterReseed = [] {
        const uint32_t state = RndState();
        RandomizeFrom(BattleTick());
        std::vector<Single> r(8);
        for (Single& v : r) v = Rnd();
        Randomize(state);
        return r;
    };
    Unit& p = Units[0];
    p.BulletSpeed = 10;
    p.BulletRange = 100;
    GameMinutes = 0;  // no sheep to draw first
    // The spawn sets ammunition, speed and spread itself, whatever LVL1 holds.
    Dir.Write("OtherFiles/LVL1.txt", KeyLine("NA", "Soldier") + KeyLine("OM", "44") + KeyLine("DE", "6") +
                                         KeyLine("HT", "20") + KeyLine("EL", "12") + KeyLine("EE", "0") +
                                         KeyLine("ED", "3") + KeyLine("GN", "20") + KeyLine("EM", "20") + "END\r\n");
    for (int k = 1; k <= 12; k++) {
        AdvanceTestClock(k);
        for (bool wave : {true, false}) {
            auto r = drawsAfterReseed();
            for (int i = 1; i <= MaxUnit; i++) Units[i].Active = 0;
            WaveLeft = wave ? 1 : 0;
            AliveCount = 1;
            SpawnTick();
            const Unit& u = Units[1];
            if (wave) {
                EXPECT_EQ(u.X, 20);
                EXPECT_EQ(u.Y, -20);
                EXPECT_EQ(u.Speed, Int(r[2] * 5) + 7) << k;
                EXPECT_EQ(u.Ammo, Int(r[3] * 10) + 8) << k;
            } else {
                const double a = (Int(r[0] * 359) + 1) * DegToRad;
                EXPECT_FLOAT_EQ(u.X, std::cos(a) * 210 + 140) << k;
                EXPECT_FLOAT_EQ(u.Y, std::sin(a) * 210 + 140) << k;
                EXPECT_EQ(u.Speed, 10);
                EXPECT_EQ(u.Ammo, 10);
                r.insert(r.begin() + 2, 2, Single{0});  // no wave draws
            }
            const Integer level = static_cast<Integer>(Whole(r[5] * 7 + 3));
            EXPECT_EQ(u.BulletSpeed, level) << k;
            EXPECT_FLOAT_EQ(u.BulletRange, 100 - r[6] * 20) << k;
            EXPECT_FLOAT_EQ(u.Health, (r[7] * 3 + 1) * 30) << k;
            EXPECT_EQ(u.Recharge, p.Recharge);
            EXPECT_EQ(u.Spread, 30);
            EXPECT_EQ(u.SpriteName, "AiLVL" + StrInt(IDiv(level - 3, 2)));
        }
    }
}
