// Sheep, the cleaning creature with its trail, and the aeroplane.
#include <cmath>

#include "Art.h"
#include "graphics/WorkWithMemory.h"

namespace {
const Rgb Outline = {50, 48, 52};

// A sheep walking right, seen from above; phase 0..3 moves the legs.
void PaintSheep(Canvas& cv, int phase) {
    const float swing = (phase == 0 || phase == 2) ? 0.0f : (phase == 1 ? 1.6f : -1.6f);
    Sdf legs = Union(Union(Capsule(6.5f + swing, 3.5f, 6.5f + swing * 0.6f, 1.6f, 1.0f),
                           Capsule(6.5f - swing, 12.5f, 6.5f - swing * 0.6f, 14.4f, 1.0f)),
                     Union(Capsule(14.5f - swing, 3.5f, 14.5f - swing * 0.6f, 1.6f, 1.0f),
                           Capsule(14.5f + swing, 12.5f, 14.5f + swing * 0.6f, 14.4f, 1.0f)));
    Sdf wool = [](float x, float y) {
        const float n = Fbm(x * 0.5f, y * 0.5f, 11, 2);
        return Ellipse(10, 8, 8.2f, 5.6f)(x, y) - (n - 0.5f) * 1.6f;
    };
    Sdf head = Ellipse(19.2f, 8, 3.0f, 2.3f);
    Sdf ears = Union(Ellipse(17.6f, 5.2f, 1.4f, 0.8f, 0.5f), Ellipse(17.6f, 10.8f, 1.4f, 0.8f, -0.5f));
    Sdf all = Union(Union(legs, wool), Union(head, ears));
    Fill(cv, Grow(all, 0.8f), Outline);
    Fill(cv, legs, Hex(0x3C3836));
    Fill(cv, wool, [](float x, float y) {
        const float n = Fbm(x * 0.9f, y * 0.9f, 12, 2);
        return Mix(Hex(0xF4F0E4), Hex(0xC8C0AC), n * 0.8f + std::max(0.0f, (x - 10) * 0.02f + (y - 8) * 0.03f));
    });
    Fill(cv, ears, Hex(0x4A4440));
    Fill(cv, head, Hex(0x5A524C));
    Fill(cv, Circle(20.4f, 6.9f, 0.6f), Hex(0xE8E0D0));
    Fill(cv, Circle(20.4f, 9.1f, 0.6f), Hex(0xE8E0D0));
}

Canvas Mirror(const Canvas& cv) {
    Canvas m = cv;
    for (int y = 0; y < cv.H; y++)
        for (int x = 0; x < cv.W; x++) {
            const size_t i = static_cast<size_t>(y) * cv.W + x, j = static_cast<size_t>(y) * cv.W + (cv.W - 1 - x);
            m.C[i] = cv.C[j];
            m.A[i] = cv.A[j];
        }
    return m;
}

void PaintDeadSheep(Canvas& cv) {
    Fill(cv, [](float x, float y) { return std::hypot(x - 9, y - 9) - 6.5f * (0.7f + 0.6f * Fbm(x * 0.4f, y * 0.4f, 5, 2)); },
         Hex(0x8E1616));
    Sdf legs = Union(Union(Capsule(5, 5, 3, 1.2f, 0.9f), Capsule(9, 5, 9.5f, 1.0f, 0.9f)),
                     Union(Capsule(5, 11, 2.5f, 14.6f, 0.9f), Capsule(9.5f, 11, 11, 14.8f, 0.9f)));
    Sdf wool = [](float x, float y) {
        return Ellipse(7.5f, 8, 6.2f, 4.6f)(x, y) - (Fbm(x * 0.5f, y * 0.5f, 13, 2) - 0.5f) * 1.4f;
    };
    Sdf head = Ellipse(14.2f, 9.5f, 2.4f, 1.9f, 0.4f);
    Fill(cv, Grow(Union(Union(legs, wool), head), 0.7f), Outline);
    Fill(cv, legs, Hex(0x3C3836));
    Fill(cv, wool, [](float x, float y) { return Mix(Hex(0xECE6D8), Hex(0xB8AE9A), Fbm(x, y, 14, 2)); });
    Fill(cv, Ellipse(8, 9, 2.2f, 1.6f), Hex(0xA82020));
    Fill(cv, head, Hex(0x5A524C));
}

// The cleaning creature: a shaggy beast pushing a broom, seen from above, moving down.
void PaintCleaner(Canvas& cv) {
    Sdf fur = [](float x, float y) {
        const float a = std::atan2(y - 26, x - 25);
        const float tufts = 1.6f * std::sin(a * 11) + 1.2f * Fbm(x * 0.3f, y * 0.3f, 21, 2);
        return Ellipse(25, 26, 18, 20)(x, y) - tufts;
    };
    Sdf arms = Union(Capsule(10, 30, 8, 48, 3.2f), Capsule(40, 30, 42, 48, 3.2f));
    Sdf handle = Capsule(25, 44, 25, 52, 1.4f);
    Sdf broom = Box(25, 56, 21, 3.2f, 0, 1.2f);
    Sdf all = Union(Union(fur, arms), Union(handle, broom));
    Fill(cv, Grow(all, 1.0f), Outline);
    Fill(cv, broom, [](float x, float) { return (static_cast<int>(x) % 3 == 0) ? Hex(0x9C7A3C) : Hex(0xC8A050); });
    Fill(cv, Box(25, 53, 21, 0.9f), Hex(0x6A4A22));
    Fill(cv, handle, Hex(0x7A5A2E));
    Fill(cv, arms, [](float x, float y) { return Mix(Hex(0x7E6A9E), Hex(0x4E3E6E), Fbm(x * 0.6f, y * 0.6f, 22, 2)); });
    Fill(cv, fur, [](float x, float y) {
        const float streak = 0.5f + 0.5f * std::sin(x * 1.7f + Fbm(x * 0.2f, y * 0.2f, 23, 2) * 8);
        const Rgb base = Mix(Hex(0x9A86BC), Hex(0x5C4A7E), Fbm(x * 0.25f, y * 0.25f, 24, 3));
        return Scale(base, 0.85f + 0.25f * streak - 0.004f * (x + y - 50));
    });
    // Eyes and a wide toothy mouth facing the way it goes.
    for (float ex : {18.0f, 32.0f}) {
        Fill(cv, Circle(ex, 30, 4.0f), Hex(0xF6F2D8));
        Fill(cv, Circle(ex + 0.6f, 31.2f, 1.9f), Hex(0x402020));
        Fill(cv, Circle(ex - 0.6f, 30.0f, 0.7f), Hex(0xFFFFFF));
    }
    Fill(cv, Ellipse(25, 40, 9.5f, 3.6f), Hex(0x6A1E28));
    for (int t = 0; t < 6; t++) Fill(cv, Polygon({17.5f + t * 3.0f, 37.2f, 20.5f + t * 3.0f, 37.2f, 19.0f + t * 3.0f, 40.2f}), Hex(0xF0ECD8));
}

// A fresh band of swept snow with broom marks.
void PaintCleanLine(Surface& s, int strip) {
    for (int y = 0; y < 10; y++)
        for (int x = 0; x < 49; x++) {
            const float n = Fbm(x * 0.25f, (y + strip * 10) * 0.6f, 30 + strip, 3);
            const float marks = 0.5f + 0.5f * std::sin(y * 2.2f + strip * 1.3f + n * 3);
            const float v = 214 + 22 * n + 10 * marks;
            SetPixel(s, x, strip * 10 + y, ToColour({v - 8, v - 2, v + 8}));
        }
}

void PaintAirPlane(Canvas& cv) {
    const Rgb body = Hex(0x6E7C52), dark = Hex(0x4E5A3A);
    Sdf wing = Polygon({18, 2, 24, 2, 26, 38, 18, 38});
    Sdf tail = Polygon({3, 12, 7, 12, 9, 28, 3, 28});
    Sdf fuselage = Ellipse(19, 20, 17, 3.6f);
    Sdf nose = Circle(35.5f, 20, 2.4f);
    Sdf prop = Union(Capsule(37.5f, 13, 37.5f, 27, 1.0f), Circle(37.5f, 20, 1.6f));
    Sdf all = Union(Union(wing, tail), Union(Union(fuselage, nose), prop));
    Fill(cv, Grow(all, 0.9f), Outline);
    Fill(cv, wing, [&](float x, float) { return Mix(body, dark, std::clamp((x - 18) / 9, 0.0f, 1.0f)); });
    Fill(cv, tail, body);
    Fill(cv, fuselage, [&](float, float y) { return Mix(Hex(0x8C9A6A), dark, std::clamp((y - 16) / 8, 0.0f, 1.0f)); });
    Fill(cv, Ellipse(24, 20, 3, 2), Hex(0x9CC8E8));  // cockpit glass
    for (float wy : {7.0f, 33.0f}) {                   // wing markings
        Fill(cv, Circle(22, wy, 3), Hex(0xF0F0F0));
        Fill(cv, Circle(22, wy, 1.8f), Hex(0xC02828));
    }
    Fill(cv, nose, Hex(0x404448));
    Fill(cv, prop, Hex(0x8A8E92));
}
}  // namespace

void DrawCreatures(PictureList& out) {
    Surface ovca = Blank(23 * OvcaFrames, 33);
    for (int f = 0; f < OvcaFrames; f++) {
        Canvas cv = MakeCanvas(23, 16);
        PaintSheep(cv, f % 4);
        if (f >= 4) cv = Mirror(cv);
        PutSprite(cv, ovca, f * 23, 0, f * 23, 17);
    }
    out.push_back({"Ovca.jpg", ovca});

    Surface dead = Blank(17, 32);
    Canvas dc = MakeCanvas(17, 16);
    PaintDeadSheep(dc);
    PutSprite(dc, dead, 0, 0, 0, 16);
    out.push_back({"OvcaDead.jpg", dead});

    Surface cleaner = Blank(100, 64);
    Canvas cc = MakeCanvas(50, 64);
    PaintCleaner(cc);
    PutSprite(cc, cleaner, 0, 0, 50, 0);
    out.push_back({"Cleaner.jpg", cleaner});

    Surface line = Blank(49, 10 * CleanLineStrips);
    for (int i = 0; i < CleanLineStrips; i++) PaintCleanLine(line, i);
    out.push_back({"CleanLine.jpg", line});

    Surface plane = Blank(80, 40);
    Canvas pc = MakeCanvas(40, 40);
    PaintAirPlane(pc);
    PutSprite(pc, plane, 0, 0, 40, 0);
    out.push_back({"AirPlane.jpg", plane});
}
