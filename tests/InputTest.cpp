// The keyboard's global keys, the cursor and the field's window events.
#include <gtest/gtest.h>

#include "graphics/WorkWithMemory.h"
#include "input/DirectInputMod.h"
#include "platform/Window.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"
#include "support/UnitFiles.h"

namespace {
int QuitCode = -2;

class Input : public ::testing::Test {
protected:
    TempGameDir Dir;
    void (*SavedEnd)(int) = nullptr;

    void SetUp() override {
        ResetGameState();
        TestReleaseAllKeys();
        CreateKeyboard();
        Dir.Write("OtherFiles/DEFAULT.txt", OddDefaultFile());
        CreateSurface(Field, 300, 300, RGB(200, 0, 0));
        CreateSurface(MenuField, 300, 300, RGB(0, 0, 0));
        CreateSurface(MainMenu, 270, 270, RGB(0, 0, 200));
        QuitCode = -2;
        SavedEnd = EndProcess;
        EndProcess = [](int code) { QuitCode = code; };
    }
    void TearDown() override {
        EndProcess = SavedEnd;
        TestReleaseAllKeys();
        CreateKeyboard();  // the quit key releases the keyboard
    }
    // One poll with exactly these keys down.
    static void Press(std::initializer_list<int> keys) {
        TestReleaseAllKeys();
        for (int k : keys) TestSetKey(k, true);
        ReadKeyboard();
        TestReleaseAllKeys();
    }
    static void InGame() {
        GameRunning = -1;
        GamePaused = 0;
        Units[0].Active = -1;
        Units[0].X = 77;  // a new game would put the player at 140
    }
};
}  // namespace

TEST_F(Input, EscapePausesAndFreezesTheFieldUnderTheMenuPanel) {
    InGame();
    Press({DIK_ESCAPE});
    EXPECT_EQ(GamePaused, -1);
    EXPECT_EQ(MenuCode, "");
    // Outside the panel the frozen field, inside it the panel at 60 %.
    EXPECT_EQ(GetPixel(MenuField, 5, 5), static_cast<int32_t>(RGB(200, 0, 0)));
    const int32_t mid = GetPixel(MenuField, 150, 150);
    EXPECT_NEAR(mid & 0xFF, 200 * 101 / 255, 1);
    EXPECT_NEAR((mid >> 16) & 0xFF, 200 * 154 / 255, 1);
    EXPECT_EQ(GetPixel(MenuField, 290, 290), static_cast<int32_t>(RGB(200, 0, 0)));
}

TEST_F(Input, EscapeOnASubScreenGoesBackAndKeepsThePause) {
    InGame();
    GamePaused = -1;
    MenuCode = "OPTIONS";
    Press({DIK_ESCAPE});
    EXPECT_EQ(MenuCode, "");
    EXPECT_EQ(GamePaused, -1);
    // Not frozen again: the menu background stays as it was.
    EXPECT_EQ(GetPixel(MenuField, 5, 5), 0);

    // From a sub-screen of a running game: back to the main menu and paused at once.
    InGame();
    MenuCode = "HELP";
    Press({DIK_ESCAPE});
    EXPECT_EQ(MenuCode, "");
    EXPECT_EQ(GamePaused, -1);
}

TEST_F(Input, EscapeWhileEnteringANameDoesNothing) {
    MenuCode = "HS";
    EnteringName = -1;
    Press({DIK_ESCAPE});
    EXPECT_EQ(MenuCode, "HS");
    EXPECT_EQ(GamePaused, 0);
}

TEST_F(Input, EnterResumesOrStartsButNeverBoth) {
    InGame();
    GamePaused = -1;
    Press({DIK_RETURN});
    EXPECT_EQ(GamePaused, 0);
    EXPECT_EQ(GameRunning, -1);
    EXPECT_EQ(Units[0].X, 77);  // the same game, not a new one

    // Held on: the running game is left alone.
    Press({DIK_NUMPADENTER});
    EXPECT_EQ(Units[0].X, 77);

    // Keypad Enter resumes too.
    GamePaused = -1;
    Press({DIK_NUMPADENTER});
    EXPECT_EQ(GamePaused, 0);
    EXPECT_EQ(Units[0].X, 77);

    // On a sub-screen Enter neither resumes nor starts.
    GamePaused = -1;
    MenuCode = "OPTIONS";
    Press({DIK_RETURN});
    EXPECT_EQ(GamePaused, -1);

    // No game: Enter on the main menu starts one.
    ResetGameState();
    Press({DIK_RETURN});
    EXPECT_EQ(GameRunning, -1);
    EXPECT_EQ(Units[0].X, 140);
    EXPECT_EQ(Units[0].UnitName, "Rookie");
}

TEST_F(Input, VolumeKeysStepByOneWithinTheirRange) {
    MusicVolume = 100;
    Press({DIK_ADD});
    EXPECT_EQ(MusicVolume, 100);
    Press({DIK_SUBTRACT});
    EXPECT_EQ(MusicVolume, 99);
    // Each poll while held is one step.
    for (int i = 0; i < 3; i++) Press({DIK_ADD});
    EXPECT_EQ(MusicVolume, 100);

    MusicVolume = 1;
    Press({DIK_SUBTRACT});
    EXPECT_EQ(MusicVolume, 0);
    EXPECT_EQ(SoundOff, 8);
    Press({DIK_SUBTRACT});
    EXPECT_EQ(MusicVolume, 0);
    Press({DIK_ADD});
    EXPECT_EQ(MusicVolume, 1);
    EXPECT_EQ(SoundOff, 0);
}

TEST_F(Input, QuitKeyOnlyOutsideARunningGame) {
    InGame();
    Press({DIK_X});
    EXPECT_EQ(QuitCode, -2);

    GamePaused = -1;
    Press({DIK_X});
    EXPECT_EQ(QuitCode, 0);

    QuitCode = -2;
    CreateKeyboard();
    GameRunning = 0;
    GamePaused = 0;
    // Typing a name with an X in it does not quit before the score is saved.
    MenuCode = "HS";
    EnteringName = -1;
    Press({DIK_X});
    EXPECT_EQ(QuitCode, -2);
    EnteringName = 0;
    Press({DIK_X});
    EXPECT_EQ(QuitCode, 0);
}

TEST_F(Input, WorldScoreScrollingClampedAndOnlyOnItsScreen) {
    WorldScroll = 51;
    Press({DIK_DOWN});
    EXPECT_EQ(WorldScroll, 51);  // not on the world score screen

    MenuCode = "WS";
    Press({DIK_UP});
    EXPECT_EQ(WorldScroll, 51);
    EXPECT_EQ(WorldScrollOffset, 0);
    Press({DIK_DOWN});
    Press({DIK_DOWN});
    EXPECT_EQ(WorldScroll, 53);
    EXPECT_DOUBLE_EQ(WorldScrollOffset, 2.0 * 90 / 124);
    WorldScroll = 175;
    Press({DIK_DOWN});
    EXPECT_EQ(WorldScroll, 175);
    EXPECT_DOUBLE_EQ(WorldScrollOffset, 90);
}

TEST_F(Input, CursorInFieldPixelsAndThePlayerFacesIt) {
    Units[0].X = 140;
    Units[0].Y = 140;
    // Just below and just right of the soldier's middle (150, 150).
    TestSetMouse(150, 160);
    UpdateCursor();
    EXPECT_EQ(Units[0].Facing, 90);
    TestSetMouse(160, 150);
    UpdateCursor();
    EXPECT_EQ(Units[0].Facing, 0);
    TestSetMouse(150, 20);
    UpdateCursor();
    EXPECT_EQ(CursorX, 150);
    EXPECT_EQ(CursorY, 20);
    EXPECT_EQ(Units[0].Facing, 270);

    // Full screen: the field lies at (170, 50) of the client area.
    FieldOffsetX = 170;
    FieldOffsetY = 50;
    TestSetMouse(170 + 250, 50 + 150);
    UpdateCursor();
    EXPECT_EQ(CursorX, 250);
    EXPECT_EQ(CursorY, 150);
    EXPECT_EQ(Units[0].Facing, 0);
    TestSetMouse(170, 50);
    UpdateCursor();
    EXPECT_EQ(CursorX, 0);
    EXPECT_EQ(CursorY, 0);
    EXPECT_EQ(Units[0].Facing, 225);
}

TEST_F(Input, FieldEvents) {
    // Only the release of Ctrl or Q asks for the next fire mode.
    Field_KeyDown(17);
    EXPECT_EQ(FireModeKeyReleased, 0);
    Field_KeyUp(65);
    EXPECT_EQ(FireModeKeyReleased, 0);
    Field_KeyUp(81);
    EXPECT_EQ(FireModeKeyReleased, -1);
    FireModeKeyReleased = 0;
    Field_KeyUp(17);
    EXPECT_EQ(FireModeKeyReleased, -1);

    // W, A, S or D on the field continues a paused game; other keys do not.
    GameRunning = -1;
    GamePaused = -1;
    Field_KeyDown(69);
    EXPECT_EQ(GamePaused, -1);
    for (int vk : {87, 65, 83, 68}) {
        GamePaused = -1;
        Field_KeyDown(vk);
        EXPECT_EQ(GamePaused, 0) << vk;
    }
}

TEST_F(Input, SoundsOfTheGlobalKeys) {
    LoadProbeSounds({1, 22, 24, 25, 26});
    auto quiet = [] { StopAllProbeSounds({1, 22, 24, 25, 26}); };
    MusicVolume = 100;
    Press({DIK_ADD});
    EXPECT_FALSE(Playing(1));  // at 100 no click
    auto volume = [](int id) { return MixerGetVolume(SoundBuffer(id)); };
    Press({DIK_SUBTRACT});
    EXPECT_TRUE(Playing(1));
    EXPECT_EQ(MixerGetPan(SoundBuffer(1)), 429);  // in the middle
    EXPECT_EQ(volume(22), -100 - 32);             // the music follows at once
    EXPECT_EQ(volume(26), -1 - 32);

    quiet();
    InGame();
    MusicVolume = 100;
    Press({DIK_ESCAPE});
    EXPECT_TRUE(Playing(25));
    EXPECT_EQ(MixerGetPan(SoundBuffer(25)), 429);
    EXPECT_TRUE(Playing(26));  // the menu music
    EXPECT_EQ(volume(26), -1);
    Press({DIK_RETURN});
    EXPECT_TRUE(Playing(22));  // the battle music again
    EXPECT_EQ(volume(22), -100);
    EXPECT_FALSE(Playing(26));

    quiet();
    Press({DIK_INSERT});
    EXPECT_TRUE(Playing(24));
    EXPECT_EQ(MixerGetPan(SoundBuffer(24)), 429);

    // After watching a recorded game, the menu music.
    quiet();
    EndWatching();
    EXPECT_TRUE(Playing(26));
    EXPECT_EQ(volume(26), -1);

    // Escape back from a screen clicks, in the middle.
    quiet();
    GameRunning = 0;
    MenuCode = "HELP";
    Press({DIK_ESCAPE});
    EXPECT_TRUE(Playing(25));
    EXPECT_EQ(MixerGetPan(SoundBuffer(25)), 429);
    FreeSounds();
}

TEST_F(Input, MouseButtonsOfTheFieldSetTheirOwnFlags) {
    // Buttons as the window reports them: 1 left, 2 right, 4 middle.
    const std::pair<int, Integer*> buttons[] = {{1, &MouseLeft}, {2, &MouseRight}, {4, &MouseMiddle}};
    for (auto [button, flag] : buttons) {
        Field_MouseDown(button);
        EXPECT_EQ(MouseLeft + MouseRight + MouseMiddle, -1) << button;
        EXPECT_EQ(*flag, -1) << button;
        Field_MouseUp(button);
        EXPECT_EQ(MouseLeft | MouseRight | MouseMiddle, 0) << button;
    }
    // Releasing one button leaves the others held.
    Field_MouseDown(1);
    Field_MouseDown(2);
    Field_MouseUp(4);
    EXPECT_EQ(MouseLeft & MouseRight, -1);
}
