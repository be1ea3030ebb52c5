// Switching between the window and the full screen. The window keeps its
// caption either way, so task bars and window switchers can name it.
#include <algorithm>

#include "platform/Window.h"
#include "platform/WindowParts.h"

using namespace Wnd;

namespace {
void BackToWindow(int w, int h) {
    SDL_SetWindowFullscreen(Win, 0);
    SDL_SetWindowBordered(Win, SDL_TRUE);
    SDL_SetWindowSize(Win, w * WindowedScale, h * WindowedScale);
    SDL_SetWindowPosition(Win, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    FullScreen = false;
}
}  // namespace

bool SetWindowFullScreen(bool full, int w, int h) {
    if (!Win || w <= 0 || h <= 0) {
        Error = "there is no window to switch";
        return false;
    }
    OwnResize();
    // The confinement was for the old picture; the game sets it anew.
    ConfineMouse(0, 0, 0, 0);
    if (full) {
        // The presenter first: choosing a renderer may re-create the window.
        if (!CreatePresenter(true)) return false;
        // Cover the display by hand: without a window manager nobody would act
        // on the full-screen request below.
        SDL_Rect b;
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(Win)), &b) == 0) {
            SDL_SetWindowBordered(Win, SDL_FALSE);
            SDL_SetWindowPosition(Win, b.x, b.y);
            SDL_SetWindowSize(Win, b.w, b.h);
            SDL_PumpEvents();
        }
        if (SDL_SetWindowFullscreen(Win, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
            const std::string why = SDL_GetError();
            BackToWindow(w, h);
            CreatePresenter(false);
            SetCanvas(w, h);
            Error = why;
            return false;
        }
        FullScreen = true;
        // A full screen is always the 640 x 480 picture, whatever the display.
        return SetCanvas(640, 480);
    }
    BackToWindow(w, h);
    return CreatePresenter(false) && SetCanvas(w, h);
}

bool WindowIsFullScreen() { return Win && FullScreen; }
