// Title and menu pictures, logos, bars, status strips and small interface pieces.
#include <cmath>
#include <tuple>

#include "Art.h"
#include "graphics/WorkWithMemory.h"

namespace {
const Rgb Navy = Hex(0x1A2A5C);
const Rgb Outline = {48, 46, 50};

Rgb VGrad(Rgb top, Rgb bottom, float y, float h) { return Mix(top, bottom, std::clamp(y / h, 0.0f, 1.0f)); }

// The name in icy block letters with a dark rim and a drop shadow.
void PaintTitle(Canvas& cv, float x, float y, float w, float h, float stroke, Rgb top, Rgb bottom, Rgb rim,
                float shadow) {
    Sdf word = BlockLetters("DORVIK", x, y, w, h, stroke);
    if (shadow > 0) Fill(cv, [=](float px, float py) { return word(px - shadow, py - shadow) - stroke * 0.3f; }, Hex(0x060A14), 0.6f);
    Fill(cv, Grow(word, std::max(1.0f, stroke * 0.35f)), rim);
    Fill(cv, word, [=](float, float py) {
        const Rgb c = VGrad(top, bottom, py - y, h);
        // A bright band across the upper half, like ice catching the light.
        return (py - y) < h * 0.42f && (py - y) > h * 0.3f ? Mix(c, Rgb{255, 255, 255}, 0.35f) : c;
    });
}

Surface MakeMainLogo() {
    Canvas cv = MakeCanvas(300, 300, {}, 1);
    for (int y = 0; y < 300; y++)
        for (int x = 0; x < 300; x++) {
            Rgb c = VGrad(Hex(0x0E1630), Hex(0x5A78A8), static_cast<float>(y), 200);
            if (Hash2(x, y, 1) > 0.996f && y < 150) c = Hex(0xE8F0FF);  // stars
            cv.C[static_cast<size_t>(y) * 300 + x] = c;
        }
    // Far mountains and near snowy hills.
    Fill(cv, [](float x, float y) { return (165 - 45 * Fbm(x * 0.012f, 0.5f, 2, 4)) - y; },
         [](float, float y) { return VGrad(Hex(0x6E84B4), Hex(0x9AB0D4), y - 110, 80); });
    Fill(cv, [](float x, float y) { return (200 - 30 * Fbm(x * 0.01f, 3.5f, 3, 3)) - y; },
         [](float x, float y) { return Scale(VGrad(Hex(0xDCE6F4), Hex(0xB4C4DC), y - 170, 110), 0.93f + 0.1f * Fbm(x * 0.05f, y * 0.05f, 4, 3)); });
    // Pines on the hills.
    for (int t = 0; t < 14; t++) {
        const float tx = 8 + t * 21.5f + Hash2(t, 0, 5) * 10;
        const float base = 206 - 30 * Fbm(tx * 0.01f, 3.5f, 3, 3) + Hash2(t, 1, 5) * 30;
        const float th = 26 + Hash2(t, 2, 5) * 22;
        Sdf tree = Box(tx, base - 2, 1.3f, 4);
        for (int l = 0; l < 3; l++) {
            const float ly = base - 4 - l * th * 0.28f, lw = th * (0.36f - l * 0.09f);
            tree = Union(tree, Polygon({tx - lw, ly, tx + lw, ly, tx, ly - th * 0.42f}));
        }
        Fill(cv, tree, [](float x, float y) { return Mix(Hex(0x1E3A2E), Hex(0x2E5240), Hash2(int(x), int(y), 6)); });
        Fill(cv, Polygon({tx - th * 0.2f, base - 4 - th * 0.56f + 3, tx + th * 0.2f, base - 4 - th * 0.56f + 3, tx, base - 4 - th * 0.98f}),
             Hex(0xEEF4FF), 0.8f);
    }
    PaintTitle(cv, 20, 36, 260, 84, 7.5f, Hex(0xFFFFFF), Hex(0x8CC4F0), Hex(0x14204A), 4);
    const std::string sub = "DER UR URUZU";
    PixelText(cv, 150 - PixelTextWidth(sub, 2) / 2.0f + 1, 137, sub, Hex(0x0A1020), 2);
    PixelText(cv, 150 - PixelTextWidth(sub, 2) / 2.0f, 136, sub, Hex(0xD8ECFF), 2);
    // Falling snow.
    for (int f = 0; f < 160; f++) {
        const float fx = Hash2(f, 3, 9) * 300, fy = Hash2(f, 4, 9) * 280, r = 0.6f + Hash2(f, 5, 9) * 1.1f;
        Fill(cv, Circle(fx, fy, r), Hex(0xFFFFFF), 0.85f);
    }
    // The strip for the loading text and the progress bar.
    Fill(cv, Box(150, 293, 150, 7.5f), Hex(0x0A1224));
    Fill(cv, Box(150, 285.5f, 150, 0.5f), Hex(0x4A6A9A));
    Surface s = Blank(300, 300);
    PutOpaque(cv, s, 0, 0);
    return s;
}

Surface MakeLoading() {
    Canvas cv = MakeCanvas(300, 13, Hex(0x0A1224), 1);
    Fill(cv, Box(150, 6.5f, 149.5f, 6, 0, 2), Hex(0x6A8AC0));
    Fill(cv, Box(150, 6.5f, 148, 4.5f, 0, 1.5f), Hex(0x101C38));
    for (int i = 0; i < 37; i++)
        Fill(cv, Box(6.5f + i * 8, 6.5f, 3.2f, 3.2f, 0, 0.8f),
             [&](float, float y) { return Mix(Hex(0xD8F4FF), Mix(Hex(0x3AA8E8), Hex(0x60E0A0), i / 36.0f), (y - 3) / 7); });
    Surface s = Blank(300, 13);
    PutOpaque(cv, s, 0, 0);
    return s;
}

// Logo: 107 x 23 with its mask 24 rows below; LogoFull: 107 x 40, mask at y = 40.
Surface MakeLogo(bool full) {
    const int h = full ? 40 : 23, maskY = full ? 40 : 24;
    Canvas cv = MakeCanvas(107, h);
    PaintTitle(cv, 1, 1, 105, full ? 26 : 21, full ? 2.5f : 2.1f, Hex(0x3C6CC8), Hex(0x14245C), Hex(0xF4F8FF), 0);
    if (full) {
        const std::string sub = "DER UR URUZU";
        const float x = 53.5f - PixelTextWidth(sub) / 2.0f;
        Fill(cv, Box(53.5f, 34, PixelTextWidth(sub) / 2.0f + 3, 5.5f, 0, 2), Hex(0xF4F8FF));
        PixelText(cv, x, 31, sub, Navy);
    }
    Surface s = Blank(107, maskY + h);
    PutSprite(cv, s, 0, 0, 0, maskY);
    return s;
}

// The light menu panel: frosted glass with a steel frame; navy text reads on it.
Surface MakeMainMenu() {
    Canvas cv = MakeCanvas(270, 270, {}, 1);
    for (int y = 0; y < 270; y++)
        for (int x = 0; x < 270; x++) {
            const float n = Fbm(x * 0.03f, y * 0.03f, 90, 4);
            const float frost = Fbm(x * 0.15f, y * 0.15f, 91, 2);
            Rgb c = VGrad(Hex(0xF4F8FF), Hex(0xD4E2F2), static_cast<float>(y), 270);
            c = Scale(c, 0.96f + 0.06f * n + 0.03f * frost);
            cv.C[static_cast<size_t>(y) * 270 + x] = c;
        }
    Sdf frame = Subtract(Box(135, 135, 135, 135, 0, 8), Box(135, 135, 131, 131, 0, 6));
    Fill(cv, frame, Hex(0x5A7AAA));
    Fill(cv, Subtract(Box(135, 135, 131, 131, 0, 6), Box(135, 135, 129.5f, 129.5f, 0, 5)), Hex(0xFFFFFF));
    // Faint snowflakes in two corners.
    for (auto [cx, cy, r] : {std::tuple{240.0f, 240.0f, 22.0f}, std::tuple{246.0f, 196.0f, 10.0f}, std::tuple{26.0f, 246.0f, 12.0f}}) {
        Sdf flake = Circle(cx, cy, r * 0.12f);
        for (int a = 0; a < 6; a++) {
            const float ang = a * 3.14159265f / 3;
            flake = Union(flake, Capsule(cx, cy, cx + std::cos(ang) * r, cy + std::sin(ang) * r, r * 0.06f + 0.4f));
            for (float side : {-0.7f, 0.7f})
                flake = Union(flake, Capsule(cx + std::cos(ang) * r * 0.55f, cy + std::sin(ang) * r * 0.55f,
                                             cx + std::cos(ang) * r * 0.55f + std::cos(ang + side) * r * 0.3f,
                                             cy + std::sin(ang) * r * 0.55f + std::sin(ang + side) * r * 0.3f, r * 0.05f + 0.3f));
        }
        Fill(cv, flake, Hex(0xA8C0E0), 0.7f);
    }
    Surface s = Blank(270, 270);
    PutOpaque(cv, s, 0, 0);
    return s;
}

Surface MakeSliderMenu() {
    Canvas cv = MakeCanvas(10, 140);
    Sdf groove = Box(5, 70, 3.2f, 69, 0, 3);
    Fill(cv, Grow(groove, 0.8f), Hex(0x3A4A6A));
    Fill(cv, groove, [](float x, float) { return Mix(Hex(0xA0B4D0), Hex(0xE4ECF8), std::clamp((x - 2) / 6, 0.0f, 1.0f)); });
    for (int t = 0; t < 11; t++) Fill(cv, Box(5, 7.5f + t * 12.5f, 1.6f, 0.5f), Hex(0x5A6E94));
    Surface s = Blank(20, 140);
    PutSprite(cv, s, 0, 0, 10, 0);
    return s;
}

Surface MakeSliderDrag() {
    Canvas cv = MakeCanvas(8, 14, Hex(0x1E3266), 1);
    Fill(cv, Box(4, 7, 3, 6, 0, 1), [](float x, float y) { return Mix(Hex(0x9CC4FF), Hex(0x2A4C9A), (x + y) / 18); });
    for (int l = 0; l < 3; l++) Fill(cv, Box(4, 5 + l * 2, 2, 0.5f), Hex(0xDCEAFF));
    Surface s = Blank(8, 14);
    PutOpaque(cv, s, 0, 0);
    return s;
}

Surface MakeLayer() {
    Canvas cv = MakeCanvas(298, 13, {}, 1);
    for (int y = 0; y < 13; y++)
        for (int x = 0; x < 298; x++)
            cv.C[static_cast<size_t>(y) * 298 + x] = Scale(VGrad(Hex(0x2A3C64), Hex(0x101A34), y, 12), 0.95f + 0.08f * Hash2(x / 3, y, 12));
    Fill(cv, Box(149, 0.5f, 149, 0.5f), Hex(0x7A9ACC));
    Fill(cv, Box(149, 12.5f, 149, 0.5f), Hex(0x0A0E1C));
    Surface s = Blank(298, 13);
    PutOpaque(cv, s, 0, 0);
    return s;
}

Surface MakeLayerScore() {
    Canvas cv = MakeCanvas(85, 15);
    Sdf plate = Box(42.5f, 7.5f, 42, 7, 0, 4);
    Fill(cv, plate, Hex(0x8AAAD8));
    Fill(cv, Box(42.5f, 7.5f, 41, 6, 0, 3.5f), [](float, float y) { return VGrad(Hex(0x2A3E6C), Hex(0x121C3A), y, 15); });
    Surface s = Blank(85, 30);
    PutSprite(cv, s, 0, 0, 0, 15);
    return s;
}

Surface MakeCheck() {
    Canvas cv = MakeCanvas(16, 8);
    for (int c = 0; c < 2; c++) {
        const float ox = c * 8.0f;
        Fill(cv, Box(ox + 4, 4, 4, 4), Navy);
        Fill(cv, Box(ox + 4, 4, 3, 3), Hex(0xF8FBFF));
    }
    Fill(cv, Stroke({1.8f, 4.2f, 3.3f, 5.8f, 6.3f, 1.8f}, 0.7f), Hex(0x1E9A3A));
    Surface s = Blank(16, 8);
    PutOpaque(cv, s, 0, 0, Hex(0xF8FBFF));
    return s;
}

Surface MakeScoreUpDown() {
    Canvas cv = MakeCanvas(9, 27, Hex(0xEEF3FA), 1);
    Fill(cv, Polygon({4.5f, 1, 8, 7.5f, 1, 7.5f}), Hex(0x1EA040));            // new
    Fill(cv, Box(4.5f, 13.5f, 2.5f, 1), Hex(0x8A94A6));                         // unknown
    Fill(cv, Polygon({1, 19.5f, 8, 19.5f, 4.5f, 26}), Hex(0x4A6AB0));          // old
    Surface s = Blank(9, 27);
    PutOpaque(cv, s, 0, 0);
    return s;
}

// Help pictures on the panel's light colour.
Surface MakeHelp(int which) {
    const Rgb paper = Hex(0xE8EFF8);
    if (which == 1) {
        Canvas cv = MakeCanvas(23, 32, paper, 1);
        Sdf crate = Box(11.5f, 23, 9.5f, 7, 0, 1);
        Fill(cv, Grow(crate, 0.8f), Outline);
        Fill(cv, crate, Hex(0x6E7A3C));
        Fill(cv, Box(11.5f, 23, 9.5f, 0.6f), Hex(0x4E5A2A));
        for (int b = 0; b < 4; b++) Fill(cv, Box(5.5f + b * 4, 19, 1, 2.2f), Hex(0xD8A830));
        PixelText(cv, 6, 2, "15", Hex(0xC02020));
        Surface s = Blank(23, 32);
        PutOpaque(cv, s, 0, 0);
        return s;
    }
    if (which == 2) {
        Canvas cv = MakeCanvas(62, 20, paper, 1);
        Fill(cv, Box(31, 5, 30, 3.5f, 0, 1), Hex(0x3A1010));
        Fill(cv, Box(22, 5, 21, 2.5f, 0, 1), [](float, float y) { return VGrad(Hex(0xFF8080), Hex(0xB01010), y - 2, 6); });
        Fill(cv, Box(31, 14, 30, 3.5f, 0, 1), Hex(0x3A3010));
        Fill(cv, Box(18, 14, 17, 2.5f, 0, 1), [](float, float y) { return VGrad(Hex(0xFFE890), Hex(0xC08A10), y - 11, 6); });
        Surface s = Blank(62, 20);
        PutOpaque(cv, s, 0, 0);
        return s;
    }
    Canvas cv = MakeCanvas(32, 32, paper, 1);
    Canvas bomb = MakeCanvas(32, 32);
    PaintBombIcon(bomb, 2, 3, 1);
    for (size_t i = 0; i < cv.C.size(); i++) cv.C[i] = Mix(cv.C[i], bomb.C[i], bomb.A[i]);
    Surface s = Blank(32, 32);
    PutOpaque(cv, s, 0, 0);
    return s;
}

Surface MakeEnterText() {
    Canvas cv = MakeCanvas(150, 15);
    Fill(cv, Box(75, 7.5f, 74.5f, 7, 0, 4), Hex(0xE8A030));
    Fill(cv, Box(75, 7.5f, 73, 5.8f, 0, 3.5f), [](float, float y) { return VGrad(Hex(0xFFFCE8), Hex(0xFFEAA0), y, 15); });
    Surface s = Blank(150, 30);
    PutSprite(cv, s, 0, 0, 0, 15);
    return s;
}

// Health and ammunition: empty strip at y = 0, full strip at y = 10.
Surface MakeStatusBar2(Rgb emptyTint, Rgb light, Rgb deep) {
    Canvas cv = MakeCanvas(300, 20, {}, 1);
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 300; x++) {
            const int r = y % 10;
            Rgb c;
            if (r == 0 || r == 9) c = Hex(0x0C0E14);
            else if (y < 10) c = Scale(emptyTint, 0.8f + 0.2f * (r < 4) + 0.05f * (x % 10 == 0));
            else c = Mix(light, deep, (r - 1) / 8.0f);
            if (y >= 10 && x % 10 == 9 && r > 0 && r < 9) c = Scale(c, 0.85f);
            cv.C[static_cast<size_t>(y) * 300 + x] = c;
        }
    Surface s = Blank(300, 20);
    PutOpaque(cv, s, 0, 0);
    return s;
}

// Skills: empty strip 300 x 10 at y = 0, 7-high fill at y = 10, 2-high marker
// at y = 18. The fill's width is rating x 18.5 + 98, so the label sits left of 98.
Surface MakeSkillStrip(const std::string& label, Rgb colour) {
    Canvas cv = MakeCanvas(300, 20, {}, 1);
    for (int y = 0; y < 10; y++)
        for (int x = 0; x < 300; x++) {
            Rgb c = x < 98 ? Hex(0x141A2A) : Hex(0x1E2436);
            if (x >= 98) {
                const float pos = (x - 98) / 18.5f;
                if (pos - std::floor(pos) < 0.06f && y < 7) c = Hex(0x3A4460);
            }
            if (y >= 7) c = Hex(0x0C0E14);
            cv.C[static_cast<size_t>(y) * 300 + x] = c;
        }
    PixelText(cv, 2, 0, label, Scale(colour, 0.6f));
    for (int y = 10; y < 17; y++)
        for (int x = 0; x < 300; x++) {
            Rgb c = x < 98 ? Hex(0x1C2438) : Mix(Mix(colour, Rgb{255, 255, 255}, 0.45f), Scale(colour, 0.7f), (y - 10) / 6.0f);
            if (x >= 98) {
                const float pos = (x - 98) / 18.5f;
                if (pos - std::floor(pos) < 0.06f) c = Scale(c, 0.7f);
            }
            cv.C[static_cast<size_t>(y) * 300 + x] = c;
        }
    PixelText(cv, 2, 10, label, Mix(colour, Rgb{255, 255, 255}, 0.5f));
    for (int y = 17; y < 20; y++)
        for (int x = 0; x < 300; x++)
            cv.C[static_cast<size_t>(y) * 300 + x] = y == 17 ? Rgb{} : Mix(colour, Rgb{255, 255, 255}, y == 18 ? 0.6f : 0.1f);
    Surface s = Blank(300, 20);
    PutOpaque(cv, s, 0, 0);
    return s;
}

Surface MakeStatusBackground() {
    Canvas cv = MakeCanvas(300, 78, {}, 1);
    for (int y = 0; y < 78; y++)
        for (int x = 0; x < 300; x++) {
            const float n = Fbm(x * 0.05f, y * 0.05f, 120, 3);
            Rgb c = Scale(VGrad(Hex(0x1C2438), Hex(0x0E121E), y, 78), 0.9f + 0.2f * n);
            if (y == 21 || y == 22) c = Hex(0x3A4A6E);
            cv.C[static_cast<size_t>(y) * 300 + x] = c;
        }
    Surface s = Blank(300, 78);
    PutOpaque(cv, s, 0, 0);
    return s;
}

Surface MakeInRowBar() {
    Surface s = Blank(InRowBarWidth, 3);
    for (int x = 0; x < InRowBarWidth; x++) {
        const Rgb c = Mix(Hex(0xFFE040), Hex(0xFF2010), x / static_cast<float>(InRowBarWidth - 1));
        SetPixel(s, x, 0, ToColour(Mix(c, Rgb{255, 255, 255}, 0.5f)));
        SetPixel(s, x, 1, ToColour(c));
        SetPixel(s, x, 2, ToColour(Scale(c, 0.7f)));
    }
    return s;
}
}  // namespace

void DrawScreens(PictureList& out) {
    out.push_back({"StatusBar.jpg", MakeStatusBackground()});
    out.push_back({"MainLogo.jpg", MakeMainLogo()});
    out.push_back({"Loading.jpg", MakeLoading()});
    out.push_back({"Logo.jpg", MakeLogo(false)});
    out.push_back({"SliderMenu.jpg", MakeSliderMenu()});
    out.push_back({"SliderDrag.jpg", MakeSliderDrag()});
    out.push_back({"Layer.jpg", MakeLayer()});
    out.push_back({"LayerScore.jpg", MakeLayerScore()});
    out.push_back({"Check.jpg", MakeCheck()});
    out.push_back({"ScoreUpDown.jpg", MakeScoreUpDown()});
    out.push_back({"Help1.jpg", MakeHelp(1)});
    out.push_back({"Help2.jpg", MakeHelp(2)});
    out.push_back({"Help3.jpg", MakeHelp(3)});
    out.push_back({"MainMenu.jpg", MakeMainMenu()});
    out.push_back({"EnterText.jpg", MakeEnterText()});
    out.push_back({"StatusHealth.jpg", MakeStatusBar2(Hex(0x4A1C1C), Hex(0xFF7A6A), Hex(0xA81414))});
    out.push_back({"StatusAmmo.jpg", MakeStatusBar2(Hex(0x4A401A), Hex(0xFFE890), Hex(0xB8860E))});
    out.push_back({"StatusAccuracy.jpg", MakeSkillStrip("ACCURACY", Hex(0x40D870))});
    out.push_back({"StatusRecharge.jpg", MakeSkillStrip("RECHARGE", Hex(0x40B8F0))});
    out.push_back({"StatusBulletSpeed.jpg", MakeSkillStrip("BULLET SPEED", Hex(0xF0A030))});
    out.push_back({"StatusMelee.jpg", MakeSkillStrip("MELEE", Hex(0xF04848))});
    out.push_back({"InRowBar.jpg", MakeInRowBar()});
    out.push_back({"LogoFull.jpg", MakeLogo(true)});
}
