// The game's one window: it shows the field and the status bar scaled by a
// whole number, turns the operating system's events into the game's key and
// mouse handlers, confines the pointer and shows message boxes. Every position
// it hands the game is in picture pixels, whatever the scale. Without a window
// (tests) every call is harmless and the input comes from the test feed below.
// Game controllers: platform/Gamepad.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Surface.h"

// Handlers the game installs; any may be null.
struct WindowHandlers {
    void (*KeyDown)(int virtualKey) = nullptr;   // Windows virtual-key codes (A = 65, Ctrl = 17)
    void (*KeyUp)(int virtualKey) = nullptr;
    void (*MouseDown)(int button) = nullptr;     // 1 left, 2 right, 4 middle; only over the field
    void (*MouseUp)(int button) = nullptr;
    void (*TextInput)(const char* utf8) = nullptr;  // typed text while text input is on
    void (*Close)() = nullptr;                   // window closed or SIGTERM
    void (*FocusLost)() = nullptr;               // another window took the keyboard
    void (*ToggleFullScreen)() = nullptr;        // Alt+Enter or F11
};
void SetWindowHandlers(const WindowHandlers& h);

// Opens the resizable window with its caption for a picture of w x h, at the
// scale the player last chose or else the largest that fits 85 % of the
// desktop's height. False (with the reason in WindowError()) when there is no
// display.
bool OpenWindow(const std::string& caption, int w, int h);
void CloseWindow();
bool WindowIsOpen();
const std::string& WindowError();
std::string GetWindowCaption();
void SetWindowCaption(const std::string& caption);

// Windowed: the picture is w x h. Full screen: a 640 x 480 picture (w and h
// are not used); the field and status bar are shown at the positions
// PresentWindow is given within it. Either way the picture is scaled by the
// largest whole number that fits and centred. False (reason in WindowError())
// when the display cannot be switched; the window then stays usable.
bool SetWindowFullScreen(bool full, int w, int h);
bool WindowIsFullScreen();

// The whole-number scale the picture is shown at (drawable pixels per
// picture pixel). SetWindowScale resizes the window to n times the picture.
int WindowScale();
void SetWindowScale(int n);
// Colour around the picture where the window is larger (COLORREF).
void SetWindowBackground(uint32_t colour);
// The scale a window opens at: the remembered one if the desktop holds it,
// else the largest whose picture fits 85 % of the usable desktop; at least 1.
int StartScale(int usableW, int usableH, int pictureW, int pictureH, int remembered);
// The scale the player last chose, from "\OtherFiles\Window.txt"; 0 when
// none (no file, or a damaged one).
int RememberedWindowScale();
void RememberWindowScale(int n);

// Shows the two surfaces at their client positions and presents the picture.
void PresentWindow(const Surface& field, int fieldX, int fieldY, const Surface& status, int statusX, int statusY);

// Processes pending events once, calling the handlers.
void ProcessWindowEvents();

// Mouse position in picture pixels from the picture's top-left (in full
// screen: in the 640 x 480 picture), also while the pointer is outside it.
void GetMouseInClient(int& x, int& y);
// Puts the pointer on a picture pixel.
void MoveMouseInClient(int x, int y);
// Confines the pointer to a rectangle of the picture; w = 0 frees it.
void ConfineMouse(int x, int y, int w, int h);
// Lets the pointer go anywhere again.
void FreeMouse();

// Fills the 256-byte state with DirectInput scan codes (Escape 1, Enter 28,
// W 17 ...), non-zero = down. Only keys of the focused window count; Enter
// held with Alt belongs to the window (full screen), not to the game.
void ReadKeyboardScanCodes(uint8_t state[256]);

// Typed-text input (name entry).
void StartTextInput();
void StopTextInput();

enum MessageBoxKind { MB_OK_EXCLAMATION, MB_OK_INFO, MB_YESNO_QUESTION };
// Returns true for OK or Yes. Without a window it returns false at once.
bool ShowMessageBox(const std::string& title, const std::string& text, MessageBoxKind kind);

// Test feed: keys that the calls above report when no window is open (and in
// addition to the real ones when it is); once TestSetMouse was called its
// position replaces the real pointer.
void TestSetKey(int scanCode, bool down);
void TestReleaseAllKeys();
void TestSetMouse(int clientX, int clientY);
// A test player: called at the start of every event pass, with or without a
// window, so it acts where the window system's input would arrive.
void TestSetEventHook(void (*hook)());
// Back to the real pointer, and moving it (window units, as a player would).
void TestUseRealMouse();
void TestWarpMouse(int windowX, int windowY);
// The window's size in window units, and the confinement rectangle in window
// units (false when the pointer is free).
void TestWindowSize(int& w, int& h);
bool TestConfinement(int& x, int& y, int& w, int& h);
// Counts message boxes asked for (tests check them without a display).
int TestMessageBoxCount();
const std::string& TestLastMessageBoxText();
// What the window shows now, read back from the renderer, in COLORREF (the
// whole output: the client area, or the display in full screen); false
// without a window.
bool TestReadScreen(std::vector<uint32_t>& pixels, int& w, int& h);
// Event injection for tests with an open (dummy) window: key by SDL key name
// ("A", "Return", "Keypad Enter", "Left Ctrl"), mouse button 1/2/4 at a client
// point, and the quit request.
void TestPushKey(const char* keyName, bool down);
void TestPushMouseButton(int button, bool down, int clientX, int clientY);
void TestPushQuit();
void TestPushText(const char* utf8);  // typed text, as the text input delivers it
void TestPushFocusLost();
// A resize as the window manager would report it when the player drags.
void TestPlayerResize(int w, int h);
// The translations behind the calls above for an SDL key name; -1 if unknown.
int TestVirtualKeyOf(const char* keyName);
int TestScanCodeOf(const char* keyName);
