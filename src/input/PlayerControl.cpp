#include "input/PlayerControl.h"

#include <cmath>

#include "shell/GameState.h"

void PlayerControl() {}

void FireBullet(int unit) {
    if (unit < 0 || unit > MaxUnit) return;
    int i = 1;
    while (i <= MaxBullet && Bullets[i].Life >= 1) i++;
    if (i > MaxBullet) return;
    Unit& u = Units[unit];
    Bullet& b = Bullets[i];
    b.Owner = static_cast<Integer>(unit);
    Single a;
    if (unit == 0 && BoostTimers[0] > 0) a = Rnd() * 30 + u.Facing - 15;  // the accuracy boost
    else a = Rnd() * u.Spread + u.Facing - IDiv(u.Spread, 2);
    b.Angle = a;
    const double rad = a * DegToRad;
    b.BX = u.X + 10 + std::cos(rad) * 3;
    b.BY = u.Y + 10 + std::sin(rad) * 3;
    b.DX = static_cast<Single>(std::cos(rad));
    b.DY = static_cast<Single>(std::sin(rad));
    b.Life = static_cast<Integer>(Whole(u.BulletRange + Rnd() * 7));
    b.Speed = u.BulletSpeed;
    // Muzzle sparks.
    if (Int(Rnd() * 3) == 0) {
        double x = b.BX + Rnd() * 10 - 5;
        double y = b.BY + Rnd() * 10 - 5;
        SetPixel(Field, Whole(x), Whole(y), RGB(255, 255, 0));
    }
    if (Int(Rnd() * 3) == 0) {
        double x = b.BX + Rnd() * 10 - 5;
        double y = b.BY + Rnd() * 10 - 5;
        SetPixel(Field, Whole(x), Whole(y), RGB(192, 192, 0));
    }
}
