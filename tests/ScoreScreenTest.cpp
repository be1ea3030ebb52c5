// The high score screen over the local table and the record details panel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "graphics/WorkWithMemory.h"
#include "menus/Menus.h"
#include "platform/Files.h"
#include "platform/Window.h"
#include "scores/TopScoreList.h"
#include "shell/GameState.h"
#include "worldscores/ScoreScreens.h"

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
}

TEST_F(ScoreScreen, TheHoveredRowIsShownInDetail) {
    MenuHoverY = 50 + 14 * 1;
    HighScoresScreen();
    EXPECT_EQ(FillWidth(25), 246);  // entry 1's accuracy 8
    EXPECT_EQ(FillWidth(35), 135);

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
}

}  // namespace
