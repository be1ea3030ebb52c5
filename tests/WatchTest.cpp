// Watching a recorded game from the score screens: the item, the battle played
// from the recording whatever the player does and at this run's pace, Escape
// back to the table, and recordings that cannot play.
#include <gtest/gtest.h>

#include <filesystem>

#include "battle/StatusBar.h"
#include "graphics/WorkWithMemory.h"
#include "input/DirectInputMod.h"
#include "menus/Menus.h"
#include "opponents/GameClock.h"
#include "platform/Image.h"
#include "platform/Net.h"
#include "shell/Form1.h"
#include "shell/Loading.h"
#include "shell/NewGame.h"
#include "shell/Replay.h"
#include "support/Battle.h"
#include "support/DrawnText.h"
#include "support/Servers.h"
#include "support/SoundProbe.h"
#include "worldscores/FTPmod.h"
#include "worldscores/ScoreScreens.h"
#include "worldscores/TopWorldScore.h"
#include "worldscores/WatchGame.h"

namespace {
void NoSound(int, double) {}

// The replay test's scripted game, paused for 300 passes of the menus early
// on and played to its end, once: its recording.
const std::string& RecordedGame() {
    static const std::string bytes = [] {
        TempGameDir dir;
        WriteUnitFiles(dir);
        BattleReset(20260101);
        PlayScoreSound = NoSound;
        GameRunning = 0;
        NewGame();
        for (int frame = 0; frame < 3000 && GameRunning != 0; frame++) {
            ScriptedInput(frame);
            FrameStep();
            if (frame != 100) continue;
            GamePaused = -1;  // the passes of the menus, as the main loop runs them
            for (int pass = 0; pass < 300; pass++) RecordPausedPass(), ClockStep();
            GamePaused = 0;
        }
        return PendingRecording();
    }();
    return bytes;
}

// Plays the watched game to its end; the battle after each frame.
std::vector<std::string> WatchToTheEnd(bool playerMeddles) {
    std::vector<std::string> states;
    for (int frame = 0; frame < 3000 && GameRunning != 0; frame++) {
        if (playerMeddles) {
            for (int key : {DIK_W, DIK_RETURN, DIK_X}) TestSetKey(key, true);
            TestSetMouse(5, 290);
            Field_MouseDown(frame % 2 ? 1 : 2);
            Field_LostFocus();
        }
        FrameStep();
        const Unit& p = Units[0];
        char s[128];
        std::snprintf(s, sizeof s, "%.2f,%.2f hp %.2f ammo %d score %d kills %d", p.X, p.Y, p.Health, p.Ammo,
                      HitScore + SkillScore, Kills);
        states.push_back(s);
    }
    TestReleaseAllKeys();
    return states;
}

class Watch : public ::testing::Test {
protected:
    TempGameDir Dir;
    ReplayData Data;
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(DecodeReplay(RecordedGame(), Data, why)) << why;
        SetAppPath(Dir.Path.string());  // the recording was made in a folder of its own
        BattleReset(1);
        GameRunning = 0;
        PlayScoreSound = NoSound;
        for (auto& e : TopScores) e = ScoreRecord{};
        ScoreReadCounter = 1;  // the table below is the one in memory
        for (int i = 0; i < 3; i++)
            TopScores[i] = ScoreRecord{std::to_string(300 - 100 * i) + "  ", "5  ", "01:00", "1 ", "1 ", "1 ", "1 ",
                                       "90 ", "15 ", "3    ", "20260101", std::string(1, char('A' + i))};
        MenuCode = "HS";
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
    void ClickAt(int x, int y, void (*screen)() = HighScoresScreen) {
        CursorX = x, CursorY = y, MouseLeft = -1;
        screen();
        MouseLeft = 0;
    }
    void PickRow(int r) { ClickAt(200, 58 + 14 * r); }  // right of the name, on the row's line
    void ClickWatch() { ClickAt(WatchItemX + 5, WatchItemY + 6); }
    // The text of the item under the mouse at (x, y), "" for none.
    std::string ItemAt(int x, int y) {
        MenuHoverText.clear();
        CursorX = x, CursorY = y;
        HighScoresScreen();
        return MenuHoverText;
    }
    bool WatchItemShown() { return ItemAt(WatchItemX + 5, WatchItemY + 6) == "WATCH GAME"; }
    // The watched game ended as the recorded one did.
    void EndsAsRecorded() {
        const ScoreRecord want = ParseRecordLine(Data.RecordText);
        EXPECT_EQ(std::to_string(HitScore + SkillScore) + "/" + std::to_string(Kills),
                  Trim(want.Score) + "/" + Trim(want.Kills));
    }
};

TEST_F(Watch, TheItemShowsOnlyForAPickedEntryWithARecording) {
    EXPECT_FALSE(WatchItemShown());  // no recordings
    SaveRecording(1, RecordedGame());
    EXPECT_TRUE(WatchItemShown());  // the best game with one is picked
    PickRow(0);                     // picked, but no recording
    EXPECT_FALSE(WatchItemShown());
    PickRow(1);
    EXPECT_TRUE(WatchItemShown());
    CreateSurface(Field, 300, 300);
    ItemAt(-1000, -1000);
    EXPECT_TRUE(DrawnAs(Field, "WATCH GAME", WatchItemX, WatchItemY, 10, true, RGB(0, 0, 0x80)));
    EXPECT_EQ(GetPixel(Field, 200, 50 + 14 + 15), 0xFFFFFF);  // the picked row is underlined
    // A better game pushes the entry down a row: the pick goes with it.
    for (int i = 3; i > 0; i--) TopScores[i] = TopScores[i - 1];
    TopScores[0].Score = "999  ";
    EXPECT_TRUE(WatchItemShown());
    ClickAt(20, 58 + 14 * 2);  // beside the table: no new pick
    EXPECT_TRUE(WatchItemShown());
    GameRunning = GamePaused = -1;  // nor over a paused game, which it would end
    EXPECT_FALSE(WatchItemShown());
    GameRunning = GamePaused = 0;
    EnteringName = True;  // nor while a name is typed
    EXPECT_FALSE(WatchItemShown());
}

TEST_F(Watch, TheTenthEntryAloneWithARecordingIsFoundToo) {
    for (int i = 3; i <= 9; i++) {
        TopScores[i] = TopScores[2];
        TopScores[i].Score = std::to_string(100 - 5 * i) + "  ";
        TopScores[i].Name = std::string(1, char('A' + i));
    }
    SaveRecording(9, RecordedGame());
    EXPECT_TRUE(WatchItemShown());
}

// The entry picked for the player stays picked: a better game with a
// recording coming in above it does not take the pick away.
TEST_F(Watch, TheEntryPickedForThePlayerStaysPicked) {
    SaveRecording(1, RecordedGame());
    auto underlined = [this]() {
        CreateSurface(Field, 300, 300);
        ItemAt(-1000, -1000);
        int row = -1;
        for (int r = 0; r <= 3; r++)
            if (GetPixel(Field, 200, 50 + 14 * r + 15) == 0xFFFFFF) row = r;
        return row;
    };
    EXPECT_EQ(underlined(), 1);
    ClickAt(200, 51);  // above the first row's line
    EXPECT_EQ(underlined(), 1);
    ClickAt(30, 58);  // left and right of the table
    ClickAt(265, 58);
    EXPECT_EQ(underlined(), 1);
    ClickAt(200, 52);
    EXPECT_EQ(underlined(), 0);
    PickRow(1);
    for (int i = 3; i > 0; i--) TopScores[i] = TopScores[i - 1];
    TopScores[0].Score = "999  ";
    SaveRecording(0, RecordedGame());
    EXPECT_EQ(underlined(), 2);
}

TEST_F(Watch, TheRecordedBattlePlaysWhateverThePlayerDoesAndEndsOnTheTable) {
    SaveRecording(0, RecordedGame());
    LoadProbeSounds({26});
    std::vector<std::string> runs[2];
    for (int run = 0; run < 2; run++) {
        // The second time with the player's own scoring and movement settings the other way.
        OptKillsInRow = OptRealMovement = static_cast<Integer>(8 * run);
        PickRow(0);
        ClickWatch();
        ASSERT_EQ(ReplayState, ReplayMode::Watching);
        ASSERT_NE(GameRunning, 0);
        // The screen hands the field on with the menus' plain small pale-green print.
        EXPECT_EQ(std::tuple(Field.TextColour, Field.FontSize, Field.FontBold), std::tuple(RGB(0xC0, 0xFF, 0xC0), 8, false));
        // Left alone, then with keys held, buttons down, the mouse elsewhere
        // and the window losing the keyboard.
        runs[run] = WatchToTheEnd(run == 1);
        EXPECT_EQ(OptKillsInRow + OptRealMovement, 16 * run);
        EXPECT_EQ(ReplayState, ReplayMode::Off);
        EXPECT_EQ(GamePaused, 0);
        EndsAsRecorded();
        EXPECT_TRUE(Playing(26));  // the menu music again
        EXPECT_EQ(MixerGetVolume(SoundBuffer(26)), -1 - 32 * (100 - MusicVolume));
        MixerStop(SoundBuffer(26));
        // Nothing entered or counted: back on the same table.
        EXPECT_EQ(MenuCode, "HS");
        EXPECT_EQ(EnteringName, False);
        EXPECT_EQ(TopScores[0].Name, "A");
        EXPECT_EQ(TimesPlayed, 0);
    }
    EXPECT_EQ(runs[0], runs[1]);
    FreeSounds();
}

// A pause in the recorded game is passed at once, and a recording made when
// the clock stood weeks further on ends without waiting for those weeks.
TEST_F(Watch, WatchingKeepsThisRunsPace) {
    // 2^32 ms on: the low bits, which seed the opponents, stay as they were.
    constexpr int64_t Later = int64_t{1} << 32;
    Data.LastSecondTick += Later;
    Data.NextFrameTick += Later;
    for (int64_t& t : Data.Ticks) t += Later;
    SaveRecording(0, EncodeReplay(Data));
    PickRow(0);
    ClickWatch();
    const uint64_t start = GetTickCount();
    const size_t frames = WatchToTheEnd(false).size();
    EndsAsRecorded();
    ClockStep();  // a pass of the menus
    // About 31 ms a frame, as the game was played; the 300 passes of the
    // pause would add 9 s more.
    EXPECT_GE(GetTickCount() - start, frames * 30);
    EXPECT_LT(GetTickCount() - start, (frames + 100) * 31);
}

TEST_F(Watch, ARecordingThatRunsOutOfClockEndsThere) {
    size_t frameEvents = 0;
    for (const ReplayEvent& e : Data.Events) frameEvents += e.Kind == ReplayFrameEvent;
    Data.Ticks.resize(Data.Ticks.size() / 2);
    SaveRecording(0, EncodeReplay(Data));
    PickRow(0);
    ClickWatch();
    ASSERT_EQ(ReplayState, ReplayMode::Watching);
    FillSurface(MenuField, RGB(1, 2, 3));
    const size_t frames = WatchToTheEnd(false).size();
    EXPECT_LE(frames, frameEvents / 2 + 1);
    EXPECT_EQ(ReplayState, ReplayMode::Off);
    EXPECT_EQ(MenuCode, "HS");
    EXPECT_NE(GetPixel(MenuField, 5, 5), static_cast<int32_t>(RGB(1, 2, 3)));  // the battle behind the menu
}

TEST_F(Watch, EscapeEndsWatchingOnTheHighScoreScreen) {
    SaveRecording(2, RecordedGame());
    OptKillsInRow = 8;
    PickRow(2);
    ClickWatch();
    for (int frame = 0; frame < 60; frame++) FrameStep();
    ASSERT_EQ(ReplayState, ReplayMode::Watching);
    FillSurface(MenuField, RGB(1, 2, 3));
    TestSetKey(DIK_ESCAPE, true);
    FrameStep();
    EXPECT_EQ(GameRunning, 0);
    EXPECT_EQ(ReplayState, ReplayMode::Off);
    EXPECT_EQ(OptKillsInRow, 8);  // the player's own setting is back
    EXPECT_NE(GetPixel(MenuField, 5, 5), static_cast<int32_t>(RGB(1, 2, 3)));  // the battle behind the menu
    ReadKeyboard();  // the same press, still held in the menus, stays on the table
    EXPECT_EQ(MenuCode, "HS");
    TestSetKey(DIK_ESCAPE, false);
    ReadKeyboard();
    TestSetKey(DIK_ESCAPE, true);
    ReadKeyboard();
    EXPECT_EQ(MenuCode, "");  // a new press leaves as always
}

TEST_F(Watch, RecordingsThatCannotPlaySayWhy) {
    std::string other = RecordedGame(), damaged = RecordedGame();
    other.replace(other.find(GameVersion), 4, "1.21");
    damaged.resize(damaged.size() - 20);
    for (auto [bytes, line] : {std::pair{damaged, "CANNOT PLAY: the recording is damaged"},
                               {other, "CANNOT PLAY: recorded by version 1.21"},
                               {std::string("<html>"), "CANNOT PLAY: this is not a recording"}}) {
        SaveRecording(1, bytes);
        PickRow(1);
        ClickWatch();
        EXPECT_EQ(GameRunning, 0) << line;
        EXPECT_EQ(ItemAt(32, WatchMessageY + 5), line);
        CreateSurface(Field, 300, 300);
        ItemAt(-1000, -1000);  // plain navy print under the bold item
        EXPECT_TRUE(DrawnAs(Field, line, 30, WatchMessageY, 8, false, RGB(0, 0, 0x80))) << line;
        PickRow(0);  // another entry: the line goes
        EXPECT_EQ(ItemAt(32, WatchMessageY + 5), "") << line;
    }
}

TEST_F(Watch, AWorldEntryIsFetchedFromTheScoreServer) {
    TempGameDir served;  // the server keeps one verified game's recording
    SetAppPath(Dir.Path.string());
    std::filesystem::create_directories(served.Path / "replays");
    for (auto& e : WorldScores) e = ScoreRecord{};
    std::copy(TopScores, TopScores + 2, WorldScores);
    served.Write("replays/" + ReplayKey(WorldScores[1]) + ReplayExtension, RecordedGame());
    LocalServer ftp;
    ASSERT_TRUE(StartFtpServer(ftp, served.Path.string()));
    ScoreServerHost = "127.0.0.1", ScoreServerPort = ftp.Port;
    ScoreServerUser = "trumol4", ScoreServerPassword = "zededor";
    SetTestConnected(1);
    WorldReadCounter = 1, WorldScroll = 51, WorldScrollOffset = 0;
    MenuCode = "WS";
    ClickAt(200, 58, WorldScoresScreen);  // entry 1: none on the server
    ClickAt(WatchItemX + 5, WatchItemY + 6, WorldScoresScreen);
    EXPECT_EQ(GameRunning, 0);
    EXPECT_EQ(WorldPick.Message, "CANNOT PLAY: no recording on the score server");
    EXPECT_EQ(LoadingSteps(), 2);  // the bar moves before and after the fetch
    CursorX = CursorY = -1000;  // nothing hovered: the reason is plain navy text
    CreateSurface(Field, 300, 300);
    WorldScoresScreen();
    EXPECT_TRUE(DrawnAs(Field, WorldPick.Message, 30, WatchMessageY, 8, false, RGB(0, 0, 0x80)));
    ClickAt(200, 72, WorldScoresScreen);  // entry 2
    CreateSurface(Field, 300, 300);
    WorldScoresScreen();
    EXPECT_TRUE(DrawnAs(Field, "WATCH GAME", WatchItemX, WatchItemY, 10, true, RGB(0, 0, 0x80)));
    EXPECT_EQ(GetPixel(Field, 200, 50 + 14 + 15), 0xFFFFFF);
    ClickAt(WatchItemX + 5, WatchItemY + 6, WorldScoresScreen);
    EXPECT_EQ(ReplayState, ReplayMode::Watching);
    EXPECT_FALSE(std::filesystem::exists(ReplayFolderPath() + "/World.dvr"));  // nothing left behind
    SetTestConnected(-1);
    ScoreServerHost.clear(), ScoreServerPort = 21;
}

// The details panel of a score screen is drawn over StatusField before the
// game watched from there draws its first status bar: the bar's background
// stays the picture as loaded.
TEST(StatusBackground, IsThePictureAsLoaded) {
    TempGameDir dir;
    ResetGameState();
    Surface picture;  // a shade per row, so a picture a row off shows
    CreateSurface(picture, 300, 78);
    for (int y = 0; y < 78; y++)
        for (int x = 0; x < 300; x++) SetPixel(picture, x, y, RGB(9, 3 * y, 9));
    ASSERT_TRUE(SaveBmpFile(dir.File("Pictures/StatusBar.jpg"), picture));
    CreateFormSurfaces();
    LoadPictures();
    EntryDetailsOf(ScoreRecord{"54   ", "2  ", "00:14", "1 ", "1 ", "1 ", "1 ", "90 ", "15 ", "3    ", "20260101", "A"});
    int gap = 0;  // between the ammo and accuracy bars the picture shows as it is
    for (int y = 21; y < 25; y++)
        for (int x = 0; x < 300; x++) gap += GetPixel(StatusField, x, y) == GetPixel(picture, x, y);
    EXPECT_EQ(gap, 4 * 300);
    DrawStatusBar();
    int panel = 0;  // pixels of the panel's " Time=00:14" at (220, 63)
    for (int x = 220; x < 300; x++)
        for (int y = 63; y < 78; y++) panel += GetPixel(StatusField, x, y) != GetPixel(picture, x, y);
    EXPECT_EQ(panel, 0);
    FreePictures();
}
}  // namespace
