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
#include "battle/Blood.h"

#include <cmath>

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

void Land(const Drop& d) {
    if (OptBloodStays != 0) return;
    int x = Whole(d.X), y = Whole(d.Y);
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
    if (strength < 1) strength = 1;
    for (int n = 0; n < count; n++) {
        Drop& d = Drops[NextDrop];
        if (d.Life <= 0) LiveDrops++;
        NextDrop = (NextDrop + 1) % MaxBlood;
        double a = (direction + Rnd() * 60 - 30) * DegToRad;
        double v = strength * (0.3 + Rnd() * 0.7);
        d.X = static_cast<Single>(x);
        d.Y = static_cast<Single>(y);
        d.DX = static_cast<Single>(std::cos(a) * v);
        d.DY = static_cast<Single>(std::sin(a) * v);
        d.Life = static_cast<Integer>(Int(Rnd() * 15) + 5);
        d.Big = Rnd() < 0.15 ? -1 : 0;
        d.Colour = RGB(90 + static_cast<int>(Rnd() * 90), 0, static_cast<int>(Rnd() * 12));
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
            SetPixel(Field, Whole(d.X), Whole(d.Y), d.Colour);
        }
    }
}

int BloodInFlight() { return LiveDrops; }

void ResetBlood() {
    for (Drop& d : Drops) d = Drop{};
    NextDrop = 0;
    LiveDrops = 0;
}
