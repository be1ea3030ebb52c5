// The options screen: its check boxes and labels, the play time, the sound rows
// and the display switch.
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/WorkWithMemory.h"
#include "menus/Menus.h"
#include "platform/Net.h"
#include "platform/Window.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "support/DrawnText.h"
#include "support/TempDir.h"
#include "worldscores/FTPmod.h"

namespace {
constexpr COLORREF On = RGB(0, 200, 0), Off = RGB(200, 0, 0);
const char* NoText = "(nothing hovered)";

class OptionsScreenTest : public ::testing::Test {
protected:
    TempGameDir Dir;
    void SetUp() override {
        ResetGameState();
        CreateSurface(Field, 300, 300);
        // The check box picture: the "on" cell at x 0, the "off" cell at x 8.
        CreateSurface(Check, 16, 8, Off);
        for (int y = 0; y < 8; y++)
            for (int x = 0; x < 8; x++) SetPixel(Check, x, y, On);
        MenuCode = "OPTIONS";
        MenuHoverText.clear();
        MenuHoverY = MenuClickedY = 0;
        SetTestConnected(0);
    }
    void TearDown() override { SetTestConnected(-1); }
    // One pass with the mouse over the item drawn at (x, y); its text, if any.
    static std::string TextAt(int x, int y) {
        MenuHoverText = NoText;
        CursorX = x + 1;
        CursorY = y + 5;
        MouseLeft = 0;
        OptionsScreen();
        return MenuHoverText;
    }
    static void ClickAt(int x, int y) {
        CursorX = x + 1;
        CursorY = y + 5;
        MouseLeft = -1;
        OptionsScreen();
    }
    static COLORREF Box(int x, int y) { return static_cast<COLORREF>(GetPixel(Field, x + 4, y + 4)); }
    std::string FileLine(int n) const {
        std::string all = Dir.Read("OtherFiles/Options.txt");
        size_t at = 0;
        for (int i = 1; i < n; i++) at = all.find("\r\n", at) + 2;
        return all.substr(at, all.find("\r\n", at) - at);
    }
};

struct CheckRow {
    Integer* Setting;
    int BoxX, BoxY, LabelX, LabelY;
    const char* Label;
};
const CheckRow Rows[] = {
    {&OptSnow, 30, 53, 42, 50, "Snow"},
    {&OptBulletFly, 30, 63, 42, 60, "Bullet fly effect"},
    {&OptBloodFly, 30, 73, 42, 70, "Blood (fly)"},
    {&OptBloodStays, 30, 83, 42, 80, "Blood stays on ground"},
    {&OptFootSteps, 30, 93, 42, 90, "Foot-steps"},
    {&OptDebugInfo, 30, 103, 42, 100, "Debug info"},
    {&OptScoreInfo, 30, 113, 42, 110, "Score info (YourScore,Place in front and his score)"},
    {&OptAlphaBlend, 150, 53, 162, 51, "AlphaBlend (transp.)"},
    {&OptKillsInRow, 150, 63, 162, 61, "KillsInRow (status bar)"},
};
}  // namespace

TEST_F(OptionsScreenTest, EachRowShowsAndTogglesItsOwnSetting) {
    for (const CheckRow& row : Rows) {
        SCOPED_TRACE(row.Label);
        for (const CheckRow& other : Rows) *other.Setting = 8;
        *row.Setting = 0;
        EXPECT_EQ(TextAt(row.LabelX, row.LabelY), row.Label);
        for (const CheckRow& other : Rows) EXPECT_EQ(Box(other.BoxX, other.BoxY), &other == &row ? On : Off);

        ClickAt(row.LabelX, row.LabelY);
        EXPECT_EQ(*row.Setting, 8);
        for (const CheckRow& other : Rows) EXPECT_EQ(*other.Setting, 8);
        // Any value but 0 turns the setting on.
        *row.Setting = 5;
        ClickAt(row.LabelX, row.LabelY);
        EXPECT_EQ(*row.Setting, 0);
    }
}

TEST_F(OptionsScreenTest, HeadingsAreBoldAndTheRowsPlain) {
    CreateSurface(Logo, 107, 48, RGB(0, 0, 0));  // picture above, black mask below
    for (int y = 0; y < 24; y++)
        for (int x = 0; x < 107; x++) SetPixel(Logo, x, y, RGB(9, 9, 9));
    CursorX = CursorY = -100;
    OptionsScreen();
    FreeSurface(Logo);
    EXPECT_EQ(GetPixel(Field, 160, 23), static_cast<int32_t>(RGB(9, 9, 9)));  // the small logo at (160, 23)
    EXPECT_EQ(GetPixel(Field, 160, 22), 0);
    EXPECT_TRUE(DrawnAs(Field, "OPTIONS", 30, 25, 10, true, RGB(0, 0, 0x80)));
    EXPECT_TRUE(DrawnAs(Field, "GAME INFO", 30, 175, 10, true, RGB(0, 0, 0x80)));
    EXPECT_TRUE(DrawnAs(Field, "Snow", 42, 50, 8, false, RGB(0, 0, 0x80)));
    EXPECT_TRUE(DrawnAs(Field, "Times played: 0", 30, 235, 8, false, RGB(0, 0, 0x80)));
}

TEST_F(OptionsScreenTest, PlayTimeInDaysHoursAndMinutes) {
    struct Case {
        Long Minutes;
        const char *Days, *Hours, *Mins;
    };
    const Case cases[] = {{0, "Days: 0", "Hours: 0", "Minutes: 0"},
                          {1439, "Days: 0", "Hours: 23", "Minutes: 59"},
                          {1440, "Days: 1", "Hours: 0", "Minutes: 0"},
                          {1500, "Days: 1", "Hours: 1", "Minutes: 0"},
                          {2 * 1440 + 5 * 60 + 7, "Days: 2", "Hours: 5", "Minutes: 7"},
                          {-61, "Days: 0", "Hours: 0", "Minutes: 0"}};
    TimesPlayed = 31;
    for (const Case& c : cases) {
        PlayMinutes = c.Minutes;
        EXPECT_EQ(TextAt(30, 200), c.Days) << c.Minutes;
        EXPECT_EQ(TextAt(30, 210), c.Hours) << c.Minutes;
        EXPECT_EQ(TextAt(30, 220), c.Mins) << c.Minutes;
    }
    EXPECT_EQ(TextAt(30, 235), "Times played: 31");
    EXPECT_EQ(PlayMinutes, -61);  // shown as zero, kept as read
}

TEST_F(OptionsScreenTest, SoundAndMovementRows) {
    // Volume 0: the volume and the stereo/mono boxes off, the movement box on.
    MusicVolume = 0;
    SoundOff = 0;
    EXPECT_EQ(TextAt(42, 140), "Sound Volume: 0% (Press - and + to change it)");
    EXPECT_EQ(SoundOff, 8);
    EXPECT_EQ(Box(30, 143), Off);
    EXPECT_EQ(Box(30, 153), Off);
    EXPECT_EQ(Box(30, 163), On);

    MusicVolume = 1;
    OptMono = 8;
    OptRealMovement = 8;
    EXPECT_EQ(TextAt(42, 140), "Sound Volume: 1% (Press - and + to change it)");
    EXPECT_EQ(SoundOff, 0);
    EXPECT_EQ(Box(30, 143), On);
    EXPECT_EQ(Box(30, 153), On);  // the sound box follows the volume, not mono
    EXPECT_EQ(Box(30, 163), On);  // and the movement box never changes
    EXPECT_EQ(TextAt(42, 150), "Sound: Mono");
    EXPECT_EQ(TextAt(42, 160), "Movement: Real (Following the cursor)");
    ClickAt(42, 140);  // the volume line is only a label
    EXPECT_EQ(MouseLeft, -1);
    ClickAt(42, 150);
    EXPECT_EQ(OptMono, 0);
    EXPECT_EQ(TextAt(42, 150), "Sound: Stereo");
    ClickAt(42, 160);
    EXPECT_EQ(OptRealMovement, 0);
    EXPECT_EQ(TextAt(42, 160), "Movement: Static (Up, down, left, right)");

    // Values other than 0 and 8 show no label, so they cannot be clicked.
    OptMono = 3;
    OptRealMovement = -8;
    EXPECT_EQ(TextAt(42, 150), NoText);
    EXPECT_EQ(TextAt(42, 160), NoText);
    ClickAt(42, 150);
    ClickAt(42, 160);
    EXPECT_EQ(MouseLeft, -1);
    EXPECT_EQ(OptMono, 3);
    EXPECT_EQ(OptRealMovement, -8);
}

TEST_F(OptionsScreenTest, MainMenuLeavesAtOnceAndTheConnectionIsRefreshed) {
    SetTestConnected(1);
    ClickAt(30, 260);
    EXPECT_EQ(MenuCode, "");
    EXPECT_EQ(Connected, -1);
    EXPECT_EQ(GetPixel(Field, 34, 57), 0);  // no row drawn
    SetTestConnected(0);
    MenuCode = "OPTIONS";
    OptionsScreen();
    EXPECT_EQ(Connected, 0);
    EXPECT_EQ(Box(30, 53), On);
}

TEST_F(OptionsScreenTest, FullScreenThatCannotBeSetFallsBackToAWindow) {
    CloseWindow();  // no display to switch
    OptFullScreen = 8;
    const int boxes = TestMessageBoxCount();
    ClickAt(42, 125);
    EXPECT_EQ(TestMessageBoxCount(), boxes + 1);
    // Says what failed and why, and gives no advice about other systems.
    EXPECT_EQ(TestLastMessageBoxText().rfind("The display could not be switched to full screen: ", 0), 0u);
    EXPECT_EQ(TestLastMessageBoxText().find("DirectX"), std::string::npos);
    EXPECT_EQ(OptFullScreen, 8);
    EXPECT_EQ(Box(30, 128), Off);
    EXPECT_EQ(FieldOffsetX, 0);
    EXPECT_EQ(FieldOffsetY, 0);
}

TEST_F(OptionsScreenTest, FullScreenClickedTwiceSwitchesAndComesBack) {
    const char* drv = std::getenv("SDL_VIDEODRIVER");
    if (!drv || std::string(drv) != "dummy") GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    setenv("SDL_RENDER_DRIVER", "software", 1);
    WindowCaption = "Dorvik - Der ur Uruzu 1.22 - 01.01.2026.";
    ASSERT_TRUE(OpenWindow("Dorvik", 300, 379)) << WindowError();  // the switch names it in full
    const int boxes = TestMessageBoxCount();
    OptFullScreen = 8;

    ClickAt(42, 125);
    EXPECT_EQ(OptFullScreen, 0);
    EXPECT_EQ(FileLine(13), " 8 ");  // saved by the click, before the switch
    EXPECT_EQ(FieldOffsetX, 170);
    EXPECT_EQ(FieldOffsetY, 50);
    EXPECT_EQ(GetWindowCaption(), WindowCaption);  // task bars still name the window

    MenuClickedY = 0;
    ClickAt(42, 125);
    EXPECT_EQ(OptFullScreen, 8);
    EXPECT_EQ(FileLine(13), " 0 ");
    EXPECT_EQ(FieldOffsetX, 0);
    EXPECT_EQ(FieldOffsetY, 0);
    EXPECT_EQ(GetWindowCaption(), WindowCaption);
    EXPECT_EQ(TestMessageBoxCount(), boxes);
    // Back to a window just big enough for the field and the status bar.
    CreateSurface(StatusField, 300, 78);
    PresentForm();
    std::vector<uint32_t> screen;
    int w = 0, h = 0;
    ASSERT_TRUE(TestReadScreen(screen, w, h));
    EXPECT_EQ(std::pair(w, h), std::pair(300, 379));
    CloseWindow();
    unsetenv("SDL_RENDER_DRIVER");
}
