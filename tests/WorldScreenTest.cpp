// The world score screen: rows, marks against the last update, the slider and
// the connection hint; and which rows the high score screen shows.
#include <gtest/gtest.h>

#include "graphics/WorkWithMemory.h"
#include "menus/Menus.h"
#include "platform/Net.h"
#include "scores/TopScoreList.h"
#include "shell/GameState.h"
#include "support/DrawnText.h"
#include "support/TempDir.h"
#include "worldscores/FTPmod.h"
#include "worldscores/ScoreScreens.h"
#include "worldscores/TopWorldScore.h"

namespace {
constexpr COLORREF New = RGB(0, 200, 0), Unknown = RGB(0, 0, 200), Old = RGB(200, 0, 0);
const char* NoText = "(nothing hovered)";

class WorldScreenRows : public ::testing::Test {
protected:
    TempGameDir Dir;
    void SetUp() override {
        ResetGameState();
        CreateSurface(Field, 300, 300);
        CreateSurface(StatusField, 300, 78);
        // The marks picture: new at y 0, unknown at 9, old at 18.
        CreateSurface(ScoreUpDown, 9, 27, New);
        for (int y = 9; y < 27; y++)
            for (int x = 0; x < 9; x++) SetPixel(ScoreUpDown, x, y, y < 18 ? Unknown : Old);
        for (auto& e : WorldScores) e = ScoreRecord{};
        for (auto& m : WorldMarks) m = 0;
        for (int k = 0; k < 120; k++) {
            WorldScores[k].Score = std::to_string(1000 - k);
            WorldScores[k].Date = "20261101";
        }
        LastUpdateText = "05.12.2026";
        WorldReadCounter = 1;  // the table above is the one in memory
        MenuCode = "WS";
        MenuHoverY = MenuClickedY = 0;
        SetTestConnected(0);
        ScoreServerHost = "scores.example";  // a server is set; only the connection decides
    }
    void TearDown() override {
        SetTestConnected(-1);
        ScoreServerHost.clear();
    }
    // One pass with the mouse at (x, y); the text hovered, if any.
    static std::string TextAt(int x, int y) {
        MenuHoverText = NoText;
        CursorX = x;
        CursorY = y;
        WorldScoresScreen();
        return MenuHoverText;
    }
    static std::string RowNumber(int r) { return TextAt(31, 55 + 14 * r); }
    // The mark's colour, if its whole 9 rows show one cell of the picture.
    static COLORREF Mark(int r) {
        const int32_t top = GetPixel(Field, 79, 53 + 14 * r), bottom = GetPixel(Field, 79, 61 + 14 * r);
        return top == bottom ? static_cast<COLORREF>(top) : RGB(1, 2, 3);
    }
};
}  // namespace

TEST_F(WorldScreenRows, MarksNewAndOldAgainstTheLastUpdateDay) {
    WorldScores[0].Date = "20261205";  // the update day itself
    WorldScores[1].Date = "20261204";
    WorldScores[2].Date = "????????";  // keeps its mark
    WorldScores[3].Date = "20270101";
    WorldMarks[5] = 1;
    WorldScores[5].Date = "????????";
    WorldMarks[6] = 2;
    WorldScores[6].Date = "?";
    TextAt(-100, -100);
    EXPECT_EQ(LastUpdateKey, "20261205");
    const COLORREF marks[7] = {New, Old, Unknown, New, Old, New, Old};
    for (int r = 0; r < 7; r++) EXPECT_EQ(Mark(r), marks[r]) << r;
    EXPECT_EQ(WorldMarks[0], 1);
    EXPECT_EQ(WorldMarks[1], 2);
    EXPECT_EQ(WorldMarks[2], 0);
}

TEST_F(WorldScreenRows, TheRowUnderTheMouseNamesItsPlayerBoldAndItsGamesPlain) {
    WorldScores[2].Name = "Ada";
    WorldScores[2].TimesPlayed = "7";
    EXPECT_EQ(RowNumber(2), "3.");
    EXPECT_TRUE(DrawnAs(Field, "Ada", 30, 193, 12, true, RGB(0, 0, 0x80)));
    EXPECT_TRUE(DrawnAs(Field, "Times played: 7", 30, 210, 8, false, RGB(0, 0, 0x80)));
}

TEST_F(WorldScreenRows, OnlyEntriesAboveZeroAreShown) {
    WorldScores[3].Score = "0    ";
    WorldScores[4].Score = "";
    WorldScores[5].Score = "1    ";
    EXPECT_EQ(RowNumber(2), "3.");
    EXPECT_EQ(RowNumber(3), NoText);
    EXPECT_EQ(Mark(3), 0u);
    EXPECT_EQ(RowNumber(4), NoText);
    EXPECT_EQ(RowNumber(5), "6.");

    // The local table draws its rows by the same rule.
    MenuCode = "HS";
    ScoreReadCounter = 1;
    for (auto& e : TopScores) e = ScoreRecord{};
    TopScores[0].Score = "1    ";
    TopScores[1].Score = "0    ";
    TopScores[0].Name = "Top";
    for (int r : {0, 1}) {
        MenuHoverText = NoText;
        CursorX = 31;
        CursorY = 55 + 14 * r;
        HighScoresScreen();
        EXPECT_EQ(MenuHoverText, r == 0 ? "1." : NoText) << r;
    }
    // The first row, once hovered, is shown in detail below the table.
    MenuHoverY = 50;
    CursorY = 198;
    HighScoresScreen();
    EXPECT_EQ(MenuHoverText, "Top");
}

TEST_F(WorldScreenRows, SliderScrollsNinetyEntries) {
    MouseLeft = -1;
    TextAt(275, 175 + 7);  // the knob to its lowest place
    EXPECT_EQ(SliderKnobY, 175);
    EXPECT_DOUBLE_EQ(WorldScrollOffset, 90);
    MouseLeft = 0;
    EXPECT_EQ(RowNumber(0), "91.");
    EXPECT_EQ(RowNumber(9), "100.");

    MouseLeft = -1;
    TextAt(275, 113 + 7);
    EXPECT_EQ(SliderKnobY, 113);
    EXPECT_DOUBLE_EQ(WorldScrollOffset, 45);
    TextAt(281, 51 + 7);  // beside the slider: nothing moves
    EXPECT_EQ(SliderKnobY, 113);
    TextAt(275, 30 + 7);  // above it the knob does not follow
    EXPECT_EQ(SliderKnobY, 113);
    TextAt(271, 31 + 7);  // near the top it stops at 51
    EXPECT_EQ(SliderKnobY, 51);
    TextAt(279, 209 + 7);  // and at the bottom at 175
    EXPECT_EQ(SliderKnobY, 175);
    TextAt(275, 210 + 7);
    EXPECT_EQ(SliderKnobY, 175);
    TextAt(270, 113 + 7);
    TextAt(280, 113 + 7);
    EXPECT_EQ(SliderKnobY, 175);
    TextAt(275, 51 + 7);
    EXPECT_DOUBLE_EQ(WorldScrollOffset, 0);
    MouseLeft = 0;
    EXPECT_EQ(RowNumber(0), "1.");
    // The cursor keys move the scroll position: the knob follows it.
    WorldScroll = 113;
    WorldScrollOffset = 45;
    TextAt(150, 150);
    EXPECT_EQ(SliderKnobY, 113);
    EXPECT_EQ(WorldScroll, 113);
    EXPECT_EQ(RowNumber(0), "46.");
}

TEST_F(WorldScreenRows, ConnectionHintAndSynchronizeOnlyWhenConnected) {
    EXPECT_EQ(TextAt(126, 254), "PLEASE CONNECT FIRST");
    EXPECT_TRUE(DrawnAs(Field, "WORLD SCORES", 30, 25, 10, true, RGB(0, 0, 0x80)));
    EXPECT_TRUE(DrawnAs(Field, "SYNCHRONIZE SCORES", 125, 260, 10, true, RGB(0, 0, 0x80)));
    MouseLeft = -1;
    TextAt(127, 267);  // "SYNCHRONIZE SCORES" is a label now
    EXPECT_EQ(MouseLeft, -1);
    MouseLeft = 0;
    SetTestConnected(1);
    EXPECT_EQ(TextAt(126, 254), NoText);
    EXPECT_EQ(Connected, -1);
}
