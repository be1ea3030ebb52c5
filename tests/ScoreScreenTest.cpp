// The high score screen over the local table and the record details panel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "graphics/WorkWithMemory.h"
#include "menus/Menus.h"
#include "platform/Files.h"
#include "platform/Net.h"
#include "platform/Window.h"
#include "scores/TopScoreList.h"
#include "shell/GameState.h"
#include "shell/Loading.h"
#include "support/DrawnText.h"
#include "worldscores/FTPmod.h"
#include "worldscores/ScoreScreens.h"
#include "worldscores/ServerFile.h"
#include "worldscores/TopWorldScore.h"
#include "worldscores/WatchGame.h"

namespace fs = std::filesystem;

namespace {
constexpr COLORREF StripColour = RGB(200, 0, 0);
constexpr COLORREF FillColour = RGB(0, 200, 0);

void NoSound(int, double) {}

class ScoreScreen : public ::testing::Test {
protected:
    std::string Dir;
    void SetUp() override {
        ResetGameState();
        char tmpl[] = "/tmp/scorescreen-XXXXXX";
        Dir = mkdtemp(tmpl);
        SetAppPath(Dir);
        for (auto& e : TopScores) e = ScoreRecord{};
        ScoreReadCounter = 1;  // the table below is the one in memory
        YourName.clear();
        PlayScoreSound = NoSound;
        TestReleaseAllKeys();
        CreateSurface(Field, 300, 300);
        CreateSurface(StatusField, 300, 78, RGB(255, 255, 255));
        // Bars: the empty strip at y 0..9, the fill from y 10.
        for (Surface* s : {&StatusHealth, &StatusAmmo, &StatusAccuracy, &StatusRecharge, &StatusBulletSpeed,
                           &StatusMelee}) {
            CreateSurface(*s, 300, 20, StripColour);
            for (int y = 10; y < 20; y++)
                for (int x = 0; x < 300; x++) SetPixel(*s, x, y, FillColour);
        }
        CursorX = CursorY = -1000;  // the mouse over nothing
        MenuHoverY = MenuClickedY = 0;
        MenuCode = "HS";
        const char* ratings[3][4] = {{"4 ", "10", "0 ", "11"}, {"8 ", "2 ", "5 ", "1 "}, {"1 ", "1 ", "1 ", "1 "}};
        for (int i = 0; i < 3; i++) {
            ScoreRecord& e = TopScores[i];
            e.Score = std::to_string(500 - 100 * i) + "  ";
            e.Name = "Player" + std::to_string(i);
            e.Accuracy = ratings[i][0];
            e.Recharge = ratings[i][1];
            e.BulletSpeed = ratings[i][2];
            e.Melee = ratings[i][3];
        }
    }
    void TearDown() override {
        TestReleaseAllKeys();
        fs::remove_all(Dir);
    }
    // Width of the rating fill drawn in StatusField at row y.
    static int FillWidth(int y) {
        int w = 0;
        while (w < 300 && GetPixel(StatusField, w, y) == static_cast<int32_t>(FillColour)) w++;
        return w;
    }
};

TEST_F(ScoreScreen, DetailsShowTheRatingsAsBars) {
    EntryDetails(0);
    EXPECT_EQ(GetPixel(StatusField, 0, 0), static_cast<int32_t>(StripColour));   // health strip
    EXPECT_EQ(GetPixel(StatusField, 0, 10), static_cast<int32_t>(StripColour));  // ammunition strip
    EXPECT_EQ(FillWidth(25), 172);  // 4 x 18.5 + 98
    EXPECT_EQ(FillWidth(35), 283);
    EXPECT_EQ(FillWidth(45), 98);
    EXPECT_EQ(FillWidth(55), 300);  // 301.5 runs past the bar
    EXPECT_EQ(GetPixel(StatusField, 100, 32), static_cast<int32_t>(StripColour));  // below the 7-high fill
    EXPECT_NE(GetPixel(StatusField, 5, 22), 0xFFFFFF);  // the old picture is cleared
    EXPECT_EQ(StatusField.TextColour, RGB(0x00, 0x00, 0x80));  // the status bar's colour back
}

TEST_F(ScoreScreen, TheHoveredRowIsShownInDetail) {
    MenuHoverY = 50 + 14 * 1;
    HighScoresScreen();
    EXPECT_EQ(FillWidth(25), 246);  // entry 1's accuracy 8
    EXPECT_EQ(FillWidth(35), 135);
    EXPECT_TRUE(DrawnAs(Field, "Player1", 30, 193, 12, true, RGB(0, 0, 0x80)));
    // Each pass leaves Field's text as every screen does.
    EXPECT_TRUE(Field.TextColour == RGB(0xC0, 0xFF, 0xC0) && Field.FontSize == 8 && !Field.FontBold);

    // A hover on a row without a record selects nothing.
    CreateSurface(StatusField, 300, 78, RGB(255, 255, 255));
    MenuHoverY = 50 + 14 * 5;
    HighScoresScreen();
    EXPECT_EQ(GetPixel(StatusField, 0, 25), 0xFFFFFF);
}

TEST_F(ScoreScreen, MainMenuLeavesOnlyWhenNoNameIsTyped) {
    EnteringName = True;
    NewEntryIndex = 2;
    MenuClickedY = 260;
    HighScoresScreen();
    EXPECT_EQ(MenuCode, "HS");
    EXPECT_EQ(MenuClickedY, 0);

    EnteringName = False;
    MenuClickedY = 260;
    HighScoresScreen();
    EXPECT_EQ(MenuCode, "");
    EXPECT_EQ(MenuClickedY, 0);  // the main menu's item at the same place is not clicked
}

TEST_F(ScoreScreen, NameEntryRunsOnTheScreenUntilEnter) {
    CreateSurface(EnterText, 150, 30, 0);
    for (int y = 0; y < 15; y++)
        for (int x = 0; x < 150; x++) SetPixel(EnterText, x, y, RGB(10, 20, 30));
    FillSurface(Field, RGB(255, 255, 255));
    EnteringName = True;
    NewEntryIndex = 3;
    TopScores[3].Score = "150  ";
    YourNameTextInput("zed");
    HighScoresScreen();
    EXPECT_EQ(TopScores[3].Name, "Zed");
    EXPECT_EQ(GetPixel(Field, 82, 92), static_cast<int32_t>(RGB(10, 20, 30)));
    EXPECT_EQ(GetPixel(Field, 231, 106), static_cast<int32_t>(RGB(10, 20, 30)));
    EXPECT_EQ(GetPixel(Field, 81, 92), 0xFFFFFF);
    EXPECT_FALSE(FileExistsOnDisk(Dir + "/AtopDv118.dvk"));

    TestSetKey(DIK_RETURN, true);
    HighScoresScreen();
    EXPECT_EQ(EnteringName, False);
    EXPECT_EQ(MenuCode, "HS");
    EXPECT_TRUE(FileExistsOnDisk(Dir + "/AtopDv118.dvk"));
    EXPECT_TRUE(IsPicked(LocalPick, TopScores[3]));  // the game just named, ready to watch
    TestSetKey(DIK_RETURN, false);
    // The tenth place too.
    EnteringName = True;
    NewEntryIndex = 9;
    TopScores[9].Score = "10   ";
    YourNameTextInput("ten");
    HighScoresScreen();
    TestSetKey(DIK_RETURN, true);
    HighScoresScreen();
    TestSetKey(DIK_RETURN, false);
    EXPECT_EQ(EnteringName, False);
    EXPECT_TRUE(IsPicked(LocalPick, TopScores[9]));
    PickEntry(LocalPick, nullptr);
}

TEST_F(ScoreScreen, WorldScoresItemOpensTheWorldTableWhenNoNameIsTyped) {
    SetTestConnected(0);  // offline: the last table is still worth seeing
    EnteringName = True;
    NewEntryIndex = 2;
    CursorX = 170, CursorY = 266, MouseLeft = -1;  // on "WORLD SCORES" (165, 260)
    HighScoresScreen();
    EXPECT_EQ(MenuCode, "HS");
    EnteringName = False;
    MouseLeft = -1;
    HighScoresScreen();
    EXPECT_EQ(MenuCode, "WS");
    EXPECT_EQ(MenuClickedY, 0);
    SetTestConnected(-1);
}

TEST_F(ScoreScreen, HighScoresShowTheWorldTablesUpdateLines) {
    WorldReadCounter = 0;
    std::ofstream(Dir + "/Vedov.dvk") << "END\r\n57\r\n05.12.2026\r\n";
    CursorX = 35, CursorY = 231;  // over the line at (30, 226)
    HighScoresScreen();
    EXPECT_EQ(MenuHoverText, "LAST UPDATE: 05.12.2026");
    CursorY = 242;
    HighScoresScreen();
    EXPECT_EQ(MenuHoverText, "UPLOADS BY ALL USERS: 57");
}

class WorldScreen : public ScoreScreen {
protected:
    void SetUp() override {
        ScoreScreen::SetUp();
        MenuCode = "WS";
        SetTestConnected(1);
        ScoreServerHost = "127.0.0.1";
        ScoreServerPort = 1;  // nobody listens: an exchange ends at once
        VersionFileUrl.clear();
        SendScores = 8;
        WorldReadCounter = 1;  // the table below is the one in memory
        LastUpdateText = "05.12.2026";
        for (int k = 0; k <= 500; k++) {
            WorldScores[k] = ScoreRecord{};
            WorldMarks[k] = 0;
        }
        // 120 records; even ones from the last update day, odd ones older.
        for (int k = 0; k < 120; k++) {
            WorldScores[k].Score = std::to_string(5000 - k);
            WorldScores[k].Name = "W" + std::to_string(k);
            WorldScores[k].Date = k % 2 ? "20261101" : "20261205";
        }
        WorldScroll = 51;
        WorldScrollOffset = 0;
        LoadingText.clear();
    }
    void TearDown() override {
        SetTestConnected(-1);
        ScoreServerHost.clear();
        SendScores = 8;
        ScoreScreen::TearDown();
    }
    // First and last entry shown: the screen marks exactly the rows it draws.
    std::pair<int, int> RowsShown() const {
        int first = -1, last = -1;
        for (int k = 0; k <= 500; k++)
            if (WorldMarks[k] != 0) {
                if (first < 0) first = k;
                last = k;
            }
        return {first, last};
    }
    void Pass() {
        for (auto& m : WorldMarks) m = 0;
        WorldScoresScreen();
    }
    void ClickAt(int x, int y) {
        CursorX = x, CursorY = y, MouseLeft = -1;
        MenuHoverText.clear();
        WorldScoresScreen();
        MouseLeft = 0;
    }
};

TEST_F(WorldScreen, SliderDragAndItsLimits) {
    Pass();
    EXPECT_EQ(RowsShown(), std::make_pair(0, 9));
    CursorX = 275, MouseLeft = -1;
    CursorY = 100;  // knob 93: offset 42 x 90 / 124 = 30.5
    Pass();
    EXPECT_EQ(SliderKnobY, 93);
    EXPECT_EQ(RowsShown(), std::make_pair(30, 39));
    CursorY = 205;  // knob held at 175: offset 90
    Pass();
    EXPECT_EQ(SliderKnobY, 175);
    EXPECT_DOUBLE_EQ(WorldScrollOffset, 90);
    EXPECT_EQ(RowsShown(), std::make_pair(90, 99));
    CursorY = 40;  // above the slider: held at 51
    Pass();
    EXPECT_EQ(RowsShown(), std::make_pair(0, 9));
    // Outside the slider's strip the button does nothing.
    for (auto [x, y] : {std::pair{270, 100}, {280, 100}, {275, 37}, {275, 217}}) {
        CursorX = x, CursorY = y;
        Pass();
        EXPECT_EQ(SliderKnobY, 51) << x << "," << y;
    }
}

TEST_F(WorldScreen, MarksAndConvertedNames) {
    WorldScores[2].Date = "20261231";  // after the update day: new as well
    WorldScores[3].Date = "????????";  // unknown: keeps its mark
    WorldMarks[3] = 2;
    WorldScores[0].Name = "Jos\xE9";  // the file's code page
    CursorX = 90, CursorY = 55;        // over row 0's name
    WorldScoresScreen();
    EXPECT_EQ(WorldMarks[0], 1);
    EXPECT_EQ(WorldMarks[1], 2);
    EXPECT_EQ(WorldMarks[2], 1);
    EXPECT_EQ(WorldMarks[3], 2);
    EXPECT_EQ(MenuHoverText, "Jos\xC3\xA9");
}

TEST_F(WorldScreen, MainMenuLeavesWithoutClickingTheMenusItemThere) {
    ClickAt(35, 266);  // on "MAIN MENU" (30, 260)
    EXPECT_EQ(MenuCode, "");
    EXPECT_EQ(MenuClickedY, 0);
}

TEST_F(WorldScreen, TheHoveredRowAloneIsShownInDetail) {
    PickEntry(WorldPick, nullptr);
    CursorX = 35, CursorY = 198;  // over the detail's name line at (30, 193)
    MenuHoverText.clear();
    WorldScoresScreen();
    EXPECT_EQ(MenuHoverText, "");  // nothing hovered, nothing picked: no detail
    MenuHoverY = 50 + 14 * 2;
    MenuHoverText.clear();
    WorldScoresScreen();
    EXPECT_EQ(MenuHoverText, "W2");
    MenuHoverY = 50 + 14 * 2, CursorX = -1000;
    CreateSurface(Field, 300, 300);
    WorldScoresScreen();
    EXPECT_TRUE(DrawnAs(Field, "W2", 30, 193, 12, true, RGB(0, 0, 0x80)));
    EXPECT_TRUE(Field.TextColour == RGB(0xC0, 0xFF, 0xC0) && Field.FontSize == 8 && !Field.FontBold);
}

TEST_F(WorldScreen, SynchronizeNeedsAConnectionAndAServer) {
    struct Case {
        int connected;
        const char* host;
        bool runs;
        const char* hint;
    };
    for (Case c : {Case{1, "127.0.0.1", true, ""}, Case{0, "127.0.0.1", false, "PLEASE CONNECT FIRST"},
                   Case{1, "", false, "NO SCORE SERVER SET"}, Case{0, "", false, "NO SCORE SERVER SET"}}) {
        SetTestConnected(c.connected);
        ScoreServerHost = c.host;
        LoadingText.clear();
        ClickAt(130, 266);  // on "SYNCHRONIZE SCORES" (125, 260)
        EXPECT_EQ(!LoadingText.empty(), c.runs) << c.connected << c.host;
        MenuHoverText.clear();
        CursorX = 130, CursorY = 254;  // on the hint at (125, 250)
        WorldScoresScreen();
        EXPECT_EQ(MenuHoverText, c.hint) << c.connected << c.host;
    }
}

TEST_F(WorldScreen, SendSwitchIsKeptInTheServerFile) {
    fs::create_directories(Dir + "/OtherFiles");
    const std::string file = Dir + "/OtherFiles/Server.txt";
    std::ofstream(file) << "FTP HOST            =my.example\r\nSEND MY SCORES      =8\r\nEND\r\n";
    ClickAt(185, 230);  // on "SEND MY SCORES"
    EXPECT_EQ(SendScores, 0);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(file, text));
    EXPECT_EQ(ParseServerFile(text).SendScores, 0);
    EXPECT_EQ(ParseServerFile(text).Host, "my.example");
    ClickAt(185, 230);
    EXPECT_EQ(SendScores, 8);
    LoadServerFile();
    EXPECT_EQ(SendScores, 8);
    EXPECT_EQ(ScoreServerHost, "my.example");
}

}  // namespace
