// The menu item: its hit box, colours, hover and click; and the main menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "graphics/WorkWithMemory.h"
#include "menus/MenuEffects.h"
#include "menus/Menus.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "support/DrawnText.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"
#include "support/UnitFiles.h"

namespace {
constexpr COLORREF Navy = RGB(0, 0, 0x80), White = RGB(255, 255, 255), Blue = RGB(0, 0, 255);
int ExitCode = -2;

class Menu : public ::testing::Test {
protected:
    TempGameDir Dir;
    void (*SavedEnd)(int) = nullptr;
    void SetUp() override {
        ResetGameState();
        CreateSurface(Field, 300, 300);
        MenuHoverText.clear();
        MenuHoverY = 0;
        MenuClickedY = 0;
        ExitCode = -2;
        SavedEnd = EndProcess;
        EndProcess = [](int code) { ExitCode = code; };
    }
    void TearDown() override { EndProcess = SavedEnd; }
    // Whether the item is drawn hovered with the cursor at (x, y).
    static bool HoveredAt(int x, int y, const std::string& text, int itemX, int itemY, int size) {
        CursorX = x;
        CursorY = y;
        MenuItem(text, itemX, itemY, size, -1);
        return MenuTextColour == White;
    }
};
}  // namespace

TEST_F(Menu, StrictHitBoxOfASize10Item) {
    // "ABCDE" at (30, 50), size 10: s = 8, so 30 < x < 70 and 52 < y < 62.
    EXPECT_FALSE(HoveredAt(30, 57, "ABCDE", 30, 50, 10));
    EXPECT_TRUE(HoveredAt(31, 57, "ABCDE", 30, 50, 10));
    EXPECT_TRUE(HoveredAt(69, 57, "ABCDE", 30, 50, 10));
    EXPECT_FALSE(HoveredAt(70, 57, "ABCDE", 30, 50, 10));
    EXPECT_FALSE(HoveredAt(40, 52, "ABCDE", 30, 50, 10));
    EXPECT_TRUE(HoveredAt(40, 53, "ABCDE", 30, 50, 10));
    EXPECT_TRUE(HoveredAt(40, 61, "ABCDE", 30, 50, 10));
    EXPECT_FALSE(HoveredAt(40, 62, "ABCDE", 30, 50, 10));
    // Size 9 away from the score screens: s = 7, box 30 < x < 65, 52 < y < 61.
    EXPECT_TRUE(HoveredAt(64, 60, "ABCDE", 30, 50, 9));
    EXPECT_FALSE(HoveredAt(65, 57, "ABCDE", 30, 50, 9));
    EXPECT_FALSE(HoveredAt(40, 61, "ABCDE", 30, 50, 9));
}

TEST_F(Menu, ScoreScreensShrinkSmallItems) {
    for (const char* code : {"HS", "WS"}) {
        MenuCode = code;
        // Size 9: s = 7 < 8 becomes 5: 30 < x < 55 and 52 < y < 59.
        EXPECT_TRUE(HoveredAt(54, 58, "ABCDE", 30, 50, 9)) << code;
        EXPECT_FALSE(HoveredAt(55, 55, "ABCDE", 30, 50, 9)) << code;
        EXPECT_FALSE(HoveredAt(40, 59, "ABCDE", 30, 50, 9)) << code;
        EXPECT_FALSE(HoveredAt(40, 52, "ABCDE", 30, 50, 9)) << code;
        // Size 10 keeps s = 8.
        EXPECT_TRUE(HoveredAt(69, 61, "ABCDE", 30, 50, 10)) << code;
        EXPECT_FALSE(HoveredAt(70, 57, "ABCDE", 30, 50, 10)) << code;
    }
}

TEST_F(Menu, ColoursAndEmptyText) {
    CursorX = 5;
    CursorY = 5;
    MenuItem("Label", 30, 50, 10, 0);
    EXPECT_EQ(MenuTextColour, Navy);
    EXPECT_EQ(Field.TextColour, Navy);
    EXPECT_EQ(Field.FontSize, 10);
    CursorX = 35;
    CursorY = 57;
    MenuItem("Label", 30, 50, 10, 0);
    EXPECT_EQ(MenuTextColour, Blue);   // hovered but not clickable
    EXPECT_EQ(Field.TextColour, Navy);  // reset after drawing
    // An empty value is "0": one character wide.
    EXPECT_TRUE(HoveredAt(37, 57, "", 30, 50, 10));
    EXPECT_FALSE(HoveredAt(38, 57, "", 30, 50, 10));
    EXPECT_EQ(MenuHoverText, "0");
}

TEST_F(Menu, HoverSoundOncePerItem) {
    LoadProbeSounds({23, 25});
    MusicVolume = 100;
    auto hover = [](int x, int y, const char* text, int itemY, Integer active) {
        StopAllProbeSounds({23, 25});
        CursorX = x;
        CursorY = y;
        MenuItem(text, 30, itemY, 10, active);
        return Playing(23);
    };
    EXPECT_TRUE(hover(35, 57, "FIRST", 50, -1));
    EXPECT_EQ(MenuHoverY, 50);
    EXPECT_FALSE(hover(36, 58, "FIRST", 50, -1));  // still on it
    // Off every item and back: the memory stays, no second sound.
    EXPECT_FALSE(hover(200, 57, "FIRST", 50, -1));
    EXPECT_EQ(MenuHoverText, "FIRST");
    EXPECT_FALSE(hover(35, 57, "FIRST", 50, -1));
    // Another item sounds; a label is silent but still remembered.
    EXPECT_TRUE(hover(35, 82, "SECOND", 75, -1));
    EXPECT_EQ(MenuHoverY, 75);
    EXPECT_FALSE(hover(35, 32, "TITLE", 25, 0));
    EXPECT_EQ(MenuHoverText, "TITLE");
    EXPECT_TRUE(hover(35, 82, "SECOND", 75, -1));
    // A click sounds the click, not the hover.
    MouseLeft = -1;
    EXPECT_FALSE(hover(35, 82, "SECOND", 75, -1));
    EXPECT_TRUE(Playing(25));
    FreeSounds();
}

TEST_F(Menu, AHeldButtonClicksOnlyTheFirstItemAndSavesTheOptions) {
    MouseLeft = -1;
    // Over a label nothing happens and the button stays held.
    CursorX = 35;
    CursorY = 32;
    MenuItem("TITLE", 30, 25, 10, 0);
    EXPECT_EQ(MouseLeft, -1);
    EXPECT_EQ(MenuClickedY, 0);
    EXPECT_FALSE(std::filesystem::exists(Dir.File("OtherFiles/Options.txt")));

    CursorY = 57;
    MenuItem("FIRST", 30, 50, 10, -1);
    EXPECT_EQ(MenuClickedY, 50);
    EXPECT_EQ(MouseLeft, 0);
    EXPECT_TRUE(std::filesystem::exists(Dir.File("OtherFiles/Options.txt")));
    EXPECT_EQ(MenuHoverY, 0);  // a click does not count as hovering

    // Still holding, onto the next item: no second click.
    MenuClickedY = 0;
    CursorY = 82;
    MenuItem("SECOND", 30, 75, 10, -1);
    EXPECT_EQ(MenuClickedY, 0);
    EXPECT_EQ(MenuHoverY, 75);
}

TEST_F(Menu, MainMenuItemsAndActions) {
    CreateSurface(LogoFull, 107, 80, RGB(0, 0, 0));
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 107; x++) SetPixel(LogoFull, x, y, RGB(9, 9, 9));
    auto clickAt = [](int y) {
        CursorX = 35;
        CursorY = y + 7;
        MouseLeft = -1;
        MainMenuScreen();
    };

    // "RESUME GAME" exists only while paused.
    GameRunning = -1;
    clickAt(25);
    EXPECT_EQ(MouseLeft, -1);
    GamePaused = -1;
    LoadProbeSounds({22, 26});
    MixerPlay(SoundBuffer(26), true);
    clickAt(25);
    EXPECT_EQ(GamePaused, 0);
    EXPECT_EQ(GameRunning, -1);
    EXPECT_EQ(MenuClickedY, 0);
    // The battle music goes on, the menu music stops.
    EXPECT_TRUE(Playing(22));
    EXPECT_FALSE(Playing(26));
    StopAllProbeSounds({22, 26});
    // Every screen leaves the field's text light green, size 8, not bold.
    EXPECT_EQ(Field.TextColour, RGB(0xC0, 0xFF, 0xC0));
    EXPECT_EQ(Field.FontSize, 8);
    EXPECT_FALSE(Field.FontBold);
    EXPECT_EQ(GetPixel(Field, 160, 30), static_cast<int32_t>(RGB(9, 9, 9)));
    EXPECT_EQ(GetPixel(Field, 266, 69), static_cast<int32_t>(RGB(9, 9, 9)));
    EXPECT_EQ(GetPixel(Field, 267, 30), 0);

    const std::pair<int, const char*> screens[] = {{75, "HS"}, {100, "OPTIONS"}, {125, "HELP"}, {150, "ABOUT"}};
    for (auto [y, code] : screens) {
        MenuCode = "";
        clickAt(y);
        EXPECT_EQ(MenuCode, code) << y;
    }

    MenuCode = "";
    GameRunning = 0;
    Dir.Write("OtherFiles/DEFAULT.txt", OddDefaultFile());
    clickAt(50);
    EXPECT_EQ(GameRunning, -1);
    EXPECT_EQ(Units[0].UnitName, "Rookie");

    EXPECT_EQ(ExitCode, -2);
    clickAt(260);
    EXPECT_EQ(ExitCode, 0);
}

TEST_F(Menu, HelpAndCreditsTitlesAndHeadingsAreBold) {
    auto drawnAs = [](const char* text, int x, int y, int size, bool bold) {
        return DrawnAs(Field, text, x, y, size, bold, Navy);
    };
    // The small logo: picture above, black mask below.
    CreateSurface(Logo, 107, 48, RGB(0, 0, 0));
    for (int y = 0; y < 24; y++)
        for (int x = 0; x < 107; x++) SetPixel(Logo, x, y, RGB(9, 9, 9));
    // Each screen ends with the logo at (160, 30) and the field's text light green, size 8, not bold.
    auto endsTheScreen = [] {
        EXPECT_EQ(GetPixel(Field, 160, 30), static_cast<int32_t>(RGB(9, 9, 9)));
        EXPECT_EQ(GetPixel(Field, 266, 52), static_cast<int32_t>(RGB(9, 9, 9)));
        EXPECT_EQ(GetPixel(Field, 266, 53), 0);
        EXPECT_EQ(Field.TextColour, RGB(0xC0, 0xFF, 0xC0));
        EXPECT_EQ(Field.FontSize, 8);
        EXPECT_FALSE(Field.FontBold);
    };
    CursorX = CursorY = -100;
    MenuCode = "HELP";
    HelpScreen();
    endsTheScreen();
    EXPECT_TRUE(drawnAs("HELP ME", 30, 25, 10, true));
    EXPECT_FALSE(drawnAs("HELP ME", 30, 25, 10, false));
    EXPECT_TRUE(drawnAs("GAME KEYS:", 30, 50, 8, true));
    EXPECT_FALSE(drawnAs("GAME KEYS:", 30, 50, 8, false));
    EXPECT_TRUE(drawnAs("Left mouse click for shooting", 30, 60, 8, false));
    CreateSurface(Field, 300, 300);
    MenuCode = "ABOUT";
    CreditsScreen();
    EXPECT_TRUE(drawnAs("ABOUT", 30, 25, 10, true));
    EXPECT_TRUE(drawnAs("Creators of Dorvik :", 30, 80, 10, true));
    EXPECT_TRUE(drawnAs("Pictures, sounds and music", 30, 120, 8, false));
    endsTheScreen();
    FreeSurface(Logo);
}

// Each time the cursor moves two drops fly out of it, in any direction, and
// then run down the screen, fading for 15 to 39 passes; a splash is 25 drops.
TEST_F(Menu, BloodFromTheMovingCursorFliesOutAndRunsDown) {
    struct Pixel {
        int X, Y, Red;
    };
    auto bloodOnField = [] {
        std::vector<Pixel> px;
        for (int y = 0; y < 300; y++)
            for (int x = 0; x < 300; x++) {
                const int32_t c = GetPixel(Field, x, y);
                if (c != 0) px.push_back({x, y, c & 0xFF});
            }
        return px;
    };
    auto pass = [] {
        FillSurface(Field, 0);
        MenuEffects();
    };
    int trials = 0, minRed = 255, maxRed = 0, minX = 300, maxX = 0, minY = 300, fallen = 0, falls = 0;
    for (int t = 0; t < 300; t++) {
        RandomizeEffects(1000 + t);
        OptBloodFly = 8;
        MenuEffects();  // switched off: no drop left
        OptBloodFly = 0;
        CursorX = 150 + t % 2, CursorY = 150;  // moved since the last pass
        pass();
        const int drops = MenuBloodDrops();
        ASSERT_TRUE(drops == 2 || drops == 27 || (t == 0 && drops == 0)) << drops;
        if (drops != 2) continue;  // a splash landed as well
        trials++;
        const std::vector<Pixel> first = bloodOnField();
        int lowestFirst = 0;
        for (const Pixel& p : first) {
            // Two pixels tall (the other drop may cover one of them).
            const bool pair = std::any_of(first.begin(), first.end(),
                                          [&](const Pixel& q) { return q.X == p.X && std::abs(q.Y - p.Y) == 1; });
            ASSERT_TRUE(pair) << p.X << "," << p.Y;
            minRed = std::min(minRed, p.Red), maxRed = std::max(maxRed, p.Red);
            minX = std::min(minX, p.X - CursorX), maxX = std::max(maxX, p.X - CursorX);
            minY = std::min(minY, p.Y - CursorY);
            lowestFirst = std::max(lowestFirst, p.Y);
        }
        for (int n = 2; n <= 15 && MenuBloodDrops() == 2; n++) pass();
        if (MenuBloodDrops() != 2) continue;
        int lowest = 0;
        for (const Pixel& p : bloodOnField()) lowest = std::max(lowest, p.Y);
        falls++;
        fallen += lowest - lowestFirst;
    }
    ASSERT_GT(trials, 200);
    // Life 15..39, one pass gone: red 110 + 3 x (14..38).
    EXPECT_EQ(minRed, 152);
    EXPECT_EQ(maxRed, 224);
    // Out of the cursor at under 1.5 pixels a pass, to both sides and upwards.
    EXPECT_EQ(minX, -1);
    EXPECT_EQ(maxX, 1);
    EXPECT_LE(minY, -2);
    // Fifteen passes later they have run down.
    ASSERT_GT(falls, 100);
    EXPECT_GT(fallen / falls, 5);
    OptBloodFly = 8;
    MenuEffects();
}

// Now and then a splash of 25 drops lands anywhere on the menu.
TEST_F(Menu, SplashesLandAllOverTheMenu) {
    int lowX = 300, highX = 0, lowY = 300, highY = 0, splashes = 0;
    CursorX = CursorY = 150;  // the cursor rests
    for (int t = 0; t < 40; t++) {
        RandomizeEffects(2000 + t);
        OptBloodFly = 8;
        MenuEffects();  // no drop left
        OptBloodFly = 0;
        for (int n = 0; n < 500 && MenuBloodDrops() < 25; n++) {
            FillSurface(Field, 0);
            MenuEffects();
        }
        if (MenuBloodDrops() < 25) continue;
        long sumX = 0, sumY = 0, count = 0;
        for (int y = 0; y < 300; y++)
            for (int x = 0; x < 300; x++)
                if (GetPixel(Field, x, y) != 0) sumX += x, sumY += y, count++;
        ASSERT_GT(count, 0);
        splashes++;
        lowX = std::min<int>(lowX, sumX / count), highX = std::max<int>(highX, sumX / count);
        lowY = std::min<int>(lowY, sumY / count), highY = std::max<int>(highY, sumY / count);
    }
    EXPECT_GT(splashes, 30);
    EXPECT_LT(lowX, 60);
    EXPECT_GT(highX, 240);
    EXPECT_LT(lowY, 60);
    EXPECT_GT(highY, 240);
    OptBloodFly = 8;
    MenuEffects();
}

// Moving on from the left edge of the menu still bleeds.
TEST_F(Menu, TheCursorBleedsMovingOnFromTheLeftEdge) {
    OptBloodFly = 8;
    MenuEffects();  // no drop left
    OptBloodFly = 0;
    RandomizeEffects(3);
    int drops = 0;
    for (int x = 0; x <= 1; x++) {
        CursorX = x, CursorY = 100;
        drops = MenuBloodDrops();
        MenuEffects();
    }
    EXPECT_GE(MenuBloodDrops() - drops, 2);
    OptBloodFly = 8;
    MenuEffects();
}
