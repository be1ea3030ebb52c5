// Soldiers seen from above (72 headings per sheet), corpses, the walk marker
// and the footprint.
#include <cmath>

#include "Art.h"
#include "graphics/WorkWithMemory.h"

namespace {
const float Pi = 3.14159265f;
const Rgb Outline = {46, 46, 52};
const Rgb GunMetal = {112, 114, 122};
const Rgb GunDark = {150, 152, 160};
const Rgb Pack = {96, 84, 62};
}  // namespace

Surface Blank(int w, int h, COLORREF fill) {
    Surface s;
    CreateSurface(s, w, h, fill);
    return s;
}

Uniform SoldierColours(int level) {
    switch (level) {
        case -1: return {Hex(0x2E9EA8), Hex(0xF2F4F6)};  // the player: teal coat, white helmet
        case 0: return {Hex(0xA89C7C), Hex(0x8A7D5A)};   // khaki recruits
        case 1: return {Hex(0x7C9A4E), Hex(0x566E2E)};   // olive
        case 2: return {Hex(0x5A78D0), Hex(0x2F4CB0)};   // blue
        case 3: return {Hex(0xE39A3C), Hex(0xC06A10)};   // orange
        case 4: return {Hex(0xD04A48), Hex(0x9E1E1E)};   // red
        default: return {Hex(0x9A5AB8), Hex(0xE8C040)};  // purple with a gold helmet: the elite
    }
}

void PaintSoldier(Canvas& cv, float cx, float cy, float headingDeg, const Uniform& u) {
    const float a = headingDeg * Pi / 180;
    auto R = [&](Sdf s) { return Rotated(std::move(s), cx, cy, a); };
    // Local frame: x along the heading, y to the soldier's right.
    Sdf pack = R(Box(-4.9f, 0, 1.8f, 3.0f, 0, 0.9f));
    Sdf body = R(Ellipse(-0.8f, 0, 3.3f, 6.6f));
    Sdf armR = R(Capsule(-0.2f, 5.2f, 3.8f, 1.7f, 1.2f));
    Sdf armL = R(Capsule(-0.2f, -5.2f, 6.4f, 0.5f, 1.2f));
    Sdf gun = R(Capsule(0.4f, 1.0f, 7.0f, 1.0f, 1.05f));
    Sdf barrel = R(Capsule(6.5f, 1.0f, 10.0f, 1.0f, 0.6f));
    Sdf helmet = R(Circle(-0.2f, 0, 3.0f));
    Sdf all = Union(Union(Union(pack, body), Union(armR, armL)), Union(Union(gun, barrel), helmet));

    Fill(cv, Grow(all, 0.9f), Outline);
    Fill(cv, pack, Pack);
    Fill(cv, body, [&](float x, float y) {
        // Light from the top left; a little camouflage mottling.
        const float shade = 1.0f - 0.05f * ((x - cx) + (y - cy));
        const float mottle = Hash2(static_cast<int>(x * 0.7f), static_cast<int>(y * 0.7f), 7) < 0.25f ? 0.86f : 1.0f;
        return Scale(u.Body, shade * mottle);
    });
    Fill(cv, armR, Scale(u.Body, 0.88f));
    Fill(cv, armL, Scale(u.Body, 0.88f));
    Fill(cv, gun, GunMetal);
    Fill(cv, barrel, GunDark);
    Fill(cv, helmet, Scale(u.Helmet, 0.6f));
    Fill(cv, R(Circle(-0.2f, 0, 2.3f)), [&](float x, float y) {
        const float d = std::hypot(x - (cx - 1.0f), y - (cy - 1.0f));
        return Mix(Mix(u.Helmet, Rgb{255, 255, 255}, 0.3f), u.Helmet, std::clamp(d / 3.0f, 0.0f, 1.0f));
    });
}

namespace {
Surface SoldierSheet(int level) {
    Surface s = Blank(72 * 21, 42);
    const Uniform u = SoldierColours(level);
    for (int col = 0; col < 72; col++) {
        Canvas cv = MakeCanvas(21, 21);
        PaintSoldier(cv, 10.5f, 10.5f, col * 5.0f + 2.0f, u);
        PutSprite(cv, s, col * 21, 0, col * 21, 21);
    }
    return s;
}

void BloodPool(Canvas& cv, float cx, float cy, float r, int seed) {
    Fill(cv, [=](float x, float y) {
        const float n = Fbm(x * 0.35f, y * 0.35f, seed, 3);
        return std::hypot(x - cx, y - cy) - r * (0.65f + 0.7f * n);
    }, [=](float x, float y) { return Mix(Hex(0x8E1414), Hex(0x5A0C0C), Hash2(int(x), int(y), seed) * 0.5f); });
}

// A soldier lying on the ground, arms and legs spread, in his blood.
void PaintCorpse(Canvas& cv, float angleDeg, int seed, Rgb coat) {
    const float cx = 10, cy = 10, a = angleDeg * Pi / 180;
    BloodPool(cv, cx + 1, cy + 1, 6.5f, seed);
    auto R = [&](Sdf s) { return Rotated(std::move(s), cx, cy, a); };
    const float spread = 1.5f + Hash2(seed, 1, 3) * 2;
    Sdf legs = Union(R(Capsule(-1, 1.4f, -7.5f, 2.2f + spread, 1.3f)), R(Capsule(-1, -1.4f, -7.5f, -2.0f - spread * 0.6f, 1.3f)));
    Sdf arms = Union(R(Capsule(3, 3, 5.5f, 6.5f, 1.1f)), R(Capsule(3, -3, 6.5f, -5.0f - spread, 1.1f)));
    Sdf torso = R(Ellipse(1.0f, 0, 3.6f, 3.4f));
    Sdf head = R(Circle(6.2f, 0.4f, 2.1f));
    Sdf all = Union(Union(legs, arms), Union(torso, head));
    Fill(cv, Grow(all, 0.7f), Outline);
    Fill(cv, legs, Scale(coat, 0.8f));
    Fill(cv, arms, Scale(coat, 0.9f));
    Fill(cv, torso, coat);
    Fill(cv, head, Hex(0xD9B48C));
    Fill(cv, R(Circle(4.2f, 1.0f, 1.5f)), Hex(0xA01818));  // the wound
}
}  // namespace

void DrawSoldiers(PictureList& out) {
    out.push_back({"Player.jpg", SoldierSheet(-1)});
    for (int l = 0; l <= 5; l++) out.push_back({"AiLVL" + std::to_string(l) + ".jpg", SoldierSheet(l)});

    Surface dead = Blank(40, 20 * DeadVariants);
    const Rgb coats[4] = {Hex(0x8A8678), Hex(0x6E7F58), Hex(0x7C84A0), Hex(0x9A8A70)};
    for (int v = 0; v < DeadVariants; v++) {
        Canvas cv = MakeCanvas(20, 20);
        PaintCorpse(cv, 35.0f + v * 97.0f, 40 + v, coats[v % 4]);
        PutSprite(cv, dead, 0, v * 20, 20, v * 20);
    }
    out.push_back({"Dead.jpg", dead});

    // Walk-order marker: a green target ring with a cross.
    Surface walk = Blank(20, 40);
    Canvas cv = MakeCanvas(20, 20);
    Sdf ring = Subtract(Circle(10, 10, 8.6f), Circle(10, 10, 6.2f));
    Sdf cross = Union(Box(10, 10, 4.2f, 0.9f), Box(10, 10, 0.9f, 4.2f));
    Fill(cv, Grow(Union(ring, cross), 0.8f), Hex(0x1E4A1E));
    Fill(cv, ring, Hex(0x5CE05C));
    Fill(cv, cross, Hex(0xC8FFC8));
    PutSprite(cv, walk, 0, 0, 0, 20);
    out.push_back({"WalkHere.jpg", walk});

    // Footprint pressed into snow: darker print, shadowed edge.
    Surface foot = Blank(2, 2);
    SetPixel(foot, 0, 0, RGB(120, 126, 140));
    SetPixel(foot, 1, 0, RGB(140, 146, 160));
    SetPixel(foot, 0, 1, RGB(134, 140, 154));
    SetPixel(foot, 1, 1, RGB(150, 156, 170));
    out.push_back({"Foot.jpg", foot});
}
