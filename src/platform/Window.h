// The game's one window: it shows the field and the status bar, turns the
// operating system's events into the game's key and mouse handlers, confines
// the pointer and shows message boxes. Without a window (tests) every call is
// harmless and the input comes from the test feed below.
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
};
void SetWindowHandlers(const WindowHandlers& h);

// Opens the window with its caption, client area w x h. False (with the
// reason in WindowError()) when there is no display.
bool OpenWindow(const std::string& caption, int w, int h);
void CloseWindow();
bool WindowIsOpen();
const std::string& WindowError();
std::string GetWindowCaption();
void SetWindowCaption(const std::string& caption);

// Windowed: the client area is w x h. Full screen: a 640 x 480 black screen
// (w and h are not used), scaled to the display by the largest whole number
// that fits; the field and status bar are
// shown at the positions PresentWindow is given within it. False when the
// display mode cannot be set.
bool SetWindowFullScreen(bool full, int w, int h);

// Shows the two surfaces at their client positions and presents the picture.
void PresentWindow(const Surface& field, int fieldX, int fieldY, const Surface& status, int statusX, int statusY);

// Processes pending events once, calling the handlers.
void ProcessWindowEvents();

// Mouse position relative to the client area's top-left (in full screen: in
// the 640 x 480 picture), also while the pointer is outside the window.
void GetMouseInClient(int& x, int& y);
// Confines the pointer to a client rectangle; w = 0 frees it.
void ConfineMouse(int x, int y, int w, int h);

// Fills the 256-byte state with DirectInput scan codes (Escape 1, Enter 28,
// W 17 ...), non-zero = down. Only keys of the focused window count.
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
// The translations behind the calls above for an SDL key name; -1 if unknown.
int TestVirtualKeyOf(const char* keyName);
int TestScanCodeOf(const char* keyName);
