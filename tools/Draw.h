// A small painting kit for the artwork: a float canvas with coverage, shapes
// given as signed distances (anti-aliased edges), noise, a pixel font, and the
// step that turns a canvas into a sprite cell with its mask.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Surface.h"

struct Rgb {
    float r = 0, g = 0, b = 0;
};
inline Rgb Mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
inline Rgb Scale(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb Hex(uint32_t rgb) {
    return {static_cast<float>((rgb >> 16) & 0xFF), static_cast<float>((rgb >> 8) & 0xFF),
            static_cast<float>(rgb & 0xFF)};
}

struct Canvas {
    int W = 0, H = 0;
    std::vector<Rgb> C;      // straight (not premultiplied) colour, 0..255
    std::vector<float> A;    // coverage 0..1
};
Canvas MakeCanvas(int w, int h, Rgb fill = {}, float alpha = 0);

// Signed distance in pixels (negative inside) at a pixel centre.
using Sdf = std::function<float(float x, float y)>;
using Paint = std::function<Rgb(float x, float y)>;

// Paints colour over the canvas where the shape is, edges anti-aliased.
void Fill(Canvas& cv, const Sdf& shape, Rgb colour, float opacity = 1);
void Fill(Canvas& cv, const Sdf& shape, const Paint& paint, float opacity = 1);
// Paints under the existing picture (for shadows and outlines).
void FillBehind(Canvas& cv, const Sdf& shape, Rgb colour, float opacity = 1);
// Multiplies colours inside the shape (shading without changing coverage).
void Shade(Canvas& cv, const Sdf& shape, float factor);

// Shapes.
Sdf Circle(float cx, float cy, float r);
Sdf Ellipse(float cx, float cy, float rx, float ry, float angle = 0);
Sdf Capsule(float ax, float ay, float bx, float by, float r);
Sdf Box(float cx, float cy, float hw, float hh, float angle = 0, float round = 0);
Sdf Polygon(std::vector<float> xy);
Sdf Union(Sdf a, Sdf b);
Sdf Subtract(Sdf a, Sdf b);
Sdf Grow(Sdf a, float by);
// A polyline drawn with a round pen.
Sdf Stroke(std::vector<float> xy, float r);
// Everything in local coordinates: rotated by angle (radians) about (cx, cy).
Sdf Rotated(Sdf local, float cx, float cy, float angle);

// Deterministic noise in 0..1.
float Hash2(int x, int y, int seed);
float ValueNoise(float x, float y, int seed);
float Fbm(float x, float y, int seed, int octaves, float lacunarity = 2, float gain = 0.5f);

// Sprite cell: opaque where coverage >= 0.5, colour kept clearly off black;
// the image cell at (ix, iy) of dst on black and the mask cell at (mx, my)
// black where opaque and white elsewhere.
void PutSprite(const Canvas& cv, Surface& dst, int ix, int iy, int mx, int my);
// Plain cell: the canvas over a background colour.
void PutOpaque(const Canvas& cv, Surface& dst, int x, int y, Rgb background = {});

// The 5 x 7 pixel font (upper case, digits, common signs); scale >= 1.
int PixelTextWidth(std::string_view text, int scale = 1);
void PixelText(Canvas& cv, float x, float y, std::string_view text, Rgb colour, int scale = 1);
void PixelText(Surface& s, int x, int y, std::string_view text, COLORREF colour, int scale = 1);

// The name in block letters, fitted to the box (x, y, w, h): the letters'
// shape as a distance function.
Sdf BlockLetters(std::string_view word, float x, float y, float w, float h, float stroke);

COLORREF ToColour(Rgb c);
