#include "platform/Surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

void CreateSurface(Surface& s, int w, int h, COLORREF fill) {
    s = Surface{};
    s.Width = std::max(0, w);
    s.Height = std::max(0, h);
    s.Pixels.assign(static_cast<size_t>(s.Width) * s.Height, fill);
}

void FreeSurface(Surface& s) { s = Surface{}; }

void FillSurface(Surface& s, COLORREF colour) { std::fill(s.Pixels.begin(), s.Pixels.end(), colour); }

void CopyPicture(Surface& dst, const Surface& src) {
    dst.Width = src.Width;
    dst.Height = src.Height;
    dst.Pixels = src.Pixels;
}

// Clips a copy of w x h from (sx, sy) of src to (x, y) of dst against both
// surfaces; false when nothing is left.
static bool ClipCopy(const Surface& dst, int& x, int& y, int& w, int& h, const Surface& src, int& sx, int& sy) {
    if (sx < 0) { x -= sx; w += sx; sx = 0; }
    if (sy < 0) { y -= sy; h += sy; sy = 0; }
    if (x < 0) { sx -= x; w += x; x = 0; }
    if (y < 0) { sy -= y; h += y; y = 0; }
    w = std::min({w, dst.Width - x, src.Width - sx});
    h = std::min({h, dst.Height - y, src.Height - sy});
    return w > 0 && h > 0;
}

bool BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, RasterOp op) {
    if (!ClipCopy(dst, x, y, w, h, src, sx, sy)) return false;
    const bool same = &dst == &src;
    for (int r = 0; r < h; r++) {
        // Copying within one surface downwards must run from the bottom.
        int row = (same && y > sy) ? h - 1 - r : r;
        COLORREF* d = &dst.Pixels[static_cast<size_t>(y + row) * dst.Width + x];
        const COLORREF* s = &src.Pixels[static_cast<size_t>(sy + row) * src.Width + sx];
        switch (op) {
            case SRCCOPY: std::memmove(d, s, static_cast<size_t>(w) * sizeof(COLORREF)); break;
            case SRCAND: for (int c = 0; c < w; c++) d[c] &= s[c]; break;
            case SRCPAINT: for (int c = 0; c < w; c++) d[c] |= s[c]; break;
        }
    }
    return true;
}

int32_t GetPixel(const Surface& s, int x, int y) {
    if (x < 0 || y < 0 || x >= s.Width || y >= s.Height) return CLR_INVALID;
    return static_cast<int32_t>(s.Pixels[static_cast<size_t>(y) * s.Width + x] & 0xFFFFFF);
}

void SetPixel(Surface& s, int x, int y, COLORREF c) {
    if (x < 0 || y < 0 || x >= s.Width || y >= s.Height) return;
    s.Pixels[static_cast<size_t>(y) * s.Width + x] = c & 0xFFFFFF;
}

void MoveTo(Surface& s, int x, int y) {
    s.PenX = x;
    s.PenY = y;
}

void LineTo(Surface& s, int x, int y) {
    // Bresenham from the current position; the end point is not drawn.
    int x0 = s.PenX, y0 = s.PenY;
    int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
    int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
    int err = dx + dy;
    while (!(x0 == x && y0 == y)) {
        SetPixel(s, x0, y0, s.PenColour);
        int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x0 += sx; }
        if (e2 <= dx) { err += dx; y0 += sy; }
    }
    s.PenX = x;
    s.PenY = y;
}

bool AlphaBlend(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                int alpha) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || alpha < 0 || alpha > 255) return false;
    if (sx < 0 || sy < 0 || sx + sw > src.Width || sy + sh > src.Height) return false;
    const unsigned a = static_cast<unsigned>(alpha), na = 255 - a;
    for (int r = 0; r < dh; r++) {
        int ty = dy + r;
        if (ty < 0 || ty >= dst.Height) continue;
        int srow = sy + (dh == sh ? r : static_cast<int>(static_cast<long long>(r) * sh / dh));
        for (int c = 0; c < dw; c++) {
            int tx = dx + c;
            if (tx < 0 || tx >= dst.Width) continue;
            int scol = sx + (dw == sw ? c : static_cast<int>(static_cast<long long>(c) * sw / dw));
            COLORREF s = src.Pixels[static_cast<size_t>(srow) * src.Width + scol];
            COLORREF& d = dst.Pixels[static_cast<size_t>(ty) * dst.Width + tx];
            COLORREF out = 0;
            for (int ch = 0; ch < 24; ch += 8) {
                unsigned sv = (s >> ch) & 0xFF, dv = (d >> ch) & 0xFF;
                out |= ((sv * a + dv * na + 127) / 255) << ch;
            }
            d = out;
        }
    }
    return true;
}
