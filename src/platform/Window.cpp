#include "platform/Window.h"

#include <cstring>

namespace {
WindowHandlers Handlers;
std::string Error = "no window";
uint8_t TestKeys[256];
int TestMouseX = 0, TestMouseY = 0;
int MessageBoxes = 0;
std::string LastMessage;
}  // namespace

void SetWindowHandlers(const WindowHandlers& h) { Handlers = h; }
bool OpenWindow(const std::string&, int, int) { return false; }
void CloseWindow() {}
bool WindowIsOpen() { return false; }
const std::string& WindowError() { return Error; }
std::string GetWindowCaption() { return ""; }
void SetWindowCaption(const std::string&) {}
bool SetWindowFullScreen(bool, int, int) { return false; }
void PresentWindow(const Surface&, int, int, const Surface&, int, int) {}
void ProcessWindowEvents() {}
void GetMouseInClient(int& x, int& y) {
    x = TestMouseX;
    y = TestMouseY;
}
void ConfineMouse(int, int, int, int) {}
void ReadKeyboardScanCodes(uint8_t state[256]) { std::memcpy(state, TestKeys, 256); }
void StartTextInput() {}
void StopTextInput() {}
bool ShowMessageBox(const std::string&, const std::string& text, MessageBoxKind) {
    MessageBoxes++;
    LastMessage = text;
    return false;
}
void TestSetKey(int scanCode, bool down) {
    if (scanCode >= 0 && scanCode < 256) TestKeys[scanCode] = down ? 0x80 : 0;
}
void TestReleaseAllKeys() { std::memset(TestKeys, 0, sizeof TestKeys); }
void TestSetMouse(int x, int y) {
    TestMouseX = x;
    TestMouseY = y;
}
int TestMessageBoxCount() { return MessageBoxes; }
const std::string& TestLastMessageBoxText() { return LastMessage; }
