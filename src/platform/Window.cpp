// The window itself: opening and closing it, its caption, its whole-number
// scale, and presenting the picture.
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
std::vector<uint32_t> Canvas;

// What the window surface showed last, so the border is painted only when
// it changes.
SDL_Surface* LastSurface = nullptr;
int LastW = 0, LastH = 0;
uint32_t LastBackground = 0;

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

void DestroyPresenter() {
    if (Tex) SDL_DestroyTexture(Tex);
    if (Ren) SDL_DestroyRenderer(Ren);
    Tex = nullptr;
    Ren = nullptr;
    LastSurface = nullptr;
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

bool HighDpi() {
    int pw = 0, ph = 0, ww = 0, wh = 0;
    SDL_GetWindowSizeInPixels(Win, &pw, &ph);
    SDL_GetWindowSize(Win, &ww, &wh);
    return pw != ww || ph != wh;
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

// COLORREF (0x00BBGGRR) to a 32-bit window pixel.
enum class Order { Same, Swapped, Other };
Order OrderOf(const SDL_PixelFormat* f) {
    if (f->BytesPerPixel != 4) return Order::Other;
    if (f->Rmask == 0x000000FF && f->Gmask == 0x0000FF00 && f->Bmask == 0x00FF0000) return Order::Same;
    if (f->Rmask == 0x00FF0000 && f->Gmask == 0x0000FF00 && f->Bmask == 0x000000FF) return Order::Swapped;
    return Order::Other;
}
inline uint32_t Swap(uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// Scales the canvas by s into the surface with its top-left at (ox, oy):
// each canvas row is widened once and then copied s - 1 times.
void ScaleInto(SDL_Surface* ws, int ox, int oy, int s) {
    const Order order = OrderOf(ws->format);
    const uint32_t alpha = ws->format->Amask;
    const int x0 = std::max(0, ox), x1 = std::min(ws->w, ox + CanvasW * s);
    const int y0 = std::max(0, oy), y1 = std::min(ws->h, oy + CanvasH * s);
    if (x0 >= x1 || y0 >= y1) return;
    auto* base = static_cast<uint8_t*>(ws->pixels);
    int built = -1;  // the destination row last widened
    for (int dy = y0; dy < y1; dy++) {
        auto* row = reinterpret_cast<uint32_t*>(base + static_cast<size_t>(dy) * ws->pitch);
        const int sy = (dy - oy) / s;
        if (built >= 0 && (built - oy) / s == sy) {
            std::memcpy(row + x0, reinterpret_cast<uint32_t*>(base + static_cast<size_t>(built) * ws->pitch) + x0,
                        static_cast<size_t>(x1 - x0) * 4);
            continue;
        }
        const uint32_t* src = &Canvas[static_cast<size_t>(sy) * CanvasW];
        if (x0 == ox && x1 == ox + CanvasW * s) {
            uint32_t* out = row + x0;
            for (int x = 0; x < CanvasW; x++) {
                const uint32_t c = (order == Order::Swapped ? Swap(src[x]) : src[x]) | alpha;
                for (int k = 0; k < s; k++) *out++ = c;
            }
        } else {
            for (int dx = x0; dx < x1; dx++) {
                const uint32_t c = src[(dx - ox) / s];
                row[dx] = (order == Order::Swapped ? Swap(c) : c) | alpha;
            }
        }
        built = dy;
    }
}

// The picture straight into the window's surface (no graphics stack).
void PresentOnSurface() {
    SDL_Surface* ws = SDL_GetWindowSurface(Win);
    if (!ws) return;
    Layout L = CurrentLayout();
    // The surface is the truth about the drawable size.
    L.Scale = std::max(1, std::min(ws->w / CanvasW, ws->h / CanvasH));
    L.OffX = (ws->w - CanvasW * L.Scale) / 2;
    L.OffY = (ws->h - CanvasH * L.Scale) / 2;
    const bool border = ws != LastSurface || ws->w != LastW || ws->h != LastH || Background != LastBackground;
    if (SDL_MUSTLOCK(ws) && SDL_LockSurface(ws) != 0) return;
    if (border) {
        SDL_FillRect(ws, nullptr,
                     SDL_MapRGB(ws->format, Background & 0xFF, (Background >> 8) & 0xFF, (Background >> 16) & 0xFF));
        LastSurface = ws;
        LastW = ws->w;
        LastH = ws->h;
        LastBackground = Background;
    }
    if (OrderOf(ws->format) != Order::Other) {
        ScaleInto(ws, L.OffX, L.OffY, L.Scale);
    } else {
        // An unusual window format: let SDL convert (slower, still exact).
        SDL_Surface* c = SDL_CreateRGBSurfaceWithFormatFrom(Canvas.data(), CanvasW, CanvasH, 32, CanvasW * 4,
                                                            SDL_PIXELFORMAT_XBGR8888);
        SDL_Rect dst{L.OffX, L.OffY, CanvasW * L.Scale, CanvasH * L.Scale};
        if (c) SDL_BlitScaled(c, nullptr, ws, &dst);
        SDL_FreeSurface(c);
    }
    if (SDL_MUSTLOCK(ws)) SDL_UnlockSurface(ws);
    SDL_Rect pic{L.OffX, L.OffY, CanvasW * L.Scale, CanvasH * L.Scale};
    SDL_Rect all{0, 0, ws->w, ws->h}, shown;
    if (border || !SDL_IntersectRect(&pic, &all, &shown)) SDL_UpdateWindowSurface(Win);
    else SDL_UpdateWindowSurfaceRects(Win, &shown, 1);
}

void PresentWithRenderer() {
    if (!Tex) return;
    const Layout L = CurrentLayout();
    SDL_UpdateTexture(Tex, nullptr, Canvas.data(), CanvasW * 4);
    SDL_SetRenderDrawColor(Ren, Background & 0xFF, (Background >> 8) & 0xFF, (Background >> 16) & 0xFF, 255);
    SDL_RenderClear(Ren);
    SDL_Rect dst{L.OffX, L.OffY, CanvasW * L.Scale, CanvasH * L.Scale};
    SDL_RenderCopy(Ren, Tex, nullptr, &dst);
    SDL_RenderPresent(Ren);
}

void ShowCanvas() {
    if (Ren) PresentWithRenderer();
    else PresentOnSurface();
}

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

// A processor-drawn picture goes into the window's own surface; a renderer is
// used where it does better: HiDPI (real pixels), a full screen scaled by a
// graphics card, or when SDL_RENDER_DRIVER names one.
bool Wnd::CreatePresenter(bool full) {
    DestroyPresenter();
    const char* chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    const bool named = chosen && *chosen && std::strcmp(chosen, "software") != 0;
    if (chosen && *chosen && !named) return true;  // "software": our own scaling
    if (!named && !full && !HighDpi()) return true;
    Ren = SDL_CreateRenderer(Win, -1, 0);
    if (Ren && !named && !HighDpi() && GraphicsDrawnByProcessor()) DestroyPresenter();  // costs more than ours
    return true;  // without a renderer the window's surface shows the picture
}

bool Wnd::SetCanvas(int w, int h) {
    if (Tex) SDL_DestroyTexture(Tex);
    Tex = nullptr;
    if (Ren) {
        Tex = SDL_CreateTexture(Ren, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING, w, h);
        if (!Tex) {
            Error = std::string("cannot create the window's picture: ") + SDL_GetError();
            return false;
        }
        // Whole-number scaling with sharp pixels.
        SDL_SetTextureScaleMode(Tex, SDL_ScaleModeNearest);
    }
    CanvasW = w;
    CanvasH = h;
    Canvas.assign(static_cast<size_t>(w) * h, 0);
    LastSurface = nullptr;
    return true;
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
    Canvas.clear();
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

void PresentWindow(const Surface& field, int fieldX, int fieldY, const Surface& status, int statusX, int statusY) {
    FieldRect = {fieldX, fieldY, field.Width, field.Height};
    if (!Win || CanvasW <= 0) return;
    std::fill(Canvas.begin(), Canvas.end(), 0);
    Compose(field, fieldX, fieldY);
    Compose(status, statusX, statusY);
    ShowCanvas();
}

bool TestReadScreen(std::vector<uint32_t>& pixels, int& w, int& h) {
    if (!Win) return false;
    if (Ren) {
        if (SDL_GetRendererOutputSize(Ren, &w, &h) != 0 || w <= 0 || h <= 0) return false;
        pixels.assign(static_cast<size_t>(w) * h, 0);
        SDL_Rect all{0, 0, w, h};
        int rc = SDL_RenderReadPixels(Ren, &all, SDL_PIXELFORMAT_XBGR8888, pixels.data(), w * 4);
        for (auto& p : pixels) p &= 0xFFFFFF;
        return rc == 0;
    }
    SDL_Surface* ws = SDL_GetWindowSurface(Win);
    if (!ws || ws->format->BytesPerPixel != 4) return false;
    w = ws->w;
    h = ws->h;
    pixels.assign(static_cast<size_t>(w) * h, 0);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            uint8_t r = 0, g = 0, b = 0;
            uint32_t v = 0;
            std::memcpy(&v, static_cast<uint8_t*>(ws->pixels) + static_cast<size_t>(y) * ws->pitch + x * 4, 4);
            SDL_GetRGB(v, ws->format, &r, &g, &b);
            pixels[static_cast<size_t>(y) * w + x] = r | (g << 8) | (b << 16);
        }
    return true;
}
