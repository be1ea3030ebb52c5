#include "input/DirectInputMod.h"

#include <algorithm>
#include <cstring>

#include "graphics/Screenshot.h"
#include "graphics/WorkWithMemory.h"
#include "input/GamePad.h"
#include "menus/Options.h"
#include "platform/Files.h"
#include "platform/Window.h"
#include "scores/TopScoreList.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "shell/NewGame.h"
#include "shell/Replay.h"
#include "sound/DirectSoundMod.h"

namespace {
// The keyboard "device": released at shut-down, after which the state stays.
bool KeyboardReleased = false;
// Whether the window is delivering typed text (name entry).
bool TextInputOn = false;
// The Escape that ended watching: held on into the menus, it must not leave
// the high score screen too.
bool EscapeUsed = false;

// Windows virtual-key codes of the field's key events.
constexpr int VK_CONTROL = 17, VK_A = 65, VK_D = 68, VK_Q = 81, VK_S = 83, VK_W = 87;

bool Down(int scanCode) { return KeyState[scanCode] != 0; }

void PauseGame() {
    GamePaused = -1;
    // The frozen battle becomes the menu background.
    CopyPicture(MenuField, Field);
    BlendBlit(MainMenu, 15, 15, 270, 270, MenuField, 0, 0, 270, 270, 60);
    ResumeLoop(26, -1);
    PlaySound(25, 500);
}

void VolumeChanged() {
    SoundOff = MusicVolume < 1 ? 8 : 0;
    PlaySound(1, 500);
    SetMusicVolumes();
}

void ScrollWorld(int step) {
    WorldScroll = std::clamp(WorldScroll + step, 51.0, 175.0);
    WorldScrollOffset = (WorldScroll - 51) * 90 / 124;
}

void Screenshot() {
    // The number runs on past every existing picture, also those of earlier runs.
    std::string base;
    do {
        if (ScreenshotNumber >= 32767) return;  // the counter is full
        ScreenshotNumber++;
        base = GamePath("\\Dorvik Pic" + StrInt(ScreenshotNumber));
    } while (FileExists(base + ".jpg"));
    TakeScreenshot(base, 50);
    PlaySound(24, 500);
}

// The window types text into the name box only while a name is entered.
void SyncTextInput() {
    bool want = EnteringName == -1;
    if (want == TextInputOn) return;
    TextInputOn = want;
    if (want) StartTextInput();
    else StopTextInput();
}

// Volume and screenshot: the same in the menus, in play and while watching.
void GeneralKeys(const uint8_t* keys) {
    if (keys[DIK_ADD] && MusicVolume < 100) {
        MusicVolume++;
        VolumeChanged();
    }
    if (keys[DIK_SUBTRACT] && MusicVolume > 0) {
        MusicVolume--;
        VolumeChanged();
    }
    if (keys[DIK_INSERT]) Screenshot();
}

void Field_TextInput(const char* utf8) {
    if (EnteringName == -1) YourNameTextInput(utf8);
}
}  // namespace

void ResumeGame() {
    GamePaused = 0;
    ResumeLoop(22, -100);
    StopSound(26);
}

void CreateKeyboard() { KeyboardReleased = false; }

void ReleaseInput() {
    KeyboardReleased = true;
    if (TextInputOn) StopTextInput();
    TextInputOn = false;
}

void ClipCursorToField(bool clip) {
    if (clip) ConfineMouse(FieldOffsetX, FieldOffsetY, 300, 300);
    else FreeMouse();
}

void UpdateCursor() {
    int x = 0, y = 0;
    GetMouseInClient(x, y);
    CursorX = x - FieldOffsetX;
    CursorY = y - FieldOffsetY;
    GamePadCursor(x, y);
    // The soldier always faces the pointer, in the menus too.
    FaceThePointer();
}

void FaceThePointer() {
    Unit& p = Units[0];
    p.Facing = DirectionAndDistance(p.X + 10, p.Y + 10, CursorX, CursorY);
}

void ReadKeyboard() {
    if (!KeyboardReleased) {
        ReadKeyboardScanCodes(KeyState);
        GamePadButtons();
    }
    SyncTextInput();

    if (EscapeUsed && !Down(DIK_ESCAPE)) EscapeUsed = false;
    if (Down(DIK_ESCAPE) && !EscapeUsed) {
        if (!MenuCode.empty() && EnteringName == 0) {
            PlaySound(25, 500);
            MenuCode.clear();
        }
        if (GameRunning && !GamePaused) PauseGame();
    }

    // Resume is tested first and leaves the game running, so one press never
    // also starts a new game.
    const bool enter = Down(DIK_RETURN) || Down(DIK_NUMPADENTER);
    if (enter && MenuCode.empty() && GamePaused && GameRunning) ResumeGame();
    if (enter && MenuCode.empty() && !GamePaused && !GameRunning) NewGame();

    GeneralKeys(KeyState);

    // Not while a name is typed: an X in the name must not quit before the
    // score is saved.
    if (Down(DIK_X) && (!GameRunning || GamePaused) && EnteringName == 0) ShutDown();

    if (MenuCode == "WS") {
        if (Down(DIK_UP)) ScrollWorld(-1);
        if (Down(DIK_DOWN)) ScrollWorld(1);
    }
}

bool WatchingKeys() {
    if (ReplayState != ReplayMode::Watching) return false;
    // The watcher's keys are read apart: KeyState holds the recorded ones.
    uint8_t keys[256] = {};
    if (!KeyboardReleased) {
        ReadKeyboardScanCodes(keys);
        // The pad's Back is its Escape; whatever else it sets, the next
        // recorded frame overwrites.
        GamePadButtons();
        if (KeyState[DIK_ESCAPE]) keys[DIK_ESCAPE] = 0x80;
    }
    GeneralKeys(keys);
    if (!keys[DIK_ESCAPE]) return false;
    EscapeUsed = true;
    PlaySound(25, 500);
    EndWatching();
    return true;
}

void EndWatching() {
    StopPlayback();
    // As after a game: the last picture of the battle behind the menu.
    CopyPicture(MenuField, Field);
    BlendBlit(MainMenu, 15, 15, 270, 270, MenuField, 0, 0, 270, 270, 60);
    ResumeLoop(26, -1);
}

void Field_KeyDown(int keyCode) {
    if (EnteringName == -1) YourNameKeyDown(keyCode);
    if (GamePaused && (keyCode == VK_D || keyCode == VK_W || keyCode == VK_S || keyCode == VK_A)) ResumeGame();
}

void Field_KeyUp(int keyCode) {
    if (keyCode == VK_CONTROL || keyCode == VK_Q) FireModeKeyReleased = -1;
}

void Field_MouseDown(int button) {
    if (button == 1) MouseLeft = -1;
    else if (button == 2) MouseRight = -1;
    else if (button == 4) MouseMiddle = -1;
}

void Field_MouseUp(int button) {
    if (button == 1) MouseLeft = 0;
    else if (button == 2) MouseRight = 0;
    else if (button == 4) MouseMiddle = 0;
}

void Field_LostFocus() {
    // Away from the window the game waits, as after Escape (a recording
    // being watched plays on).
    if (ReplayIsPlaying()) return;
    if (GameRunning && !GamePaused) PauseGame();
}

void InstallWindowHandlers() {
    WindowHandlers h;
    h.KeyDown = Field_KeyDown;
    h.KeyUp = Field_KeyUp;
    h.MouseDown = Field_MouseDown;
    h.MouseUp = Field_MouseUp;
    h.TextInput = Field_TextInput;
    h.Close = ShutDown;
    h.FocusLost = Field_LostFocus;
    h.ToggleFullScreen = ToggleFullScreen;
    SetWindowHandlers(h);
}
