// Presenting: the field and the status bar composed into the picture, which
// is scaled by a whole number with sharp pixels and centred, either straight
// into the window's own surface or through a renderer.
#include <algorithm>
#include <cstring>

#include "platform/Window.h"
#include "platform/WindowParts.h"

using namespace Wnd;

namespace {
std::vector<uint32_t> Canvas;

// What the window surface showed last, so the border is painted only when
// it changes.
SDL_Surface* LastSurface = nullptr;
int LastW = 0, LastH = 0;
uint32_t LastBackground = 0;
}  // namespace

void Wnd::DestroyPresenter() {
    if (Tex) SDL_DestroyTexture(Tex);
    if (Ren) SDL_DestroyRenderer(Ren);
    Tex = nullptr;
    Ren = nullptr;
    LastSurface = nullptr;
}

namespace {
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
    if (x < 0) {
        sx = -x;
        w += x;
        x = 0;
    }
    if (y < 0) {
        sy = -y;
        h += y;
        y = 0;
    }
    w = std::min(w, CanvasW - x);
    h = std::min(h, CanvasH - y);
    if (w <= 0 || h <= 0 || s.Pixels.size() < static_cast<size_t>(s.Width) * s.Height) return;
    for (int r = 0; r < h; r++)
        std::memcpy(&Canvas[static_cast<size_t>(y + r) * CanvasW + x],
                    &s.Pixels[static_cast<size_t>(sy + r) * s.Width + sx], static_cast<size_t>(w) * 4);
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
    if (border || !SDL_IntersectRect(&pic, &all, &shown))
        SDL_UpdateWindowSurface(Win);
    else
        SDL_UpdateWindowSurfaceRects(Win, &shown, 1);
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

}  // namespace

void Wnd::ShowCanvas() {
    if (Ren)
        PresentWithRenderer();
    else
        PresentOnSurface();
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
