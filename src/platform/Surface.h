// A drawing surface in memory with the operations the game was written
// against: rectangle copies with raster operations, pixels in COLORREF
// (0x00BBGGRR), a pen with a current position, text output and a constant-alpha
// stretched blend. Everything clips to the surface like a device context.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

using COLORREF = uint32_t;
constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int32_t CLR_INVALID = -1;

enum RasterOp { SRCCOPY, SRCAND, SRCPAINT };

struct Surface {
    int Width = 0;
    int Height = 0;
    std::vector<COLORREF> Pixels;  // row-major, Width * Height

    // Device-context state.
    int PenX = 0, PenY = 0;
    COLORREF PenColour = 0;
    int FontSize = 8;  // points
    bool FontBold = false;
    COLORREF TextColour = 0;
};

// Makes the surface w x h filled with one colour; drawing state reset.
void CreateSurface(Surface& s, int w, int h, COLORREF fill = 0);
void FreeSurface(Surface& s);
void FillSurface(Surface& s, COLORREF colour);

// Parts outside either surface are left out (destination pixels whose source
// lies outside are not touched). False only for a negative size; a copy that
// is clipped away entirely still succeeds, as in GDI.
bool BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, RasterOp op);
// Copy of a whole surface's picture (size and pixels, not the drawing state).
void CopyPicture(Surface& dst, const Surface& src);

// CLR_INVALID (-1) outside the surface.
int32_t GetPixel(const Surface& s, int x, int y);
void SetPixel(Surface& s, int x, int y, COLORREF c);

void MoveTo(Surface& s, int x, int y);
// Draws from the current position to (x, y) with the pen colour, end point
// excluded as in GDI; (x, y) becomes the current position.
void LineTo(Surface& s, int x, int y);

// Text in the surface's font size (points), bold flag and text colour, on a
// transparent background; (x, y) is the top-left of the text cell.
void TextOut(Surface& s, int x, int y, std::string_view text);
// Width in pixels that TextOut would use.
int TextWidth(const Surface& s, std::string_view text);

// Source-over with a constant alpha 0..255, stretching the source rectangle to
// the destination rectangle (each destination pixel takes the source pixel
// under its centre): dst = round((src * a + dst * (255 - a)) / 255) per
// channel. The destination is clipped; false, drawing nothing, when the source
// rectangle is not inside the source or a size is not positive.
bool AlphaBlend(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                int alpha);
