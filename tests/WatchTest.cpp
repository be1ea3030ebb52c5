// Watching a recorded game from the score screens: the item, the battle played
// from the recording whatever the player does, Escape back to the table, and
// recordings that cannot play.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "input/DirectInputMod.h"
#include "opponents/GameClock.h"
#include "platform/Net.h"
#include "menus/Menus.h"
#include "scores/ReplayFile.h"
#include "scores/TopScoreList.h"
#include "shell/Form1.h"
#include "shell/NewGame.h"
#include "shell/Replay.h"
#include "support/Battle.h"
#include "support/Servers.h"
#include "worldscores/FTPmod.h"
#include "worldscores/ScoreScreens.h"
#include "worldscores/TopWorldScore.h"
#include "worldscores/WatchGame.h"

namespace {
void NoSound(int, double) {}

// The scripted game of the replay test, played to its end once: its
// recording. With pausedPasses, the player paused it for that many passes of
// the menus early on.
const std::string& RecordedGame(int pausedPasses = 0) {
    static std::map<int, std::string> made;
    if (made.count(pausedPasses)) return made[pausedPasses];
    return made[pausedPasses] = [pausedPasses] {
        TempGameDir dir;
        WriteUnitFiles(dir);
        BattleReset(20260101);
        PlayScoreSound = NoSound;
        for (auto& e : TopScores) e = ScoreRecord{};
        GameRunning = 0;
        SetTestDate({2026, 1, 1});
        NewGame();
        LastSecondTick = static_cast<Long>(GetTickCount());
        for (int frame = 0; frame < 3000 && GameRunning != 0; frame++) {
            ScriptedInput(frame);
            FrameStep();
            if (frame != 100 || pausedPasses == 0) continue;
            GamePaused = -1;  // as the main loop runs while paused
            for (int i = 0; i < pausedPasses; i++) {
                RecordPausedPass();
                ClockStep();
            }
            GamePaused = 0;
        }
        SetTestDate({0, 0, 0});
        std::string b = PendingRecording();
        DropPendingRecording();
        return b;
    }();
}

// The watched game ended as the recorded one did: score, kills and time.
void EndsAsRecorded(const ReplayData& data) {
    const ScoreRecord want = ParseRecordLine(data.RecordText);
    EXPECT_EQ(std::to_string(HitScore + SkillScore), Trim(want.Score));
    EXPECT_EQ(std::to_string(Kills), Trim(want.Kills));
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", GameMinutes, GameSeconds);
    EXPECT_EQ(time, Trim(want.Time));
}

// The battle as far as the player's input could change it.
std::string Battle() {
    const Unit& p = Units[0];
    return std::to_string(p.X) + "," + std::to_string(p.Y) + " hp " + std::to_string(p.Health) + " ammo " +
           std::to_string(p.Ammo) + " score " + std::to_string(HitScore + SkillScore) + " kills " +
           std::to_string(Kills) + " clock " + std::to_string(GameMinutes * 60 + GameSeconds);
}

class Watch : public ::testing::Test {
protected:
    TempGameDir Dir;
    void SetUp() override {
        ASSERT_FALSE(RecordedGame().empty()) << "the scripted game left no recording";
        Fresh();
    }
    // The table screen after a recording was made in a folder of its own.
    void Fresh() {
        SetAppPath(Dir.Path.string());
        BattleReset(1);
        GameRunning = 0;
        PlayScoreSound = NoSound;
        for (auto& e : TopScores) e = ScoreRecord{};
        ScoreReadCounter = 1;  // the table below is the one in memory
        const char* scores[3] = {"300  ", "200  ", "100  "};
        const char* names[3] = {"Ann", "Bob", "Cid"};
        for (int i = 0; i < 3; i++) TopScores[i] = ScoreRecord{scores[i], "5  ", "01:00", "1 ", "1 ", "1 ", "1 ",
                                                              "90 ", "15 ", "3    ", "20260101", names[i]};
        PickEntry(LocalPick, nullptr);
        PickEntry(WorldPick, nullptr);
        MenuCode = "HS";
        EnteringName = False;
        MenuHoverY = MenuClickedY = 0;
        CursorX = CursorY = -1000;
    }
    void TearDown() override {
        StopPlayback();
        TestReleaseAllKeys();
        PickEntry(LocalPick, nullptr);
        PickEntry(WorldPick, nullptr);
    }
    void SaveRecording(int r, const std::string& bytes) {
        std::filesystem::create_directories(ReplayFolderPath());
        Dir.Write(std::filesystem::relative(ReplayFilePath(TopScores[r]), Dir.Path).string(), bytes);
    }
    void ClickAt(int x, int y) {
        CursorX = x, CursorY = y, MouseLeft = -1;
        HighScoresScreen();
        MouseLeft = 0;
    }
    void PickRow(int r) { ClickAt(200, 50 + 14 * r + 8); }  // right of the name, on the row's line
    bool WatchItemShown() {
        MenuHoverText.clear();
        CursorX = WatchItemX + 5, CursorY = WatchItemY + 6;
        HighScoresScreen();
        return MenuHoverText == "WATCH GAME";
    }
    void ClickWatch() { ClickAt(WatchItemX + 5, WatchItemY + 6); }
    std::string LineShown() {
        MenuHoverText.clear();
        CursorX = 32, CursorY = WatchMessageY + 5;
        HighScoresScreen();
        return MenuHoverText;
    }
};

TEST_F(Watch, TheItemShowsOnlyForAPickedEntryWithARecording) {
    SaveRecording(1, RecordedGame());
    EXPECT_FALSE(WatchItemShown());  // nothing picked
    PickRow(0);                        // picked, but no recording
    EXPECT_FALSE(WatchItemShown());
    PickRow(1);
    EXPECT_TRUE(WatchItemShown());
    // A better game pushes the entry down a row: the pick goes with it.
    for (int i = 3; i > 0; i--) TopScores[i] = TopScores[i - 1];
    TopScores[0].Score = "999  ";
    EXPECT_TRUE(WatchItemShown());
    // No watching while a name is typed.
    EnteringName = True;
    NewEntryIndex = 0;
    EXPECT_FALSE(WatchItemShown());
    EnteringName = False;
    // A click beside the table picks nothing new.
    ClickAt(20, 50 + 14 * 2 + 8);
    EXPECT_TRUE(WatchItemShown());
}

TEST_F(Watch, TheRecordedBattlePlaysWhateverThePlayerDoes) {
    ReplayData data;
    std::string why;
    ASSERT_TRUE(DecodeReplay(RecordedGame(), data, why)) << why;
    SaveRecording(0, RecordedGame());
    const Integer timesPlayed = TimesPlayed;

    // Watched twice: left alone, then with keys held, buttons down, the
    // mouse elsewhere and the window losing the keyboard.
    std::vector<std::string> runs[2];
    for (int run = 0; run < 2; run++) {
        PickRow(0);
        ClickWatch();
        ASSERT_NE(GameRunning, 0);
        ASSERT_EQ(ReplayState, ReplayMode::Watching);
        for (int frame = 0; frame < 3000 && GameRunning != 0; frame++) {
            if (run == 1) {
                TestSetKey(DIK_W, true);
                TestSetKey(DIK_RETURN, true);
                TestSetKey(DIK_X, true);
                TestSetMouse(5, 290);
                Field_MouseDown(frame % 2 ? 1 : 2);
                Field_LostFocus();
            }
            FrameStep();
            runs[run].push_back(Battle());
        }
        TestReleaseAllKeys();
        EXPECT_EQ(GameRunning, 0);
        EXPECT_EQ(GamePaused, 0);
        EXPECT_EQ(ReplayState, ReplayMode::Off);
        // The game ends as it ended when played, enters nothing and counts nothing.
        EndsAsRecorded(data);
        EXPECT_EQ(MenuCode, "HS");
        EXPECT_EQ(EnteringName, False);
        EXPECT_EQ(Trim(TopScores[0].Name), "Ann");
        EXPECT_EQ(TimesPlayed, timesPlayed);
    }
    EXPECT_EQ(runs[0], runs[1]);
}

// Watching goes at the pace of this run's clock: a pause in the recorded game
// is passed at once, and a recording made when the clock stood weeks further
// on plays and ends without waiting for those weeks.
TEST_F(Watch, WatchingKeepsTheRealPace) {
    const std::string& paused = RecordedGame(300);
    Fresh();
    ReplayData data;
    std::string why;
    ASSERT_TRUE(DecodeReplay(paused, data, why)) << why;
    // 2^32 ms on: the low bits, which seed the opponents, stay as they were.
    constexpr int64_t Later = int64_t{1} << 32;
    data.LastSecondTick += Later;
    data.NextFrameTick += Later;
    for (int64_t& t : data.Ticks) t += Later;
    SaveRecording(0, EncodeReplay(data));
    PickRow(0);
    ClickWatch();
    ASSERT_EQ(ReplayState, ReplayMode::Watching);
    const uint64_t start = GetTickCount();
    int frames = 0;
    for (; frames < 3000 && GameRunning != 0; frames++) FrameStep();
    EndsAsRecorded(data);
    ClockStep();  // a pass of the menus
    // About 30 ms a frame; the 300 passes of the pause would add 9 s more.
    EXPECT_LT(GetTickCount() - start, (frames + 100) * 31u);
}

TEST_F(Watch, EscapeEndsWatchingOnTheHighScoreScreen) {
    SaveRecording(2, RecordedGame());
    OptKillsInRow = 8;
    PickRow(2);
    ClickWatch();
    ASSERT_EQ(ReplayState, ReplayMode::Watching);
    for (int frame = 0; frame < 60; frame++) FrameStep();
    ASSERT_NE(GameRunning, 0);
    FillSurface(MenuField, RGB(1, 2, 3));
    TestSetKey(DIK_ESCAPE, true);
    FrameStep();
    EXPECT_EQ(GameRunning, 0);
    EXPECT_EQ(ReplayState, ReplayMode::Off);
    EXPECT_EQ(OptKillsInRow, 8);  // the player's own setting is back
    EXPECT_NE(GetPixel(MenuField, 5, 5), static_cast<int32_t>(RGB(1, 2, 3)));  // the battle behind the menu
    // The same press, still held in the menus, stays on the table.
    ReadKeyboard();
    EXPECT_EQ(MenuCode, "HS");
    TestSetKey(DIK_ESCAPE, false);
    ReadKeyboard();
    TestSetKey(DIK_ESCAPE, true);
    ReadKeyboard();
    EXPECT_EQ(MenuCode, "");  // a new press leaves as always
}

TEST_F(Watch, RecordingsThatCannotPlaySayWhy) {
    std::string other = RecordedGame();
    other.replace(other.find(GameVersion), std::string(GameVersion).size(), "1.21");
    std::string damaged = RecordedGame();
    damaged.resize(damaged.size() - 20);
    struct Case {
        const char* name;
        std::string bytes;
        const char* line;
    };
    for (const Case& c : {Case{"damaged", damaged, "CANNOT PLAY: the recording is damaged"},
                          Case{"other version", other, "CANNOT PLAY: recorded by version 1.21"},
                          Case{"not one", "<html>", "CANNOT PLAY: this is not a recording"}}) {
        SaveRecording(1, c.bytes);
        PickRow(1);
        ClickWatch();
        EXPECT_EQ(GameRunning, 0) << c.name;
        EXPECT_EQ(ReplayState, ReplayMode::Off) << c.name;
        EXPECT_EQ(LineShown(), c.line) << c.name;
        // Another entry picked: the line goes.
        PickRow(0);
        EXPECT_EQ(LineShown(), "") << c.name;
    }
}

TEST_F(Watch, AWorldEntryIsWatchedFromTheScoreServer) {
    // The server keeps one verified game's recording; the other has none.
    TempGameDir served;
    SetAppPath(Dir.Path.string());
    std::filesystem::create_directories(served.Path / "replays");
    for (int k = 0; k <= 500; k++) WorldScores[k] = ScoreRecord{};
    WorldScores[0] = TopScores[0];
    WorldScores[1] = TopScores[1];
    served.Write("replays/" + ReplayKey(WorldScores[1]) + ReplayExtension, RecordedGame());
    LocalServer ftp;
    ASSERT_TRUE(StartFtpServer(ftp, served.Path.string()));
    ScoreServerHost = "127.0.0.1";
    ScoreServerPort = ftp.Port;
    ScoreServerUser = "trumol4";
    ScoreServerPassword = "zededor";
    SetTestConnected(1);
    WorldReadCounter = 1;
    WorldScroll = 51;
    WorldScrollOffset = 0;
    MenuCode = "WS";
    auto click = [](int x, int y) {
        CursorX = x, CursorY = y, MouseLeft = -1;
        WorldScoresScreen();
        MouseLeft = 0;
    };
    click(200, 50 + 8);  // entry 1: nothing on the server
    click(WatchItemX + 5, WatchItemY + 6);
    EXPECT_EQ(GameRunning, 0);
    EXPECT_EQ(WorldPick.Message, "CANNOT PLAY: no recording on the score server");
    click(200, 50 + 14 + 8);  // entry 2
    click(WatchItemX + 5, WatchItemY + 6);
    EXPECT_NE(GameRunning, 0);
    EXPECT_EQ(ReplayState, ReplayMode::Watching);
    EXPECT_FALSE(std::filesystem::exists(ReplayFolderPath() + "/World.dvr"));  // nothing left behind
    SetTestConnected(-1);
    ScoreServerHost.clear();
    ScoreServerPort = 21;
}
}  // namespace
