#include "platform/Window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
WindowHandlers Handlers;
std::string Error = "no window";
std::string Caption;
SDL_Window* Win = nullptr;
SDL_Renderer* Ren = nullptr;
SDL_Texture* Tex = nullptr;
bool VideoStarted = false;

// The picture shown: the client area in a window, 640 x 480 in full screen.
int CanvasW = 0, CanvasH = 0;
bool FullScreen = false;
std::vector<uint32_t> Canvas;

// Where the field was last shown; a button goes down only over it.
SDL_Rect FieldRect{0, 0, 300, 300};

uint8_t TestKeys[256];
int TestMouseX = 0, TestMouseY = 0;
bool TestMouseSet = false;
void (*EventHook)() = nullptr;
int MessageBoxes = 0;
std::string LastMessage;

// SDL scancodes (key positions) to DirectInput scan codes (also positions).
struct ScanPair {
    SDL_Scancode Sdl;
    uint8_t Dik;
};
constexpr ScanPair ScanTable[] = {
    {SDL_SCANCODE_ESCAPE, 1},      {SDL_SCANCODE_1, 2},           {SDL_SCANCODE_2, 3},
    {SDL_SCANCODE_3, 4},           {SDL_SCANCODE_4, 5},           {SDL_SCANCODE_5, 6},
    {SDL_SCANCODE_6, 7},           {SDL_SCANCODE_7, 8},           {SDL_SCANCODE_8, 9},
    {SDL_SCANCODE_9, 10},          {SDL_SCANCODE_0, 11},          {SDL_SCANCODE_MINUS, 12},
    {SDL_SCANCODE_EQUALS, 13},     {SDL_SCANCODE_BACKSPACE, 14},  {SDL_SCANCODE_TAB, 15},
    {SDL_SCANCODE_Q, 16},          {SDL_SCANCODE_W, 17},          {SDL_SCANCODE_E, 18},
    {SDL_SCANCODE_R, 19},          {SDL_SCANCODE_T, 20},          {SDL_SCANCODE_Y, 21},
    {SDL_SCANCODE_U, 22},          {SDL_SCANCODE_I, 23},          {SDL_SCANCODE_O, 24},
    {SDL_SCANCODE_P, 25},          {SDL_SCANCODE_LEFTBRACKET, 26}, {SDL_SCANCODE_RIGHTBRACKET, 27},
    {SDL_SCANCODE_RETURN, 28},     {SDL_SCANCODE_LCTRL, 29},      {SDL_SCANCODE_A, 30},
    {SDL_SCANCODE_S, 31},          {SDL_SCANCODE_D, 32},          {SDL_SCANCODE_F, 33},
    {SDL_SCANCODE_G, 34},          {SDL_SCANCODE_H, 35},          {SDL_SCANCODE_J, 36},
    {SDL_SCANCODE_K, 37},          {SDL_SCANCODE_L, 38},          {SDL_SCANCODE_SEMICOLON, 39},
    {SDL_SCANCODE_APOSTROPHE, 40}, {SDL_SCANCODE_GRAVE, 41},      {SDL_SCANCODE_LSHIFT, 42},
    {SDL_SCANCODE_BACKSLASH, 43},  {SDL_SCANCODE_Z, 44},          {SDL_SCANCODE_X, 45},
    {SDL_SCANCODE_C, 46},          {SDL_SCANCODE_V, 47},          {SDL_SCANCODE_B, 48},
    {SDL_SCANCODE_N, 49},          {SDL_SCANCODE_M, 50},          {SDL_SCANCODE_COMMA, 51},
    {SDL_SCANCODE_PERIOD, 52},     {SDL_SCANCODE_SLASH, 53},      {SDL_SCANCODE_RSHIFT, 54},
    {SDL_SCANCODE_KP_MULTIPLY, 55}, {SDL_SCANCODE_LALT, 56},      {SDL_SCANCODE_SPACE, 57},
    {SDL_SCANCODE_CAPSLOCK, 58},   {SDL_SCANCODE_F1, 59},         {SDL_SCANCODE_F2, 60},
    {SDL_SCANCODE_F3, 61},         {SDL_SCANCODE_F4, 62},         {SDL_SCANCODE_F5, 63},
    {SDL_SCANCODE_F6, 64},         {SDL_SCANCODE_F7, 65},         {SDL_SCANCODE_F8, 66},
    {SDL_SCANCODE_F9, 67},         {SDL_SCANCODE_F10, 68},        {SDL_SCANCODE_NUMLOCKCLEAR, 69},
    {SDL_SCANCODE_SCROLLLOCK, 70}, {SDL_SCANCODE_KP_7, 71},       {SDL_SCANCODE_KP_8, 72},
    {SDL_SCANCODE_KP_9, 73},       {SDL_SCANCODE_KP_MINUS, 74},   {SDL_SCANCODE_KP_4, 75},
    {SDL_SCANCODE_KP_5, 76},       {SDL_SCANCODE_KP_6, 77},       {SDL_SCANCODE_KP_PLUS, 78},
    {SDL_SCANCODE_KP_1, 79},       {SDL_SCANCODE_KP_2, 80},       {SDL_SCANCODE_KP_3, 81},
    {SDL_SCANCODE_KP_0, 82},       {SDL_SCANCODE_KP_PERIOD, 83},  {SDL_SCANCODE_NONUSBACKSLASH, 86},
    {SDL_SCANCODE_F11, 87},        {SDL_SCANCODE_F12, 88},        {SDL_SCANCODE_F13, 100},
    {SDL_SCANCODE_F14, 101},       {SDL_SCANCODE_F15, 102},       {SDL_SCANCODE_KP_EQUALS, 141},
    {SDL_SCANCODE_KP_ENTER, 156},  {SDL_SCANCODE_RCTRL, 157},     {SDL_SCANCODE_KP_COMMA, 179},
    {SDL_SCANCODE_KP_DIVIDE, 181}, {SDL_SCANCODE_PRINTSCREEN, 183}, {SDL_SCANCODE_RALT, 184},
    {SDL_SCANCODE_PAUSE, 197},     {SDL_SCANCODE_HOME, 199},      {SDL_SCANCODE_UP, 200},
    {SDL_SCANCODE_PAGEUP, 201},    {SDL_SCANCODE_LEFT, 203},      {SDL_SCANCODE_RIGHT, 205},
    {SDL_SCANCODE_END, 207},       {SDL_SCANCODE_DOWN, 208},      {SDL_SCANCODE_PAGEDOWN, 209},
    {SDL_SCANCODE_INSERT, 210},    {SDL_SCANCODE_DELETE, 211},    {SDL_SCANCODE_LGUI, 219},
    {SDL_SCANCODE_RGUI, 220},      {SDL_SCANCODE_APPLICATION, 221},
};

// Windows virtual-key code of a key event; 0 when it has none. Letters and
// digits follow the keyboard layout; every other key is known by its place.
int VirtualKey(const SDL_Keysym& k) {
    SDL_Keycode c = k.sym;
    if (c >= SDLK_a && c <= SDLK_z) return 'A' + (c - SDLK_a);
    if (c >= SDLK_0 && c <= SDLK_9) return '0' + (c - SDLK_0);
    SDL_Scancode s = k.scancode;
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return 'A' + (s - SDL_SCANCODE_A);
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return '1' + (s - SDL_SCANCODE_1);
    if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12) return 112 + (s - SDL_SCANCODE_F1);
    if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9) return 97 + (s - SDL_SCANCODE_KP_1);
    switch (s) {
        case SDL_SCANCODE_0: return '0';
        case SDL_SCANCODE_BACKSPACE: return 8;
        case SDL_SCANCODE_TAB: return 9;
        case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return 13;
        case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return 16;
        case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return 17;
        case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return 18;
        case SDL_SCANCODE_PAUSE: return 19;
        case SDL_SCANCODE_CAPSLOCK: return 20;
        case SDL_SCANCODE_ESCAPE: return 27;
        case SDL_SCANCODE_SPACE: return 32;
        case SDL_SCANCODE_PAGEUP: return 33;
        case SDL_SCANCODE_PAGEDOWN: return 34;
        case SDL_SCANCODE_END: return 35;
        case SDL_SCANCODE_HOME: return 36;
        case SDL_SCANCODE_LEFT: return 37;
        case SDL_SCANCODE_UP: return 38;
        case SDL_SCANCODE_RIGHT: return 39;
        case SDL_SCANCODE_DOWN: return 40;
        case SDL_SCANCODE_PRINTSCREEN: return 44;
        case SDL_SCANCODE_INSERT: return 45;
        case SDL_SCANCODE_DELETE: return 46;
        case SDL_SCANCODE_LGUI: return 91;
        case SDL_SCANCODE_RGUI: return 92;
        case SDL_SCANCODE_APPLICATION: return 93;
        case SDL_SCANCODE_KP_0: return 96;
        case SDL_SCANCODE_KP_MULTIPLY: return 106;
        case SDL_SCANCODE_KP_PLUS: return 107;
        case SDL_SCANCODE_KP_MINUS: return 109;
        case SDL_SCANCODE_KP_PERIOD: return 110;
        case SDL_SCANCODE_KP_DIVIDE: return 111;
        case SDL_SCANCODE_NUMLOCKCLEAR: return 144;
        case SDL_SCANCODE_SCROLLLOCK: return 145;
        case SDL_SCANCODE_SEMICOLON: return 186;
        case SDL_SCANCODE_EQUALS: return 187;
        case SDL_SCANCODE_COMMA: return 188;
        case SDL_SCANCODE_MINUS: return 189;
        case SDL_SCANCODE_PERIOD: return 190;
        case SDL_SCANCODE_SLASH: return 191;
        case SDL_SCANCODE_GRAVE: return 192;
        case SDL_SCANCODE_LEFTBRACKET: return 219;
        case SDL_SCANCODE_BACKSLASH: return 220;
        case SDL_SCANCODE_RIGHTBRACKET: return 221;
        case SDL_SCANCODE_APOSTROPHE: return 222;
        default: return 0;
    }
}

int MouseButton(uint8_t b) {
    switch (b) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 4;
        default: return 0;
    }
}

void DestroyPresenter() {
    if (Tex) SDL_DestroyTexture(Tex);
    if (Ren) SDL_DestroyRenderer(Ren);
    Tex = nullptr;
    Ren = nullptr;
}

// True when the renderer's OpenGL is a software rasteriser (no graphics card).
bool GraphicsDrawnByProcessor() {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(Ren, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return false;
    if (!SDL_GL_GetCurrentContext()) return false;
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(0x1F01) : nullptr;  // GL_RENDERER
    if (!name) return false;
    std::string n(reinterpret_cast<const char*>(name));
    for (const char* soft : {"llvmpipe", "softpipe", "swrast", "Software"})
        if (n.find(soft) != std::string::npos) return true;
    return false;
}

// The small window picture is cheapest drawn by the processor straight into
// the window (no graphics stack); a full screen is scaled by the graphics
// card where there is one. SDL_RENDER_DRIVER, when set, decides instead.
bool CreatePresenter(bool full) {
    DestroyPresenter();
    const char* chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    const bool ours = !(chosen && *chosen);
    if (ours && !full) Ren = SDL_CreateRenderer(Win, -1, SDL_RENDERER_SOFTWARE);
    if (!Ren) Ren = SDL_CreateRenderer(Win, -1, 0);
    if (Ren && ours && full && GraphicsDrawnByProcessor()) {
        // A graphics library that draws on the processor costs more than
        // scaling the picture ourselves.
        DestroyPresenter();
        Ren = SDL_CreateRenderer(Win, -1, SDL_RENDERER_SOFTWARE);
    }
    if (!Ren) Ren = SDL_CreateRenderer(Win, -1, SDL_RENDERER_SOFTWARE);
    if (!Ren) {
        Error = std::string("cannot draw into the window: ") + SDL_GetError();
        return false;
    }
    SDL_SetRenderDrawColor(Ren, 0, 0, 0, 255);
    return true;
}

// (Re)creates the renderer's texture and logical size for a canvas of w x h.
bool SetCanvas(int w, int h) {
    if (Tex) SDL_DestroyTexture(Tex);
    Tex = SDL_CreateTexture(Ren, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING, w, h);
    if (!Tex) {
        Error = std::string("cannot create the window's picture: ") + SDL_GetError();
        return false;
    }
    SDL_RenderSetLogicalSize(Ren, w, h);
    // Whole-number scaling keeps every pixel square and sharp (and is cheap).
    SDL_RenderSetIntegerScale(Ren, SDL_TRUE);
    CanvasW = w;
    CanvasH = h;
    Canvas.assign(static_cast<size_t>(w) * h, 0);
    return true;
}

// Copies a surface into the canvas at (x, y), clipped.
void Compose(const Surface& s, int x, int y) {
    int sx = 0, sy = 0, w = s.Width, h = s.Height;
    if (x < 0) { sx = -x; w += x; x = 0; }
    if (y < 0) { sy = -y; h += y; y = 0; }
    w = std::min(w, CanvasW - x);
    h = std::min(h, CanvasH - y);
    if (w <= 0 || h <= 0 || s.Pixels.size() < static_cast<size_t>(s.Width) * s.Height) return;
    for (int r = 0; r < h; r++)
        std::memcpy(&Canvas[static_cast<size_t>(y + r) * CanvasW + x], &s.Pixels[static_cast<size_t>(sy + r) * s.Width + sx],
                    static_cast<size_t>(w) * 4);
}

bool NeedsDisplayVariable() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && *driver && std::strcmp(driver, "x11") != 0) return false;  // dummy, offscreen, wayland ...
    const char* d = std::getenv("DISPLAY");
    const char* wl = std::getenv("WAYLAND_DISPLAY");
    return !(d && *d) && !(wl && *wl);
}
}  // namespace

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
    }
    // Whole pixels when the picture is scaled to a full screen.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // The processor-drawn window goes to the X server directly, not through
    // a graphics-library texture (which costs more than the drawing itself).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    Win = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, SDL_WINDOW_SHOWN);
    if (!Win) {
        Error = std::string("cannot create the window: ") + SDL_GetError();
        return false;
    }
    FullScreen = false;
    if (!CreatePresenter(false) || !SetCanvas(w, h)) {
        CloseWindow();
        return false;
    }
    // Typed text only while the game asks for it (name entry).
    SDL_StopTextInput();
    Error.clear();
    SDL_SetRenderDrawColor(Ren, 0, 0, 0, 255);
    SDL_RenderClear(Ren);
    SDL_RenderPresent(Ren);
    return true;
}

void CloseWindow() {
    DestroyPresenter();
    if (Win) SDL_DestroyWindow(Win);
    Win = nullptr;
    Canvas.clear();
    CanvasW = CanvasH = 0;
    FullScreen = false;
    if (VideoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
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

bool SetWindowFullScreen(bool full, int w, int h) {
    if (!Win || w <= 0 || h <= 0) return false;
    if (full) {
        // The renderer first: choosing one may re-create the window.
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
            Error = std::string("cannot change the display mode: ") + SDL_GetError();
            SetWindowFullScreen(false, w, h);
            return false;
        }
        FullScreen = true;
        // A full screen is always the 640 x 480 picture, whatever the window's size.
        return SetCanvas(640, 480);
    }
    SDL_SetWindowFullscreen(Win, 0);
    SDL_SetWindowBordered(Win, SDL_TRUE);
    SDL_SetWindowSize(Win, w, h);
    SDL_SetWindowPosition(Win, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    FullScreen = false;
    return CreatePresenter(false) && SetCanvas(w, h);
}

void PresentWindow(const Surface& field, int fieldX, int fieldY, const Surface& status, int statusX, int statusY) {
    FieldRect = {fieldX, fieldY, field.Width, field.Height};
    if (!Win || !Tex) return;
    std::fill(Canvas.begin(), Canvas.end(), 0);
    Compose(field, fieldX, fieldY);
    Compose(status, statusX, statusY);
    SDL_UpdateTexture(Tex, nullptr, Canvas.data(), CanvasW * 4);
    SDL_SetRenderDrawColor(Ren, 0, 0, 0, 255);
    SDL_RenderClear(Ren);
    SDL_RenderCopy(Ren, Tex, nullptr, nullptr);
    SDL_RenderPresent(Ren);
}

bool TestReadScreen(std::vector<uint32_t>& pixels, int& w, int& h) {
    if (!Ren) return false;
    if (SDL_GetRendererOutputSize(Ren, &w, &h) != 0 || w <= 0 || h <= 0) return false;
    // Read without the logical scaling so the rectangle is the whole output.
    SDL_RenderSetLogicalSize(Ren, 0, 0);
    SDL_RenderSetViewport(Ren, nullptr);
    SDL_RenderSetScale(Ren, 1.0f, 1.0f);
    pixels.assign(static_cast<size_t>(w) * h, 0);
    SDL_Rect all{0, 0, w, h};
    int rc = SDL_RenderReadPixels(Ren, &all, SDL_PIXELFORMAT_XBGR8888, pixels.data(), w * 4);
    SDL_RenderSetLogicalSize(Ren, CanvasW, CanvasH);
    for (auto& p : pixels) p &= 0xFFFFFF;
    return rc == 0;
}

void ProcessWindowEvents() {
    if (EventHook) EventHook();
    if (!Win) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                if (Handlers.Close) Handlers.Close();
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                int vk = VirtualKey(e.key.keysym);
                if (vk == 0) break;
                if (e.type == SDL_KEYDOWN && Handlers.KeyDown) Handlers.KeyDown(vk);
                if (e.type == SDL_KEYUP && Handlers.KeyUp) Handlers.KeyUp(vk);
                break;
            }
            case SDL_MOUSEBUTTONDOWN: {
                int b = MouseButton(e.button.button);
                SDL_Point p{e.button.x, e.button.y};  // logical coordinates
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
            default: break;
        }
    }
}

void GetMouseInClient(int& x, int& y) {
    if (!Win || !Ren || TestMouseSet) {
        x = TestMouseX;
        y = TestMouseY;
        return;
    }
    // Over the window its own events give the exact place (without a window
    // manager the window's reported position can be wrong); outside it the
    // global position still counts.
    int gx = 0, gy = 0, wx = 0, wy = 0;
    if (SDL_GetMouseFocus() == Win) {
        SDL_GetMouseState(&gx, &gy);
    } else {
        SDL_GetGlobalMouseState(&gx, &gy);
        SDL_GetWindowPosition(Win, &wx, &wy);
        gx -= wx;
        gy -= wy;
    }
    float lx = 0, ly = 0;
    SDL_RenderWindowToLogical(Ren, gx, gy, &lx, &ly);
    x = static_cast<int>(lx < 0 ? lx - 0.999f : lx);
    y = static_cast<int>(ly < 0 ? ly - 0.999f : ly);
}

void ConfineMouse(int x, int y, int w, int h) {
    if (!Win || !Ren) return;
    if (w <= 0 || h <= 0) {
        SDL_SetWindowMouseRect(Win, nullptr);
        return;
    }
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    SDL_RenderLogicalToWindow(Ren, static_cast<float>(x), static_cast<float>(y), &x0, &y0);
    SDL_RenderLogicalToWindow(Ren, static_cast<float>(x + w), static_cast<float>(y + h), &x1, &y1);
    SDL_Rect r{x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0)};
    SDL_SetWindowMouseRect(Win, &r);
}

void ReadKeyboardScanCodes(uint8_t state[256]) {
    std::memcpy(state, TestKeys, 256);
    if (!Win) return;
    // Like reading the device: the state is current even between event passes.
    SDL_PumpEvents();
    int n = 0;
    const uint8_t* keys = SDL_GetKeyboardState(&n);
    for (const ScanPair& p : ScanTable)
        if (p.Sdl < n && keys[p.Sdl]) state[p.Dik] = 0x80;
}

void StartTextInput() {
    if (Win) SDL_StartTextInput();
}

void StopTextInput() {
    if (Win) SDL_StopTextInput();
}

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

void TestSetKey(int scanCode, bool down) {
    if (scanCode >= 0 && scanCode < 256) TestKeys[scanCode] = down ? 0x80 : 0;
}
void TestReleaseAllKeys() { std::memset(TestKeys, 0, sizeof TestKeys); }
void TestSetMouse(int x, int y) {
    TestMouseX = x;
    TestMouseY = y;
    TestMouseSet = true;
}
void TestSetEventHook(void (*hook)()) { EventHook = hook; }
int TestMessageBoxCount() { return MessageBoxes; }
const std::string& TestLastMessageBoxText() { return LastMessage; }

namespace {
SDL_Keysym KeysymOf(const char* keyName) {
    SDL_Keysym k{};
    k.scancode = SDL_GetScancodeFromName(keyName);
    k.sym = SDL_GetKeyFromScancode(k.scancode);
    // Without video the key map is empty: a one-letter name is its own key.
    if (k.sym == SDLK_UNKNOWN && keyName[0] && !keyName[1]) k.sym = SDL_tolower(keyName[0]);
    return k;
}
}  // namespace

void TestPushKey(const char* keyName, bool down) {
    if (!Win) return;
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.windowID = SDL_GetWindowID(Win);
    e.key.keysym = KeysymOf(keyName);
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
    // Pushed events are not scaled by the renderer: give window coordinates.
    int wx = clientX, wy = clientY;
    SDL_RenderLogicalToWindow(Ren, static_cast<float>(clientX), static_cast<float>(clientY), &wx, &wy);
    e.button.x = wx;
    e.button.y = wy;
    SDL_PushEvent(&e);
}

void TestPushQuit() {
    if (!Win) return;
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

int TestVirtualKeyOf(const char* keyName) {
    SDL_Keysym k = KeysymOf(keyName);
    if (k.scancode == SDL_SCANCODE_UNKNOWN && k.sym == SDLK_UNKNOWN) return -1;
    int vk = VirtualKey(k);
    return vk ? vk : -1;
}

int TestScanCodeOf(const char* keyName) {
    SDL_Scancode sc = SDL_GetScancodeFromName(keyName);
    for (const ScanPair& p : ScanTable)
        if (p.Sdl == sc) return p.Dik;
    return -1;
}
