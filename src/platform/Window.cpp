// The window itself: opening and closing it, its caption, its whole-number
// scale and where the picture lies in it.
#include "platform/Window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/WindowParts.h"

namespace Wnd {
SDL_Window* Win = nullptr;
SDL_Renderer* Ren = nullptr;
SDL_Texture* Tex = nullptr;
std::string Error = "no window";
WindowHandlers Handlers;
bool FullScreen = false;
int CanvasW = 0, CanvasH = 0;
int PictureW = 300, PictureH = 379, WindowedScale = 1;
uint32_t Background = 0;
SDL_Rect FieldRect{0, 0, 300, 300};
}  // namespace Wnd

using namespace Wnd;

namespace {
std::string Caption;
bool VideoStarted = false;

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

bool NeedsDisplayVariable() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && *driver && std::strcmp(driver, "x11") != 0) return false;  // dummy, offscreen, wayland ...
    const char* d = std::getenv("DISPLAY");
    const char* wl = std::getenv("WAYLAND_DISPLAY");
    return !(d && *d) && !(wl && *wl);
}
}  // namespace

Layout Wnd::CurrentLayout() {
    Layout L;
    if (!Win || CanvasW <= 0 || CanvasH <= 0) return L;
    SDL_GetWindowSize(Win, &L.WinW, &L.WinH);
    if (Ren) {
        SDL_GetRendererOutputSize(Ren, &L.OutW, &L.OutH);
    } else {
        L.OutW = L.WinW;
        L.OutH = L.WinH;
    }
    L.Scale = std::max(1, std::min(L.OutW / CanvasW, L.OutH / CanvasH));
    L.OffX = (L.OutW - CanvasW * L.Scale) / 2;
    L.OffY = (L.OutH - CanvasH * L.Scale) / 2;
    return L;
}

void Wnd::WindowToCanvas(int wx, int wy, int& cx, int& cy) {
    const Layout L = CurrentLayout();
    if (L.WinW <= 0 || L.WinH <= 0) {
        cx = wx;
        cy = wy;
        return;
    }
    const int px = FloorDiv(static_cast<int>(static_cast<long long>(wx) * L.OutW / L.WinW), 1);
    const int py = FloorDiv(static_cast<int>(static_cast<long long>(wy) * L.OutH / L.WinH), 1);
    cx = FloorDiv(px - L.OffX, L.Scale);
    cy = FloorDiv(py - L.OffY, L.Scale);
}

void Wnd::CanvasToWindow(int cx, int cy, int& wx, int& wy) {
    const Layout L = CurrentLayout();
    const int px = L.OffX + cx * L.Scale, py = L.OffY + cy * L.Scale;
    wx = L.OutW > 0 ? static_cast<int>(static_cast<long long>(px) * L.WinW / L.OutW) : px;
    wy = L.OutH > 0 ? static_cast<int>(static_cast<long long>(py) * L.WinH / L.OutH) : py;
}

void SetWindowHandlers(const WindowHandlers& h) { Handlers = h; }

bool OpenWindow(const std::string& caption, int w, int h) {
    if (Win) return true;
    Caption = caption;
    if (NeedsDisplayVariable()) {
        Error = "no display (the DISPLAY environment variable is not set)";
        return false;
    }
    if (!VideoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            Error = std::string("cannot open the display: ") + SDL_GetError();
            return false;
        }
        VideoStarted = true;
        // Pads are welcome but not needed.
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    // The processor-drawn window goes to the X server directly, not through
    // a graphics-library texture (which costs more than the drawing itself).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    PictureW = w;
    PictureH = h;
    SDL_Rect usable{0, 0, 1024, 768};
    SDL_GetDisplayUsableBounds(0, &usable);
    WindowedScale = StartScale(usable.w, usable.h, w, h, RememberedWindowScale());
    Win = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w * WindowedScale,
                           h * WindowedScale, SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!Win) {
        Error = std::string("cannot create the window: ") + SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(Win, w, h);
    FullScreen = false;
    IgnoreResizesUntil = 0;
    if (!CreatePresenter(false) || !SetCanvas(w, h)) {
        CloseWindow();
        return false;
    }
    // Typed text only while the game asks for it (name entry).
    SDL_StopTextInput();
    Error.clear();
    ShowCanvas();  // the background until the first picture
    return true;
}

void CloseWindow() {
    CloseAllPads();
    DestroyPresenter();
    if (Win) SDL_DestroyWindow(Win);
    Win = nullptr;
    CanvasW = CanvasH = 0;
    FullScreen = false;
    if (VideoStarted) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        // The last one out also closes SDL's own connections (D-Bus).
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
    }
    VideoStarted = false;
    Error = "no window";
}

bool WindowIsOpen() { return Win != nullptr; }
const std::string& WindowError() { return Error; }

std::string GetWindowCaption() { return Win ? std::string(SDL_GetWindowTitle(Win)) : Caption; }

void SetWindowCaption(const std::string& caption) {
    Caption = caption;
    if (Win) SDL_SetWindowTitle(Win, caption.c_str());
}

int WindowScale() { return Win ? CurrentLayout().Scale : 1; }

void SetWindowScale(int n) {
    n = std::clamp(n, 1, 16);
    WindowedScale = n;
    if (!Win || FullScreen) return;
    SDL_SetWindowSize(Win, PictureW * n, PictureH * n);
    ApplyConfinement();
}

void SetWindowBackground(uint32_t colour) { Background = colour & 0xFFFFFF; }
