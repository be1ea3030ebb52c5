// The game clock: regeneration, spawn caps, waves, the spawn circle and the
// end of a game.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "menus/Options.h"
#include "opponents/GameClock.h"
#include "support/Battle.h"

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
}

TEST_F(ClockFixture, EndOfGameRecordsTheGameAndSavesTheOptions) {
    TimesPlayed = 4;
    PlayMinutes = 10;
    GameMinutes = 3;
    GameSeconds = 30;
    Units[0].Active = 0;
    SpawnTick();
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
        EXPECT_GE(Fps, 30) << start;  // about 33 frames in each second
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
