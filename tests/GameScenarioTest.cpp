// A whole game, headless: a seeded battle with scripted input runs until the
// player dies, and the program is back in the menus with the game recorded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "menus/Options.h"
#include "scores/TopScoreList.h"
#include "shell/Form1.h"
#include "shell/NewGame.h"
#include "support/Battle.h"

namespace {
// A player who stands still and fires at the nearest opponent, in bursts.
void AimAtNearest(int frame) {
    int best = -1;
    double bestD = 1e9;
    for (int i = 1; i <= MaxUnit; i++) {
        if (Units[i].Active == 0) continue;
        const double d = std::hypot(Units[i].X - Units[0].X, Units[i].Y - Units[0].Y);
        if (d < bestD) bestD = d, best = i;
    }
    int x = 150, y = 100;
    if (best > 0) {
        x = static_cast<int>(Units[best].X) + 10;
        y = static_cast<int>(Units[best].Y) + 10;
    }
    TestSetMouse(x, y);
    MouseLeft = (best > 0 && (frame / 20) % 4 != 3) ? -1 : 0;
}
}  // namespace

TEST(GameScenario, RunsUntilThePlayerDiesAndEndsInTheMenus) {
    TempGameDir dir;
    WriteUnitFiles(dir);
    BattleReset(777);
    GameRunning = 0;
    OptAlphaBlend = 8;
    TimesPlayed = 7;
    PlayMinutes = 2;
    for (auto& r : TopScores) r = ScoreRecord{};  // an empty table: any score places
    NewGame();
    ASSERT_EQ(GameRunning, -1);
    ASSERT_EQ(Units[0].Active, -1);
    // The menus ran at full rate before the game.
    LastSecondTick = static_cast<Long>(GetTickCount());
    Fps = 33;

    int frame = 0;
    int mostOpponents = 0;
    bool shotAt = false;
    for (; GameRunning != 0 && frame < 60000; frame++) {
        AimAtNearest(frame);
        FrameStep();
        mostOpponents = std::max(mostOpponents, LiveOpponents());
        for (int b = 1; b <= MaxBullet; b++)
            if (Bullets[b].Life > 0 && Bullets[b].Owner > 0) shotAt = true;
    }
    ASSERT_EQ(GameRunning, 0) << "still alive after " << frame << " frames";
    EXPECT_TRUE(shotAt);
    EXPECT_GT(Kills, 0);
    EXPECT_GT(Units[0].AccuracyXP + Units[0].RechargeXP + Units[0].SpeedXP, 0);
    EXPECT_GE(mostOpponents, 3);
    EXPECT_EQ(GamePaused, 0);
    EXPECT_EQ(TimesPlayed, 8);
    EXPECT_EQ(SeparationOff, 0);  // the test clock kept the frame rate up

    // The options file holds the new statistics.
    const Long minutes = PlayMinutes;
    TimesPlayed = 0;
    PlayMinutes = 0;
    LoadSaveOptions(false);
    EXPECT_EQ(TimesPlayed, 8);
    EXPECT_EQ(PlayMinutes, minutes);
    EXPECT_GE(minutes, 2);

    // The next passes are menu passes: no frame runs, the game stays over.
    MainLoopPass();
    MainLoopPass();
    EXPECT_EQ(GameRunning, 0);
    // The score placed in the empty table: the high score screen is shown.
    EXPECT_EQ(MenuCode, "HS");
}
