// The window's events and the mouse: events become the game's handlers, and
// every pointer position is turned into picture pixels.
#include <algorithm>

#include "platform/Window.h"
#include "platform/WindowParts.h"

using namespace Wnd;

namespace {
int TestMouseX = 0, TestMouseY = 0;
bool TestMouseSet = false;
void (*EventHook)() = nullptr;
// The confinement the game asked for, in picture pixels (w = 0: none).
SDL_Rect Confined{0, 0, 0, 0};

int MouseButton(uint8_t b) {
    switch (b) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 4;
        default: return 0;
    }
}

void KeyEvent(const SDL_KeyboardEvent& k) {
    const bool down = k.type == SDL_KEYDOWN;
    const SDL_Scancode s = k.keysym.scancode;
    const bool enter = s == SDL_SCANCODE_RETURN || s == SDL_SCANCODE_KP_ENTER;
    // Alt+Enter and F11 switch the display at any time; the game never sees them.
    if ((enter && (k.keysym.mod & KMOD_ALT)) || s == SDL_SCANCODE_F11) {
        if (down && !k.repeat && Handlers.ToggleFullScreen) Handlers.ToggleFullScreen();
        return;
    }
    const int vk = VirtualKey(k.keysym);
    if (vk == 0) return;
    if (down && Handlers.KeyDown) Handlers.KeyDown(vk);
    if (!down && Handlers.KeyUp) Handlers.KeyUp(vk);
}

void WindowEvent(const SDL_WindowEvent& w, bool& focusLost) {
    switch (w.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED: PlayerResized(); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: focusLost = true; break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: focusLost = false; break;
        default: break;
    }
}
}  // namespace

void ProcessWindowEvents() {
    if (EventHook) EventHook();
    if (!Win) return;
    bool focusLost = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                if (Handlers.Close) Handlers.Close();
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: KeyEvent(e.key); break;
            case SDL_MOUSEBUTTONDOWN: {
                int b = MouseButton(e.button.button);
                SDL_Point p;
                WindowToCanvas(e.button.x, e.button.y, p.x, p.y);
                if (b && Handlers.MouseDown && SDL_PointInRect(&p, &FieldRect)) Handlers.MouseDown(b);
                break;
            }
            case SDL_MOUSEBUTTONUP: {
                int b = MouseButton(e.button.button);
                if (b && Handlers.MouseUp) Handlers.MouseUp(b);
                break;
            }
            case SDL_TEXTINPUT:
                if (Handlers.TextInput) Handlers.TextInput(e.text.text);
                break;
            case SDL_WINDOWEVENT: WindowEvent(e.window, focusLost); break;
            case SDL_CONTROLLERDEVICEADDED: PadAdded(e.cdevice.which); break;
            case SDL_CONTROLLERDEVICEREMOVED: PadRemoved(e.cdevice.which); break;
            default: break;
        }
    }
    // A focus that comes straight back (a switch of the display) is no loss.
    if (focusLost && Handlers.FocusLost) Handlers.FocusLost();
}

void GetMouseInClient(int& x, int& y) {
    if (!Win || TestMouseSet) {
        x = TestMouseX;
        y = TestMouseY;
        return;
    }
    // Over the window its own events give the exact place (without a window
    // manager the window's reported position can be wrong); outside it the
    // global position still counts.
    int gx = 0, gy = 0, wx = 0, wy = 0;
    // Drivers without a screen know only the window's pointer.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool screenless = driver && (SDL_strcmp(driver, "dummy") == 0 || SDL_strcmp(driver, "offscreen") == 0);
    if (SDL_GetMouseFocus() == Win || screenless) {
        SDL_GetMouseState(&gx, &gy);
    } else {
        SDL_GetGlobalMouseState(&gx, &gy);
        SDL_GetWindowPosition(Win, &wx, &wy);
        gx -= wx;
        gy -= wy;
    }
    WindowToCanvas(gx, gy, x, y);
}

void MoveMouseInClient(int x, int y) {
    if (!Win || TestMouseSet) {
        TestMouseX = x;
        TestMouseY = y;
        return;
    }
    int wx = 0, wy = 0, wx1 = 0, wy1 = 0;
    CanvasToWindow(x, y, wx, wy);
    CanvasToWindow(x + 1, y + 1, wx1, wy1);
    SDL_WarpMouseInWindow(Win, (wx + wx1) / 2, (wy + wy1) / 2);
}

void ConfineMouse(int x, int y, int w, int h) {
    Confined = w > 0 && h > 0 ? SDL_Rect{x, y, w, h} : SDL_Rect{0, 0, 0, 0};
    ApplyConfinement();
}

void FreeMouse() { ConfineMouse(0, 0, 0, 0); }

void Wnd::ApplyConfinement() {
    if (!Win) return;
    if (Confined.w <= 0) {
        SDL_SetWindowMouseRect(Win, nullptr);
        return;
    }
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    CanvasToWindow(Confined.x, Confined.y, x0, y0);
    CanvasToWindow(Confined.x + Confined.w, Confined.y + Confined.h, x1, y1);
    SDL_Rect r{x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0)};
    SDL_SetWindowMouseRect(Win, &r);
}

void TestSetMouse(int x, int y) {
    TestMouseX = x;
    TestMouseY = y;
    TestMouseSet = true;
}
void TestUseRealMouse() { TestMouseSet = false; }
void TestSetEventHook(void (*hook)()) { EventHook = hook; }

void TestWarpMouse(int windowX, int windowY) {
    if (!Win) return;
    SDL_WarpMouseInWindow(Win, windowX, windowY);
    SDL_PumpEvents();
}

void TestWindowSize(int& w, int& h) {
    w = h = 0;
    if (Win) SDL_GetWindowSize(Win, &w, &h);
}

bool TestConfinement(int& x, int& y, int& w, int& h) {
    const SDL_Rect* r = Win ? SDL_GetWindowMouseRect(Win) : nullptr;
    if (!r) return false;
    x = r->x;
    y = r->y;
    w = r->w;
    h = r->h;
    return true;
}

void TestPushKey(const char* keyName, bool down) {
    if (!Win) return;
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.windowID = SDL_GetWindowID(Win);
    e.key.keysym = KeysymOf(keyName);
    e.key.keysym.mod = static_cast<Uint16>(SDL_GetModState());
    SDL_PushEvent(&e);
}

void TestPushMouseButton(int button, bool down, int clientX, int clientY) {
    if (!Win) return;
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = SDL_GetWindowID(Win);
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.button = button == 1 ? SDL_BUTTON_LEFT : button == 2 ? SDL_BUTTON_RIGHT : SDL_BUTTON_MIDDLE;
    e.button.clicks = 1;
    // Events carry window units: the middle of the picture pixel.
    int wx = 0, wy = 0, wx1 = 0, wy1 = 0;
    CanvasToWindow(clientX, clientY, wx, wy);
    CanvasToWindow(clientX + 1, clientY + 1, wx1, wy1);
    e.button.x = (wx + wx1) / 2;
    e.button.y = (wy + wy1) / 2;
    SDL_PushEvent(&e);
}

void TestPushQuit() {
    if (!Win) return;
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

void TestPushText(const char* utf8) {
    if (!Win || !SDL_IsTextInputActive()) return;  // as typing does: no text while text input is off
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = SDL_GetWindowID(Win);
    SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
    SDL_PushEvent(&e);
}

void TestPushFocusLost() {
    if (!Win) return;
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(Win);
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&e);
}

void TestPlayerResize(int w, int h) {
    if (Win) SDL_SetWindowSize(Win, w, h);
}
