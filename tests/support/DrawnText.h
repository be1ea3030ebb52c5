// Whether a surface shows a text as TextOut would draw it at (x, y) in that
// colour, size and weight. The first row is not compared: it may hold the
// bottom of the line above.
#pragma once

#include <string>

#include "platform/Surface.h"

inline bool DrawnAs(const Surface& s, const std::string& text, int x, int y, int size, bool bold, COLORREF colour) {
    Surface ref;
    CreateSurface(ref, s.Width, s.Height);
    ref.FontSize = size;
    ref.FontBold = bold;
    ref.TextColour = colour;
    TextOut(ref, x, y, text);
    const int w = TextWidth(ref, text);
    for (int yy = y + 1; yy < y + size; yy++)
        for (int xx = x; xx < x + w; xx++)
            if (GetPixel(ref, xx, yy) != GetPixel(s, xx, yy)) return false;
    return true;
}
