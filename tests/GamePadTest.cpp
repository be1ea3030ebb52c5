// A game controller (SDL's virtual joystick, no hardware) plays exactly as
// the keyboard and mouse: the same input gives the same frames.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "input/DirectInputMod.h"
#include "input/GamePad.h"
#include "platform/Gamepad.h"
#include "shell/Form1.h"
#include "shell/NewGame.h"
#include "shell/Replay.h"
#include "support/Battle.h"

namespace {
bool DummyVideo() {
    const char* d = std::getenv("SDL_VIDEODRIVER");
    return d && std::string(d) == "dummy";
}

struct PadWindow {
    PadWindow() {
        setenv("SDL_RENDER_DRIVER", "software", 1);
        // The dummy window never has the keyboard focus; pads count anyway.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        unsetenv("DISPLAY");
        Ok = OpenWindow("Dorvik - pad", 300, 379);
    }
    ~PadWindow() {
        CloseWindow();
        unsetenv("SDL_RENDER_DRIVER");
    }
    bool Ok = false;
};

// What a player does, frame by frame: walk up while aiming right, then walk
// left while firing, pause as the walk goes on, wait, resume, and walk down while aiming left.
struct Act {
    bool Up, Left, Down, Fire, Pause, Resume;
    int AimX;  // -1 left, 1 right of the soldier, 0 the stick at rest (the mouse still)
};
Act Script(int frame) {
    if (frame < 20) return {true, false, false, false, false, false, 1};
    if (frame < 45) return {false, true, false, true, false, false, 1};
    if (frame < 47) return {false, true, false, false, true, false, 0};
    if (frame < 49) return {false, true, false, false, false, false, 0};  // walking on: the pause holds
    if (frame < 60) return {false, false, false, false, false, false, 0};
    if (frame < 62) return {false, false, false, false, false, true, 0};
    return {false, false, true, frame % 10 < 5, false, false, -1};
}
constexpr int Frames = 90;

struct Outcome {
    std::vector<COLORREF> Pixels;
    float X, Y;
    Integer Facing, Ammo, Paused;
    int Bullets;
    Long AimedX, AimedY;  // the cursor while aiming right
};

Outcome Play(bool pad) {
    TempGameDir dir;
    WriteUnitFiles(dir);
    BattleReset(777);
    GameRunning = 0;
    OptSnow = 8;  // the snow keeps its own generator from game to game
    SetTestDate({2026, 1, 1});
    NewGame();
    LastSecondTick = static_cast<Long>(GetTickCount());
    if (pad) TestSetMouse(3, 3);  // the mouse lies still
    bool firing = false;
    Long aimed[2] = {0, 0};
    for (int f = 0; f < Frames; f++) {
        const Act a = Script(f);
        if (pad) {
            TestSetPadAxis(PAD_LEFTY, a.Up ? -32768 : a.Down ? 32767 : 0);
            TestSetPadAxis(PAD_LEFTX, a.Left ? -32768 : 0);
            TestSetPadAxis(PAD_RIGHTX, a.AimX * 32767);
            TestSetPadAxis(PAD_TRIGGERRIGHT, a.Fire ? 32767 : 0);
            TestSetPadButton(PAD_BACK, a.Pause);
            TestSetPadButton(PAD_START, a.Resume);
        } else {
            TestSetKey(DIK_W, a.Up);
            TestSetKey(DIK_A, a.Left);
            TestSetKey(DIK_S, a.Down);
            TestSetKey(DIK_ESCAPE, a.Pause);
            TestSetKey(DIK_RETURN, a.Resume);
            // The mouse where the stick aims: full deflection reaches this far.
            const Unit& p = Units[0];
            if (a.AimX != 0)
                TestSetMouse(static_cast<int>(Whole(p.X + 10 + a.AimX * PadAimReach)),
                             static_cast<int>(Whole(p.Y + 10)));
            if (a.Fire != firing) {
                if (a.Fire)
                    Field_MouseDown(1);
                else
                    Field_MouseUp(1);
            }
        }
        firing = a.Fire;
        FrameStep();
        if (f == 10) {
            aimed[0] = CursorX;
            aimed[1] = CursorY;
        }
        if (f == 50) {
            EXPECT_EQ(GamePaused, -1) << (pad ? "pad" : "keys");
        }
    }
    int bullets = 0;
    for (int b = 1; b <= MaxBullet; b++) bullets += Bullets[b].Life > 0;
    Outcome o{Field.Pixels, Units[0].X, Units[0].Y, Units[0].Facing, Units[0].Ammo, GamePaused, bullets, aimed[0],
              aimed[1]};
    TestReleaseAllKeys();
    Field_MouseUp(1);
    SetTestDate({0, 0, 0});
    return o;
}
}  // namespace

TEST(GamePad, PlaysTheSameGameAsKeysAndMouse) {
    if (!DummyVideo()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    PadWindow win;
    ASSERT_TRUE(win.Ok) << WindowError();
    const Outcome keys = Play(false);

    ASSERT_TRUE(TestAttachPad());
    ProcessWindowEvents();  // plugged in while the game runs
    ASSERT_EQ(TestPadCount(), 1);
    const Outcome pad = Play(true);
    TestDetachPad();
    ProcessWindowEvents();
    EXPECT_EQ(TestPadCount(), 0);

    // The script did walk, aim, fire and resume.
    EXPECT_NE(keys.Ammo, 20);
    EXPECT_EQ(keys.Paused, 0);
    EXPECT_EQ(pad.X, keys.X);
    EXPECT_EQ(pad.Y, keys.Y);
    EXPECT_EQ(pad.Facing, keys.Facing);
    EXPECT_EQ(pad.Ammo, keys.Ammo);
    EXPECT_EQ(pad.Bullets, keys.Bullets);
    EXPECT_EQ(pad.Paused, keys.Paused);
    EXPECT_EQ(std::pair(pad.AimedX, pad.AimedY), std::pair(keys.AimedX, keys.AimedY));
    int differ = 0, first = -1;
    for (size_t i = 0; i < keys.Pixels.size(); i++)
        if (pad.Pixels[i] != keys.Pixels[i]) {
            differ++;
            if (first < 0) first = static_cast<int>(i);
        }
    EXPECT_EQ(differ, 0) << "the pad's last frame differs, first at (" << first % 300 << ", " << first / 300 << ")";
}

TEST(GamePad, InTheMenusTheRightStickMovesTheCursorAndAClicks) {
    if (!DummyVideo()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    PadWindow win;
    ASSERT_TRUE(win.Ok) << WindowError();
    ResetGameState();
    ASSERT_TRUE(TestAttachPad());
    ProcessWindowEvents();
    TestSetMouse(100, 100);
    UpdateCursor();
    TestSetPadAxis(PAD_RIGHTX, 32767);
    TestSetPadAxis(PAD_RIGHTY, -32768);
    UpdateCursor();
    UpdateCursor();
    EXPECT_EQ(CursorX, 100 + 2 * PadMenuSpeed);
    EXPECT_EQ(CursorY, 100 - 2 * PadMenuSpeed);
    TestSetPadAxis(PAD_RIGHTX, 0);
    TestSetPadAxis(PAD_RIGHTY, 0);
    UpdateCursor();
    EXPECT_EQ(CursorX, 100 + 2 * PadMenuSpeed);  // stays where the stick left it
    // Into a game and back, the cursor stays where it is.
    Units[0].X = 50;
    Units[0].Y = 60;
    GameRunning = -1;
    UpdateCursor();
    EXPECT_EQ(CursorX, 100 + 2 * PadMenuSpeed);
    EXPECT_EQ(CursorY, 100 - 2 * PadMenuSpeed);
    GameRunning = 0;
    UpdateCursor();
    EXPECT_EQ(CursorX, 100 + 2 * PadMenuSpeed);
    EXPECT_EQ(CursorY, 100 - 2 * PadMenuSpeed);
    TestSetPadButton(PAD_A, true);
    UpdateCursor();
    ReadKeyboard();
    EXPECT_EQ(MouseLeft, -1);
    TestSetPadButton(PAD_A, false);
    UpdateCursor();
    ReadKeyboard();
    EXPECT_EQ(MouseLeft, 0);
    // The left trigger or the right shoulder, either alone, orders a bomb.
    for (bool trigger : {true, false}) {
        if (trigger) TestSetPadAxis(PAD_TRIGGERLEFT, 32767);
        else TestSetPadButton(PAD_RIGHTSHOULDER, true);
        UpdateCursor();
        ReadKeyboard();
        EXPECT_EQ(MouseRight, -1) << trigger;
        TestSetPadAxis(PAD_TRIGGERLEFT, 0);
        TestSetPadButton(PAD_RIGHTSHOULDER, false);
        UpdateCursor();
        ReadKeyboard();
        EXPECT_EQ(MouseRight, 0) << trigger;
    }
    // The mouse takes the cursor back as soon as it moves, along one axis too.
    TestSetMouse(40, 100);
    UpdateCursor();
    EXPECT_EQ(CursorX, 40);
    TestSetPadAxis(PAD_RIGHTX, 32767);
    UpdateCursor();
    TestSetPadAxis(PAD_RIGHTX, 0);
    TestSetMouse(40, 41);
    UpdateCursor();
    EXPECT_EQ(CursorX, 40);
    EXPECT_EQ(CursorY, 41);
    // Aiming past a soldier near the far corner stops at the field's last pixel.
    GameRunning = -1;
    Units[0].X = Units[0].Y = 280;
    TestSetPadAxis(PAD_RIGHTX, 32767);
    TestSetPadAxis(PAD_RIGHTY, 32767);
    UpdateCursor();
    EXPECT_EQ(CursorX, 299);
    EXPECT_EQ(CursorY, 299);
    GameRunning = 0;
    TestSetPadAxis(PAD_RIGHTX, 0);
    TestSetPadAxis(PAD_RIGHTY, 0);
    TestDetachPad();
    ProcessWindowEvents();
}

// The pad's Back is Escape to a watcher too: it ends the recorded game.
TEST(GamePad, BackEndsWatching) {
    if (!DummyVideo()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    PadWindow win;
    ASSERT_TRUE(win.Ok) << WindowError();
    BattleReset();
    ASSERT_TRUE(TestAttachPad());
    ProcessWindowEvents();
    ReplayState = ReplayMode::Watching;
    EXPECT_FALSE(WatchingKeys());
    TestSetPadButton(PAD_BACK, true);
    ProcessWindowEvents();
    GamePadCursor(150, 150);  // the frame reads the pad with the mouse
    EXPECT_TRUE(WatchingKeys());
    EXPECT_EQ(ReplayState, ReplayMode::Off);
    EXPECT_EQ(GameRunning, 0);
    TestSetPadButton(PAD_BACK, false);
    ProcessWindowEvents();
    GamePadCursor(150, 150);
    GamePadButtons();  // let go, for the tests after this one
    TestDetachPad();
    ProcessWindowEvents();
}
