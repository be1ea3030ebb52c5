// The scaled window: the scale it opens at and remembers, the same field pixel
// under the pointer at every scale and in full screen, the display switch
// telling the truth, and the pause when the window loses the focus.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "graphics/WorkWithMemory.h"
#include "input/DirectInputMod.h"
#include "menus/Options.h"
#include "platform/Files.h"
#include "platform/Window.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "support/TempDir.h"

namespace {
bool DummyVideo() {
    const char* d = std::getenv("SDL_VIDEODRIVER");
    return d && std::string(d) == "dummy";
}

// A dummy window drawn by our own scaler, with the game's handlers.
struct DummyWindow {
    DummyWindow() {
        setenv("SDL_RENDER_DRIVER", "software", 1);
        unsetenv("DISPLAY");  // D-Bus must not look for a session through X
        ResetGameState();
        WindowCaption = "Dorvik - test";
        Ok = OpenWindow(WindowCaption, 300, 379);
        InstallWindowHandlers();
        CreateSurface(Field, 300, 300, RGB(0, 80, 0));
        CreateSurface(StatusField, 300, 78, RGB(90, 90, 90));
        CreateSurface(MenuField, 300, 300);
        CreateSurface(MainMenu, 270, 270, RGB(0, 0, 200));
        TestUseRealMouse();
    }
    ~DummyWindow() {
        CloseWindow();
        unsetenv("SDL_RENDER_DRIVER");
    }
    bool Ok = false;
};

void Present() { PresentForm(); }
}  // namespace

TEST(WindowScale, OpensAtTheLargestScaleThatFitsOrTheRememberedOne) {
    // 85 % of the usable height: 2x on a 1080p desktop, 3x on 1440p, 4x on 2160p.
    EXPECT_EQ(StartScale(1920, 1050, 300, 379, 0), 2);
    EXPECT_EQ(StartScale(2560, 1400, 300, 379, 0), 3);
    EXPECT_EQ(StartScale(3840, 2120, 300, 379, 0), 4);
    EXPECT_EQ(StartScale(1024, 738, 300, 379, 0), 1);
    EXPECT_EQ(StartScale(800, 300, 300, 379, 0), 1);  // never below 1
    // The player's choice wins while the desktop can hold it.
    EXPECT_EQ(StartScale(1920, 1050, 300, 379, 1), 1);
    EXPECT_EQ(StartScale(2560, 1400, 300, 379, 2), 2);
    EXPECT_EQ(StartScale(1920, 1050, 300, 379, 3), 2);  // 1137 high does not fit
}

TEST(WindowScale, RememberedScaleSurvivesRestartsAndDamage) {
    TempGameDir dir;
    EXPECT_EQ(RememberedWindowScale(), 0);
    RememberWindowScale(3);
    EXPECT_EQ(RememberedWindowScale(), 3);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(GamePath("\\OtherFiles\\Window.txt"), text));
    EXPECT_EQ(text, "Scale                3\r\nEND\r\n");
    for (const char* bad :
         {"", "Scale\r\n", "Scale                x\r\n", "Scale                0\r\nEND\r\n",
          "Scale                99\r\n", "END\r\nScale                2\r\n", "\xff\xfe\x00garbage"}) {
        dir.Write("OtherFiles/Window.txt", bad);
        EXPECT_EQ(RememberedWindowScale(), 0) << bad;
    }
}

TEST(WindowScale, TheSameFieldPixelAtEveryScaleAndInFullScreen) {
    if (!DummyVideo()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    TempGameDir dir;
    DummyWindow win;
    ASSERT_TRUE(win.Ok) << WindowError();
    const int fx = 217, fy = 33;
    SetPixel(Field, fx, fy, RGB(250, 1, 2));
    CreateSurface(StatusField, 300, 78);
    SetPixel(StatusField, 0, 0, RGB(3, 250, 4));
    Units[0].X = 140;
    Units[0].Y = 140;

    struct Case {
        const char* Name;
        int Scale, W, H;  // W, H: a window of another shape; 0 = scale x picture
        bool Full;
    };
    for (Case c : {Case{"1x", 1, 0, 0, false}, Case{"2x", 2, 0, 0, false}, Case{"3x", 3, 0, 0, false},
                   Case{"2x in a wide window", 2, 1000, 800, false}, Case{"full screen", 0, 0, 0, true}}) {
        SCOPED_TRACE(c.Name);
        if (c.Full) {
            SetDisplayMode(true);
            ASSERT_TRUE(WindowIsFullScreen());
        } else {
            SetWindowScale(c.Scale);
            if (c.W) TestPlayerResize(c.W, c.H);
        }
        ProcessWindowEvents();
        Present();
        // Where the picture lies in the window, worked out from its size.
        int w = 0, h = 0;
        TestWindowSize(w, h);
        const int pw = c.Full ? 640 : 300, ph = c.Full ? 480 : 379;
        const int n = std::max(1, std::min(w / pw, h / ph));
        EXPECT_EQ(n, c.Full ? 1 : c.Scale);
        EXPECT_EQ(WindowScale(), n);
        const int ox = (w - pw * n) / 2 + (c.Full ? 170 : 0) * n, oy = (h - ph * n) / 2 + (c.Full ? 50 : 0) * n;
        const int wx = ox + fx * n + n / 2, wy = oy + fy * n + n / 2;

        // The screen shows the pixel there ...
        std::vector<uint32_t> px;
        int sw = 0, sh = 0;
        ASSERT_TRUE(TestReadScreen(px, sw, sh));
        ASSERT_EQ(std::pair(sw, sh), std::pair(w, h));
        EXPECT_EQ(px[static_cast<size_t>(wy) * w + wx], RGB(250, 1, 2));
        EXPECT_EQ(px[static_cast<size_t>(oy + fy * n) * w + ox + (fx + 1) * n], RGB(0, 80, 0));
        // (the status bar a row below the field, at its left edge)
        EXPECT_EQ(px[static_cast<size_t>(oy + 301 * n + n / 2) * w + ox + n / 2], RGB(3, 250, 4));
        // ... the pointer there is on it ...
        TestWarpMouse(wx, wy);
        UpdateCursor();
        EXPECT_EQ(CursorX, fx);
        EXPECT_EQ(CursorY, fy);
        // ... a click there is the field's, one beside the field is not ...
        MouseLeft = MouseRight = 0;
        TestPushMouseButton(1, true, fx + FieldOffsetX, fy + FieldOffsetY);
        TestPushMouseButton(2, true, FieldOffsetX + 150, FieldOffsetY + 340);  // the status bar
        ProcessWindowEvents();
        EXPECT_EQ(MouseLeft, -1);
        EXPECT_EQ(MouseRight, 0);
        // ... and a running game holds the pointer on exactly the field.
        ClipCursorToField(true);
        int cx = 0, cy = 0, cw = 0, ch = 0;
        ASSERT_TRUE(TestConfinement(cx, cy, cw, ch));
        EXPECT_EQ(cx, ox);
        EXPECT_EQ(cy, oy);
        EXPECT_EQ(cw, 300 * n);
        EXPECT_EQ(ch, 300 * n);
        ClipCursorToField(false);
        EXPECT_FALSE(TestConfinement(cx, cy, cw, ch));
    }
    SetDisplayMode(false);
    EXPECT_FALSE(WindowIsFullScreen());
    EXPECT_EQ(WindowScale(), 2);  // back at the scale the window had
}

TEST(WindowScale, ThePointerKeepsItsFieldPixelAcrossADisplaySwitch) {
    if (!DummyVideo()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    TempGameDir dir;
    DummyWindow win;
    ASSERT_TRUE(win.Ok) << WindowError();
    SetDisplayMode(false);
    auto pointer = [] {
        int x = 0, y = 0;
        GetMouseInClient(x, y);
        return std::pair(x, y);
    };
    TestSetMouse(100, 200);
    SetDisplayMode(true);  // the field now lies at (170, 50)
    EXPECT_EQ(pointer(), std::pair(270, 250));
    SetDisplayMode(false);
    EXPECT_EQ(pointer(), std::pair(100, 200));
    TestSetMouse(100, 340);  // over the status bar: left where it is
    SetDisplayMode(true);
    EXPECT_EQ(pointer(), std::pair(100, 340));
    SetDisplayMode(false);
    EXPECT_EQ(pointer(), std::pair(100, 340));
    // The field's last pixel is on it; one further right or down is not.
    for (auto [from, to] : {std::pair(std::pair(469, 349), std::pair(299, 299)),
                            std::pair(std::pair(470, 100), std::pair(470, 100)),
                            std::pair(std::pair(200, 350), std::pair(200, 350))}) {
        SetDisplayMode(true);
        TestSetMouse(from.first, from.second);
        SetDisplayMode(false);
        EXPECT_EQ(pointer(), to) << from.first << ", " << from.second;
    }
    TestUseRealMouse();
}

TEST(WindowScale, ThePlayersResizeIsRememberedOurOwnIsNot) {
    if (!DummyVideo()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    TempGameDir dir;
    DummyWindow win;
    ASSERT_TRUE(win.Ok) << WindowError();
    SetWindowScale(2);
    ProcessWindowEvents();
    EXPECT_EQ(RememberedWindowScale(), 0);
    TestPlayerResize(950, 1200);  // 3x fits
    ProcessWindowEvents();
    EXPECT_EQ(RememberedWindowScale(), 3);
}

TEST(WindowScale, DisplaySwitchesTellTheTruthAndKeepTheScreen) {
    TempGameDir dir;
    ResetGameState();
    CloseWindow();
    // No display to switch: the setting and the file say "window", and the
    // box says why without speaking of other systems' components.
    OptFullScreen = 0;
    const int boxes = TestMessageBoxCount();
    SetDisplayMode(true);
    EXPECT_EQ(OptFullScreen, 8);
    EXPECT_EQ(TestMessageBoxCount(), boxes + 1);
    EXPECT_NE(TestLastMessageBoxText().find("could not be switched"), std::string::npos);
    EXPECT_EQ(TestLastMessageBoxText().find("DirectX"), std::string::npos);
    OptFullScreen = 0;
    LoadSaveOptions(false);  // as the main loop does
    EXPECT_EQ(OptFullScreen, 8);

    if (!DummyVideo()) return;
    DummyWindow win;
    ASSERT_TRUE(win.Ok) << WindowError();
    SetDisplayMode(false);
    // F11 and Alt+Enter switch at any time; the screen, the pause and the
    // game stay, and the window keeps its name.
    GameRunning = -1;
    GamePaused = -1;
    MenuCode = "OPTIONS";
    TestPushKey("F11", true);
    ProcessWindowEvents();
    EXPECT_TRUE(WindowIsFullScreen());
    EXPECT_EQ(OptFullScreen, 0);
    EXPECT_EQ(GetWindowCaption(), "Dorvik - test");
    EXPECT_EQ(FieldOffsetX, 170);
    EXPECT_EQ(FieldOffsetY, 50);
    OptFullScreen = 8;
    LoadSaveOptions(false);
    EXPECT_EQ(OptFullScreen, 0);  // kept in the file
    TestPushKey("F11", true);
    ProcessWindowEvents();
    EXPECT_FALSE(WindowIsFullScreen());
    EXPECT_EQ(OptFullScreen, 8);
    EXPECT_EQ(MenuCode, "OPTIONS");
    EXPECT_EQ(GamePaused, -1);
    EXPECT_EQ(GameRunning, -1);
}

TEST(WindowScale, LosingTheFocusPausesARunningGameAsEscapeDoes) {
    if (!DummyVideo()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    TempGameDir dir;
    DummyWindow win;
    ASSERT_TRUE(win.Ok) << WindowError();
    // In the menus nothing happens.
    TestPushFocusLost();
    ProcessWindowEvents();
    EXPECT_EQ(GamePaused, 0);

    GameRunning = -1;
    SetPixel(Field, 5, 5, RGB(255, 255, 0));
    TestPushFocusLost();
    ProcessWindowEvents();
    EXPECT_EQ(GamePaused, -1);
    EXPECT_EQ(GameRunning, -1);
    EXPECT_EQ(GetPixel(MenuField, 5, 5), RGB(255, 255, 0));               // the frozen field behind the menu
    EXPECT_NE(GetPixel(MenuField, 150, 150), GetPixel(Field, 150, 150));  // the panel blended over it
    // Enter resumes as usual.
    TestSetKey(DIK_RETURN, true);
    ReadKeyboard();
    TestReleaseAllKeys();
    EXPECT_EQ(GamePaused, 0);
}
