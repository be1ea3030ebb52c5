#include "platform/Surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#ifdef __SSE2__
#include <immintrin.h>
#endif

namespace {
// A surface whose pixel store does not match its size draws and gives nothing.
bool Usable(const Surface& s) {
    return s.Width > 0 && s.Height > 0 && s.Pixels.size() >= static_cast<size_t>(s.Width) * s.Height;
}

COLORREF* Row(Surface& s, int y) { return s.Pixels.data() + static_cast<size_t>(y) * s.Width; }
const COLORREF* Row(const Surface& s, int y) { return s.Pixels.data() + static_cast<size_t>(y) * s.Width; }

// Clips a copy of w x h from (sx, sy) of src to (x, y) of dst against both
// surfaces, as GDI does: the parts that fall outside either are left out.
// In 64 bits, so any int position clips without overflow; what is left lies
// inside both surfaces.
bool ClipCopy(const Surface& dst, int& x, int& y, int& w, int& h, const Surface& src, int& sx, int& sy) {
    int64_t X = x, Y = y, W = w, H = h, SX = sx, SY = sy;
    if (SX < 0) { X -= SX; W += SX; SX = 0; }
    if (SY < 0) { Y -= SY; H += SY; SY = 0; }
    if (X < 0) { SX -= X; W += X; X = 0; }
    if (Y < 0) { SY -= Y; H += Y; Y = 0; }
    W = std::min({W, dst.Width - X, src.Width - SX});
    H = std::min({H, dst.Height - Y, src.Height - SY});
    if (W <= 0 || H <= 0) return false;
    x = static_cast<int>(X), y = static_cast<int>(Y), w = static_cast<int>(W), h = static_cast<int>(H);
    sx = static_cast<int>(SX), sy = static_cast<int>(SY);
    return true;
}

void AndRow(COLORREF* __restrict d, const COLORREF* __restrict s, int n) {
    for (int i = 0; i < n; i++) d[i] &= s[i];
}
void OrRow(COLORREF* __restrict d, const COLORREF* __restrict s, int n) {
    for (int i = 0; i < n; i++) d[i] |= s[i];
}

// d = (s * a + d * (255 - a)) / 255 rounded, per byte. For x up to 255 * 255,
// round(x / 255) is exactly ((x + 128) * 257) >> 16, and every step fits in
// 16 bits, so the bytes go through 16-bit vector lanes.
void BlendTail(uint8_t* __restrict d, const uint8_t* __restrict s, int i, int n, uint16_t a) {
    const unsigned na = 255u - a;
    for (; i < n; i++) d[i] = static_cast<uint8_t>(((s[i] * a + d[i] * na + 128u) * 257u) >> 16);
}

#ifdef __SSE2__
void BlendRowSse2(uint8_t* __restrict d, const uint8_t* __restrict s, int n, uint16_t a) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vna = _mm_set1_epi16(static_cast<short>(255 - a));
    const __m128i half = _mm_set1_epi16(128), m257 = _mm_set1_epi16(257);
    auto mix = [&](__m128i sv, __m128i dv) {
        __m128i t = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(sv, va), _mm_mullo_epi16(dv, vna)), half);
        return _mm_mulhi_epu16(t, m257);
    };
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        __m128i lo = mix(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero));
        __m128i hi = mix(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(lo, hi));
    }
    BlendTail(d, s, i, n, a);
}

// The same on 32 bytes at a time where the processor has it.
__attribute__((target("avx2"))) void BlendRowAvx2(uint8_t* __restrict d, const uint8_t* __restrict s, int n,
                                                  uint16_t a) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i va = _mm256_set1_epi16(static_cast<short>(a));
    const __m256i vna = _mm256_set1_epi16(static_cast<short>(255 - a));
    const __m256i half = _mm256_set1_epi16(128), m257 = _mm256_set1_epi16(257);
    auto mix = [&](__m256i sv, __m256i dv) __attribute__((target("avx2"))) {
        __m256i t = _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(sv, va), _mm256_mullo_epi16(dv, vna)), half);
        return _mm256_mulhi_epu16(t, m257);
    };
    int i = 0;
    // Unpack and pack both work within 128-bit halves, so the byte order holds.
    for (; i + 32 <= n; i += 32) {
        __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        __m256i lo = mix(_mm256_unpacklo_epi8(sv, zero), _mm256_unpacklo_epi8(dv, zero));
        __m256i hi = mix(_mm256_unpackhi_epi8(sv, zero), _mm256_unpackhi_epi8(dv, zero));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), _mm256_packus_epi16(lo, hi));
    }
    // Clean upper halves, or every later SSE instruction in the process pays.
    _mm256_zeroupper();
    BlendRowSse2(d + i, s + i, n - i, a);
}

const bool HasAvx2 = __builtin_cpu_supports("avx2");
#endif

void BlendRow(uint8_t* __restrict d, const uint8_t* __restrict s, int n, uint16_t a) {
#ifdef __SSE2__
    if (HasAvx2) BlendRowAvx2(d, s, n, a);
    else BlendRowSse2(d, s, n, a);
#else
    BlendTail(d, s, 0, n, a);
#endif
}
}  // namespace

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

bool BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, RasterOp op) {
    if (w < 0 || h < 0) return false;
    if (!Usable(dst) || !Usable(src) || !ClipCopy(dst, x, y, w, h, src, sx, sy)) return true;
    const bool same = &dst == &src;
    if (op == SRCCOPY && x == 0 && sx == 0 && w == dst.Width && w == src.Width) {
        // Whole rows on both sides: one block.
        std::memmove(Row(dst, y), Row(src, sy), static_cast<size_t>(w) * h * sizeof(COLORREF));
        return true;
    }
    std::vector<COLORREF> temp;
    if (same && op != SRCCOPY) temp.resize(static_cast<size_t>(w));
    for (int r = 0; r < h; r++) {
        // Copying within one surface downwards must run from the bottom.
        int row = (same && y > sy) ? h - 1 - r : r;
        COLORREF* d = Row(dst, y + row) + x;
        const COLORREF* s = Row(src, sy + row) + sx;
        if (op == SRCCOPY) {
            std::memmove(d, s, static_cast<size_t>(w) * sizeof(COLORREF));
            continue;
        }
        if (same) {
            std::memcpy(temp.data(), s, static_cast<size_t>(w) * sizeof(COLORREF));
            s = temp.data();
        }
        if (op == SRCAND) AndRow(d, s, w);
        else OrRow(d, s, w);
    }
    return true;
}

int32_t GetPixel(const Surface& s, int x, int y) {
    if (x < 0 || y < 0 || x >= s.Width || y >= s.Height || !Usable(s)) return CLR_INVALID;
    return static_cast<int32_t>(Row(s, y)[x] & 0xFFFFFF);
}

void SetPixel(Surface& s, int x, int y, COLORREF c) {
    if (x < 0 || y < 0 || x >= s.Width || y >= s.Height || !Usable(s)) return;
    Row(s, y)[x] = c & 0xFFFFFF;
}

void MoveTo(Surface& s, int x, int y) {
    s.PenX = x;
    s.PenY = y;
}

void LineTo(Surface& s, int x, int y) {
    int64_t x0 = s.PenX, y0 = s.PenY;
    const int64_t x1 = x, y1 = y;
    s.PenX = x;
    s.PenY = y;
    // Nothing to draw when the line's box misses the surface.
    if (std::max(x0, x1) < 0 || std::max(y0, y1) < 0 || std::min(x0, x1) >= s.Width || std::min(y0, y1) >= s.Height)
        return;
    // Bresenham from the current position; the end point is not drawn.
    const int64_t dx = std::llabs(x1 - x0), stepX = x0 < x1 ? 1 : -1;
    const int64_t dy = -std::llabs(y1 - y0), stepY = y0 < y1 ? 1 : -1;
    int64_t err = dx + dy;
    while (!(x0 == x1 && y0 == y1)) {
        if (x0 >= 0 && y0 >= 0 && x0 < s.Width && y0 < s.Height) SetPixel(s, static_cast<int>(x0), static_cast<int>(y0), s.PenColour);
        int64_t e2 = 2 * err;
        if (e2 >= dy) { err += dy; x0 += stepX; }
        if (e2 <= dx) { err += dx; y0 += stepY; }
    }
}

bool AlphaBlend(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                int alpha) {
    // Like GDI: the source rectangle must lie inside the source; the
    // destination is clipped.
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || alpha < 0 || alpha > 255) return false;
    if (!Usable(src) || sx < 0 || sy < 0 || sx > src.Width - sw || sy > src.Height - sh) return false;
    if (!Usable(dst)) return true;
    // The ends in 64 bits: a far-off rectangle must not overflow.
    const int x0 = std::max(dx, 0), x1 = static_cast<int>(std::min<int64_t>(int64_t{dx} + dw, dst.Width));
    const int y0 = std::max(dy, 0), y1 = static_cast<int>(std::min<int64_t>(int64_t{dy} + dh, dst.Height));
    if (x0 >= x1 || y0 >= y1) return true;
    const int w = x1 - x0;
    const uint16_t a = static_cast<uint16_t>(alpha);

    // Blending a surface onto itself reads a copy of the source rectangle.
    Surface copy;
    const Surface* from = &src;
    if (&src == &dst) {
        CreateSurface(copy, sw, sh);
        BitBlt(copy, 0, 0, sw, sh, src, sx, sy, SRCCOPY);
        from = &copy;
        sx = sy = 0;
    }

    if (dw == sw && dh == sh) {
        for (int y = y0; y < y1; y++) {
            const COLORREF* s = Row(*from, static_cast<int>(sy + (int64_t{y} - dy))) + sx + (int64_t{x0} - dx);
            BlendRow(reinterpret_cast<uint8_t*>(Row(dst, y) + x0), reinterpret_cast<const uint8_t*>(s), w * 4, a);
        }
        return true;
    }

    // Stretched: each destination pixel takes the source pixel under its centre.
    std::vector<COLORREF> line(static_cast<size_t>(w));
    std::vector<int> cols(static_cast<size_t>(w));
    for (int c = 0; c < w; c++)
        cols[c] = sx + static_cast<int>((2 * (int64_t{x0} - dx + c) + 1) * sw / (2LL * dw));
    for (int y = y0; y < y1; y++) {
        int srow = sy + static_cast<int>((2 * (int64_t{y} - dy) + 1) * sh / (2LL * dh));
        const COLORREF* s = Row(*from, srow);
        for (int c = 0; c < w; c++) line[c] = s[cols[c]];
        BlendRow(reinterpret_cast<uint8_t*>(Row(dst, y) + x0), reinterpret_cast<const uint8_t*>(line.data()), w * 4, a);
    }
    return true;
}
