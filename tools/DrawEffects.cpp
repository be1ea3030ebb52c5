// Explosion, crater, bomb, drug and crate icons, bullets and the two cursors.
#include <cmath>

#include "Art.h"
#include "graphics/WorkWithMemory.h"

namespace {
const float Pi = 3.14159265f;
const Rgb Outline = {48, 46, 50};

// Frame k of 27: a fireball that swells, turns to smoke and thins away.
void PaintExplosion(Canvas& cv, int k) {
    const float fireR = k < 8 ? 5 + 22 * std::sqrt(k / 7.0f) : std::max(0.0f, 27 * (1 - (k - 8) / 9.0f));
    const float smokeR = k < 3 ? 0 : std::min(30.0f, 12 + 2.2f * (k - 3));
    const float density = k <= 15 ? 1.0f : 1 - 0.8f * (k - 15) / 11.0f;
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float d = std::hypot(px - 32, py - 32);
            const float n = Fbm(px * 0.12f + k * 0.15f, py * 0.12f - k * 0.1f, 50, 4);
            const float n2 = Fbm(px * 0.2f, py * 0.2f + k * 0.2f, 60, 3);
            const size_t i = static_cast<size_t>(y) * 64 + x;
            const float fr = fireR * (0.75f + 0.5f * n);
            if (d < fr) {
                const float heat = 1 - d / std::max(fr, 0.01f);
                const float fade = k < 8 ? 1.0f : 0.6f + 0.4f * fireR / 27;
                Rgb c = heat > 0.7f ? Mix(Hex(0xFFD860), Hex(0xFFFFE0), (heat - 0.7f) / 0.3f)
                        : heat > 0.35f ? Mix(Hex(0xFF8A1C), Hex(0xFFD860), (heat - 0.35f) / 0.35f)
                                       : Mix(Hex(0xB82810), Hex(0xFF8A1C), heat / 0.35f);
                cv.C[i] = Scale(c, fade);
                cv.A[i] = 1;
            } else if (d < smokeR * (0.8f + 0.4f * n) && std::clamp((n2 - 0.25f) / 0.5f, 0.0f, 1.0f) < density) {
                const float g = 70 + 90 * n2 + 30 * (1 - d / 32);
                Rgb c = {g, g * 0.96f, g * 0.92f};
                if (k < 12 && d < fr + 5) c = Mix(c, Hex(0xA03C10), 0.5f * (1 - (d - fr) / 5));
                cv.C[i] = c;
                cv.A[i] = 1;
            }
        }
    // Burning fragments thrown out in the first frames.
    if (k >= 2 && k <= 13)
        for (int p = 0; p < 9; p++) {
            const float a = p * 2 * Pi / 9 + Hash2(p, 0, 70) * 0.6f;
            const float dist = 10 + k * 1.7f + Hash2(p, 1, 70) * 5;
            if (dist > 30) continue;
            Fill(cv, Circle(32 + std::cos(a) * dist, 32 + std::sin(a) * dist, 1.3f - k * 0.05f),
                 Mix(Hex(0xFFE080), Hex(0xC04010), k / 13.0f));
        }
}

// The crater a bomb leaves: scorched earth with a rim of thrown dirt.
void PaintCrater(Canvas& cv) {
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float d = std::hypot(px - 32, py - 32);
            const float a = std::atan2(py - 32, px - 32);
            const float n = Fbm(px * 0.1f, py * 0.1f, 80, 4);
            const float edge = 20 + 9 * n + 3 * std::sin(a * 7 + n * 5);
            const size_t i = static_cast<size_t>(y) * 64 + x;
            if (d > edge) continue;
            const float t = d / edge;
            const float speck = Hash2(x, y, 81);
            const float grain = Fbm(px * 0.35f, py * 0.35f, 82, 2);
            // Scorched pit, then a rim of thrown-up dirt, lighter at its crest.
            Rgb c = t < 0.5f ? Mix(Hex(0x221C1A), Hex(0x3E3228), t / 0.5f)
                             : Mix(Hex(0x4E4034), Hex(0x7A6A58), std::sin((t - 0.5f) / 0.5f * 2.6f));
            c = Scale(c, 0.85f + 0.3f * grain);
            if (speck > 0.96f && t > 0.45f) c = Hex(0x9A9288);  // pebbles
            cv.C[i] = c;
            cv.A[i] = 1;
        }
}

}  // namespace

void PaintBombIcon(Canvas& cv, float ox, float oy, float s) {
    Sdf ball = Circle(ox + 13 * s, oy + 17 * s, 9.5f * s);
    Sdf cap = Box(ox + 20 * s, oy + 9.5f * s, 3 * s, 2 * s, -0.8f, 0.5f);
    Sdf fuse = Stroke({ox + 21.5f * s, oy + 8 * s, ox + 23.5f * s, oy + 5 * s, ox + 26 * s, oy + 4.5f * s}, 0.8f * s);
    Fill(cv, Grow(Union(Union(ball, cap), fuse), 0.9f), Outline);
    Fill(cv, ball, [&](float x, float y) {
        const float d = std::hypot(x - (ox + 9.5f * s), y - (oy + 13 * s)) / (13 * s);
        return Mix(Hex(0xA4AAB4), Hex(0x40444C), std::clamp(d, 0.0f, 1.0f));
    });
    Fill(cv, cap, Hex(0x6C7078));
    Fill(cv, fuse, Hex(0xC8B080));
    for (int r = 0; r < 4; r++) {
        const float a = r * Pi / 4;
        Fill(cv, Capsule(ox + 26 * s - std::cos(a) * 2.8f * s, oy + 4.5f * s - std::sin(a) * 2.8f * s,
                         ox + 26 * s + std::cos(a) * 2.8f * s, oy + 4.5f * s + std::sin(a) * 2.8f * s, 0.55f * s),
             Hex(0xFFE040));
    }
}

namespace {
Sdf Heart(float cx, float cy, float s) {
    return Union(Union(Circle(cx - 4.5f * s, cy - 3 * s, 5 * s), Circle(cx + 4.5f * s, cy - 3 * s, 5 * s)),
                 Polygon({cx - 9.2f * s, cy - 1.5f * s, cx + 9.2f * s, cy - 1.5f * s, cx, cy + 10 * s}));
}

void PaintBoostIcon(Canvas& cv, int kind) {
    if (kind == 0) {  // heart: health boost
        Sdf h = Heart(15, 14, 1.15f);
        Fill(cv, Grow(h, 1), Outline);
        Fill(cv, h, [](float x, float y) { return Mix(Hex(0xFF7070), Hex(0xB01018), std::clamp((x + y - 12) / 30, 0.0f, 1.0f)); });
        Fill(cv, Ellipse(10, 9, 2.5f, 1.6f, -0.6f), Hex(0xFFC8C8));
    } else if (kind == 1) {  // lightning: speed
        Sdf bolt = Polygon({17, 2, 7, 17, 14, 17, 11, 28, 23, 11, 16, 11, 20, 2});
        Fill(cv, Grow(bolt, 1), Outline);
        Fill(cv, bolt, [](float, float y) { return Mix(Hex(0xFFF4A0), Hex(0xF0A010), y / 30); });
    } else {  // spiral eye: the bad trip
        Sdf eye = Ellipse(15, 15, 13, 8);
        Fill(cv, Grow(eye, 1), Outline);
        Fill(cv, eye, Hex(0xE8F0E0));
        std::vector<float> sp;
        for (int i = 0; i <= 40; i++) {
            const float a = i * 0.42f, r = 0.2f + i * 0.16f;
            sp.push_back(15 + std::cos(a) * r);
            sp.push_back(15 + std::sin(a) * r);
        }
        Fill(cv, Circle(15, 15, 6.8f), Hex(0x8A3CC8));
        Fill(cv, Stroke(sp, 0.7f), Hex(0x3A1060));
    }
}

void PaintHealthCell(Canvas& cv, int frame) {
    const float pulse = 0.75f + 0.25f * std::cos(frame * Pi / 2);
    Fill(cv, Box(3.5f, 3.5f, 3.5f, 3.5f), Outline);
    Fill(cv, Box(3.5f, 3.5f, 2.6f, 2.6f), Hex(0xF4F4F0));
    Fill(cv, Union(Box(3.5f, 3.5f, 2.1f, 0.6f), Box(3.5f, 3.5f, 0.6f, 2.1f)), Scale(Hex(0xFF2020), pulse));
}

void PaintAmmoCell(Canvas& cv, int frame) {
    Fill(cv, Box(4.5f, 3.5f, 4.5f, 3.5f), Outline);
    Fill(cv, Box(4.5f, 3.5f, 3.6f, 2.6f), Hex(0x6E7A3C));
    for (int b = 0; b < 3; b++) {
        const float bx = 2.5f + b * 2;
        const bool glint = b == frame;  // a glint runs along the bullets
        Fill(cv, Box(bx, 2.5f, 0.55f, 1.2f), glint ? Hex(0xFFF0A0) : Hex(0xD8A830));
        Fill(cv, Box(bx, 4.6f, 0.55f, 0.8f), Hex(0xA07820));
    }
}

void PaintDrug(Canvas& cv, int kind) {
    const Rgb colours[4] = {Hex(0x40D860), Hex(0x40A0F0), Hex(0xF04040), Hex(0xB040E0)};
    Fill(cv, Box(3.5f, 3.5f, 3.5f, 3.5f, 0, 1.2f), Outline);
    Fill(cv, Circle(3.5f, 3.9f, 2.5f), colours[kind]);
    Fill(cv, Polygon({3.5f, 0.6f, 5.2f, 3.2f, 1.8f, 3.2f}), colours[kind]);
    Fill(cv, Circle(2.8f, 3.2f, 0.7f), Mix(colours[kind], Rgb{255, 255, 255}, 0.7f));
}

void PaintBullet(Canvas& cv, float ox) {
    Sdf casing = Box(ox + 5, 7, 2.1f, 3.2f, 0, 0.4f);
    Sdf tip = Union(Circle(ox + 5, 3.6f, 2.1f), Box(ox + 5, 4.2f, 2.1f, 0.8f));
    Fill(cv, Grow(Union(casing, tip), 0.7f), Outline);
    Fill(cv, casing, [&](float x, float) { return Mix(Hex(0xF0D060), Hex(0xA07818), std::clamp((x - ox - 3) / 4, 0.0f, 1.0f)); });
    Fill(cv, tip, [&](float x, float) { return Mix(Hex(0xF0A070), Hex(0x9A4A20), std::clamp((x - ox - 3) / 4, 0.0f, 1.0f)); });
}

void PaintCrossHair(Canvas& cv) {
    Sdf ticks = Union(Union(Box(4.5f, 1.25f, 0.5f, 1.25f), Box(4.5f, 7.75f, 0.5f, 1.25f)),
                      Union(Box(1.25f, 4.5f, 1.25f, 0.5f), Box(7.75f, 4.5f, 1.25f, 0.5f)));
    Fill(cv, ticks, Hex(0xFF3030));
    Fill(cv, Box(4.5f, 4.5f, 0.5f, 0.5f), Hex(0xFFE040));
}

// The menu pointer: a snowflake centred on the mouse.
void PaintSnowflake(Canvas& cv) {
    Sdf flake = Circle(9, 9, 1.8f);
    for (int arm = 0; arm < 6; arm++) {
        const float a = arm * Pi / 3 + Pi / 2;
        const float c = std::cos(a), s = std::sin(a);
        flake = Union(flake, Capsule(9, 9, 9 + c * 7.6f, 9 + s * 7.6f, 0.75f));
        for (float side : {-1.0f, 1.0f}) {
            const float b = a + side * 0.8f;
            flake = Union(flake, Capsule(9 + c * 4.6f, 9 + s * 4.6f, 9 + c * 4.6f + std::cos(b) * 2.6f,
                                         9 + s * 4.6f + std::sin(b) * 2.6f, 0.55f));
        }
    }
    Fill(cv, Grow(flake, 0.9f), Hex(0x203A70));
    Fill(cv, flake, [](float x, float y) { return Mix(Hex(0xFFFFFF), Hex(0xA0D8FF), std::hypot(x - 9, y - 9) / 9); });
}
}  // namespace

void DrawEffects(PictureList& out) {
    Surface boom = Blank(27 * 64, 128);
    for (int k = 0; k < 27; k++) {
        Canvas cv = MakeCanvas(64, 64);
        PaintExplosion(cv, k);
        PutSprite(cv, boom, k * 64, 0, k * 64, 64);
    }

    Surface crater = Blank(128, 64);
    Canvas cc = MakeCanvas(64, 64);
    PaintCrater(cc);
    PutSprite(cc, crater, 0, 0, 64, 0);

    Surface bomb = Blank(60, 30);
    Canvas bc = MakeCanvas(30, 30);
    PaintBombIcon(bc, 1, 2, 1);
    PutSprite(bc, bomb, 0, 0, 30, 0);

    Surface boosts = Blank(90, 60);
    for (int i = 0; i < 3; i++) {
        Canvas ic = MakeCanvas(30, 30);
        PaintBoostIcon(ic, i);
        PutSprite(ic, boosts, i * 30, 0, i * 30, 30);
    }

    Surface health = Blank(7 * HealthCells, 7);
    for (int i = 0; i < HealthCells; i++) {
        Canvas c = MakeCanvas(7, 7);
        PaintHealthCell(c, i);
        PutOpaque(c, health, i * 7, 0);
    }
    Surface ammo = Blank(9 * AmmoCells, 7);
    for (int i = 0; i < AmmoCells; i++) {
        Canvas c = MakeCanvas(9, 7);
        PaintAmmoCell(c, i);
        PutOpaque(c, ammo, i * 9, 0);
    }
    Surface acid = Blank(7 * AcidCells, 7);
    for (int i = 0; i < AcidCells; i++) {
        Canvas c = MakeCanvas(7, 7);
        PaintDrug(c, i % 4);
        PutOpaque(c, acid, i * 7, 0, Hex(0xD8DCE4));
    }

    Surface bullets = Blank(3 * BulletsOutCell, 22);
    Canvas blc = MakeCanvas(3 * BulletsOutCell, 11);
    for (int i = 0; i < 3; i++) PaintBullet(blc, static_cast<float>(i * BulletsOutCell));
    PutSprite(blc, bullets, 0, 0, 0, 11);

    Surface cross = Blank(18, 9);
    Canvas xc = MakeCanvas(9, 9);
    PaintCrossHair(xc);
    PutSprite(xc, cross, 0, 0, 9, 0);

    Surface pointer = Blank(36, 18);
    Canvas pc = MakeCanvas(18, 18);
    PaintSnowflake(pc);
    PutSprite(pc, pointer, 0, 0, 18, 0);

    out.push_back({"CursorMenu.jpg", pointer});
    out.push_back({"Health.jpg", health});
    out.push_back({"Ammo.jpg", ammo});
    out.push_back({"Acid.jpg", acid});
    out.push_back({"AcidHearth.jpg", boosts});
    out.push_back({"BombIcon.jpg", bomb});
    out.push_back({"BoomDirt.jpg", crater});
    out.push_back({"Explosion.jpg", boom});
    out.push_back({"CursorFire.jpg", cross});
    out.push_back({"BulletsOut.jpg", bullets});
}
