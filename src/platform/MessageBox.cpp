// The few message boxes of the game.
#include "platform/Window.h"
#include "platform/WindowParts.h"

using namespace Wnd;

namespace {
int MessageBoxes = 0;
std::string LastMessage;
}  // namespace

bool ShowMessageBox(const std::string& title, const std::string& text, MessageBoxKind kind) {
    MessageBoxes++;
    LastMessage = text;
    if (!Win) return false;
    SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "OK"}};
    SDL_MessageBoxButtonData yesNo[] = {{SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
                                        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"}};
    SDL_MessageBoxData box{};
    box.flags = kind == MB_OK_EXCLAMATION ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
    // Over a full screen a box owned by it could hide behind it.
    box.window = FullScreen ? nullptr : Win;
    box.title = title.c_str();
    box.message = text.c_str();
    if (kind == MB_YESNO_QUESTION) {
        box.numbuttons = 2;
        box.buttons = yesNo;
    } else {
        box.numbuttons = 1;
        box.buttons = ok;
    }
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) return false;
    return pressed == 1;
}

int TestMessageBoxCount() { return MessageBoxes; }
const std::string& TestLastMessageBoxText() { return LastMessage; }
