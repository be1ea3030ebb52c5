// The game's icon for the desktop: a snowy night tile with the initial in icy
// block letters and a red aiming ring, drawn afresh at each size so every one
// is sharp, with transparent corners.
#include "Icons.h"

#include <cmath>
#include <cstdio>

#include "Draw.h"
#include "platform/Image.h"

namespace {
Canvas PaintIcon(int size) {
    const float n = static_cast<float>(size), s = n / 256;
    Canvas cv = MakeCanvas(size, size);
    const Sdf tile = Box(n / 2, n / 2, 118 * s, 118 * s, 0, 40 * s);
    auto within = [tile](Sdf shape) { return [=](float x, float y) { return std::max(tile(x, y), shape(x, y)); }; };

    // Night sky over a snow field.
    Fill(cv, tile, [=](float, float y) { return Mix(Hex(0x0E1630), Hex(0x4A6898), std::clamp(y / n, 0.0f, 1.0f)); });
    for (int i = 0; i < 9; i++) {
        const float sx = (30 + Hash2(i, 0, 11) * 196) * s, sy = (26 + Hash2(i, 1, 11) * 80) * s;
        Fill(cv, within(Circle(sx, sy, (1.2f + Hash2(i, 2, 11) * 1.4f) * s)), Hex(0xE8F0FF));
    }
    const Sdf snow = [=](float x, float y) { return (172 * s - 18 * s * std::sin(x / n * 3.1f + 0.4f)) - y; };
    Fill(cv, within(snow), [=](float, float y) {
        return Mix(Hex(0xE6EEF8), Hex(0xAFC2DC), std::clamp((y - 150 * s) / (100 * s), 0.0f, 1.0f));
    });

    // The initial, icy with a dark rim.
    const float stroke = 15 * s;
    const Sdf letter = BlockLetters("D", 46 * s, 36 * s, 118 * s, 150 * s, stroke);
    Fill(
        cv, [=](float x, float y) { return letter(x - 5 * s, y - 5 * s); }, Hex(0x060A14), 0.55f);
    Fill(cv, Grow(letter, 5 * s), Hex(0x14204A));
    Fill(cv, letter, [=](float, float y) {
        return Mix(Hex(0xFFFFFF), Hex(0x8CC4F0), std::clamp((y - 36 * s) / (150 * s), 0.0f, 1.0f));
    });

    // The aiming ring with four ticks, lower right.
    const float cx = 176 * s, cy = 170 * s, r = 42 * s, w = 6 * s;
    const Sdf ring = [=](float x, float y) { return std::abs(std::hypot(x - cx, y - cy) - r) - w; };
    Sdf sight = ring;
    const float ticks[4][4] = {{cx, cy - r - 16 * s, cx, cy - r + 14 * s},
                               {cx, cy + r - 14 * s, cx, cy + r + 16 * s},
                               {cx - r - 16 * s, cy, cx - r + 14 * s, cy},
                               {cx + r - 14 * s, cy, cx + r + 16 * s, cy}};
    for (const auto& t : ticks) sight = Union(sight, Capsule(t[0], t[1], t[2], t[3], w * 0.8f));
    sight = Union(sight, Circle(cx, cy, w));
    Fill(cv, within(Grow(sight, 3 * s)), Hex(0x1A0806), 0.85f);
    Fill(cv, within(sight), Hex(0xE0382C));

    // A thin dark edge keeps the tile readable on light and dark panels.
    Fill(
        cv, [=](float x, float y) { return std::abs(tile(x, y) + 1.5f * s) - 1.5f * s; }, Hex(0x0A1020), 0.9f);
    return cv;
}
}  // namespace

bool GenerateIcons(const std::string& folder) {
    bool ok = true;
    for (int size : {64, 128, 256}) {
        const Canvas cv = PaintIcon(size);
        Surface pic;
        CreateSurface(pic, size, size);
        std::vector<uint8_t> alpha(cv.A.size());
        for (size_t i = 0; i < cv.A.size(); i++) {
            pic.Pixels[i] = ToColour(cv.C[i]);
            alpha[i] = static_cast<uint8_t>(std::lround(std::clamp(cv.A[i], 0.0f, 1.0f) * 255));
        }
        const std::string path = folder + "/dorvik-" + std::to_string(size) + ".png";
        if (!SavePngFile(path, pic, &alpha)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok;
}
