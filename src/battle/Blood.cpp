// Flying blood and the marks it leaves.
//
// Rules:
// - A spray is `count` drops leaving (x, y). Hits pass the bullet's speed as the
//   strength (capped at 7 by the caller), so faster bullets throw blood further,
//   in a 60-degree fan around the bullet's direction. Melee (3) and the cleaner
//   (4) pass a random direction; their drops fan out the same way.
// - A drop starts at 0.3..1.0 x strength pixels per frame, slows by 15 % a frame
//   and lands after 5..19 frames. While it flies it is a dark red pixel on the
//   field (OptBloodFly); where it lands it stains the terrain (OptBloodStays),
//   a few big drops as 2 x 2 splats.
// - With both options off nothing is kept at all. The pool is a ring of
//   MaxBlood drops: a spray into a full pool overwrites the oldest drops.
// - Blood is only looks: it draws its scatter from its own generator, so the
//   blood options never change the battle's random sequence.
#include "battle/Blood.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "shell/GameState.h"

namespace {

struct Drop {
    Single X, Y, DX, DY;
    Integer Life;  // frames until it lands; 0 = free
    Integer Big;
    COLORREF Colour;
};

Drop Drops[MaxBlood];
int NextDrop;  // ring position of the next spray
int LiveDrops;
constexpr uint32_t FirstSplatter = 2463534242u;
uint32_t Splatter = FirstSplatter;
float CosTable[360], SinTable[360];

uint32_t NextSplatter() {
    Splatter ^= Splatter << 13;
    Splatter ^= Splatter >> 17;
    Splatter ^= Splatter << 5;
    return Splatter;
}

// Rounded to a pixel; a drop far off the field (beyond what an int holds) is
// put at -1, where nothing is drawn.
int Pixel(Single v) {
    const float p = std::floor(v + 0.5f);
    return p > -2e9f && p < 2e9f ? static_cast<int>(p) : -1;
}

void Land(const Drop& d) {
    if (OptBloodStays != 0) return;
    int x = Pixel(d.X), y = Pixel(d.Y);
    SetPixel(Terain, x, y, d.Colour);
    if (d.Big) {
        SetPixel(Terain, x + 1, y, d.Colour);
        SetPixel(Terain, x, y + 1, d.Colour);
        SetPixel(Terain, x + 1, y + 1, d.Colour);
    }
}

}  // namespace

void SpawnBlood(double x, double y, int count, double direction, int strength) {
    if (OptBloodFly != 0 && OptBloodStays != 0) return;
    strength = std::max(strength, 1);
    if (CosTable[0] == 0)
        for (int a = 0; a < 360; a++) {
            CosTable[a] = static_cast<float>(std::cos(a * DegToRad));
            SinTable[a] = static_cast<float>(std::sin(a * DegToRad));
        }
    int base = static_cast<int>(std::floor(direction)) - 30;
    for (int n = 0; n < count; n++) {
        Drop& d = Drops[NextDrop];
        if (d.Life <= 0) LiveDrops++;
        NextDrop = (NextDrop + 1) % MaxBlood;
        uint32_t r = NextSplatter();
        int a = ((base + static_cast<int>(r % 61)) % 360 + 360) % 360;
        float v = strength * (0.3f + ((r >> 8) & 255) * (0.7f / 256));
        d.X = static_cast<Single>(x);
        d.Y = static_cast<Single>(y);
        d.DX = CosTable[a] * v;
        d.DY = SinTable[a] * v;
        d.Life = static_cast<Integer>(5 + (r >> 16) % 15);
        d.Big = ((r >> 20) & 7) == 0 ? -1 : 0;
        d.Colour = RGB(90 + static_cast<int>((r >> 23) % 90), 0, static_cast<int>((r >> 27) % 12));
    }
}

void BloodStep() {
    if (LiveDrops == 0 || (OptBloodFly != 0 && OptBloodStays != 0)) return;
    const bool draw = OptBloodFly == 0;
    for (Drop& d : Drops) {
        if (d.Life <= 0) continue;
        d.X += d.DX;
        d.Y += d.DY;
        d.DX *= 0.85f;
        d.DY *= 0.85f;
        if (--d.Life <= 0) {
            LiveDrops--;
            Land(d);
        } else if (draw) {
            SetPixel(Field, Pixel(d.X), Pixel(d.Y), d.Colour);
        }
    }
}

int BloodInFlight() { return LiveDrops; }

void ResetBlood() {
    for (Drop& d : Drops) d = Drop{};
    NextDrop = 0;
    LiveDrops = 0;
    // Every game's blood flies alike, so a recorded game looks as it did.
    Splatter = FirstSplatter;
}
