#include "input/PlayerControl.h"

#include <cmath>

#include "graphics/WorkWithMemory.h"
#include "opponents/AirPlane.h"
#include "opponents/Training.h"
#include "shell/GameState.h"
#include "sound/DirectSoundMod.h"

namespace {
bool Down(int scanCode) { return KeyState[scanCode] != 0; }

void Step(Unit& p, double s, double degrees) {
    const double rad = degrees * DegToRad;
    p.X = static_cast<Single>(p.X + s * std::cos(rad));
    p.Y = static_cast<Single>(p.Y + s * std::sin(rad));
    p.WalkLeft = 0;  // walking by keys ends a walk order
}

void Shift(Unit& p, double dx, double dy) {
    p.X = static_cast<Single>(p.X + dx);
    p.Y = static_cast<Single>(p.Y + dy);
    p.WalkLeft = 0;
}
}  // namespace

void PlayerControl() {
    Unit& p = Units[0];
    if (p.Active == 0) return;

    if (MouseMiddle) {
        DirectionAndDistance(p.X + 10, p.Y + 10, CursorX, CursorY);
        p.WalkDir = LastDirection;
        p.WalkLeft = LastDistance;
        p.WalkToX = static_cast<Integer>(CursorX);
        p.WalkToY = static_cast<Integer>(CursorY);
    }
    if (p.WalkLeft > 0) MaskedDraw(Field, p.WalkToX - 10, p.WalkToY - 10, 20, 20, WalkHere, 0, 0, 0, 20);

    if (MouseRight) {
        if (p.Ammo > 14) AirPlaneAndBombs(0, -1, 0, 0);
        p.WalkLeft = 0;
        MouseRight = 0;
    }

    if (FireModeKeyReleased) {
        FireMode++;
        if (FireMode > 3 || FireMode < 1) FireMode = 1;
        FireModeKeyReleased = 0;
    }

    if (p.FireCooldown < 1 && p.Ammo > 0 && MouseLeft) {
        // Several shots may take the ammunition below zero.
        const int shots = FireMode >= 1 && FireMode <= 3 ? FireMode : 0;
        for (int i = 0; i < shots; i++) FireBullet(0);
        p.Ammo = static_cast<Integer>(p.Ammo - shots);
        p.FireCooldown = p.Recharge;
        if (NearestOpponentDistance < 100) TrainBulletSpeed();
        PlaySound(1, p.X * 10 / 3);
    }

    if (p.Facing >= 360) p.Facing = static_cast<Integer>(p.Facing - 360);
    else if (p.Facing < 0) p.Facing = static_cast<Integer>(p.Facing + 360);

    const double s = p.Speed / 10.0;
    const bool left = Down(DIK_A) || Down(DIK_LEFT), right = Down(DIK_D) || Down(DIK_RIGHT);
    const bool up = Down(DIK_W) || Down(DIK_UP), down = Down(DIK_S) || Down(DIK_DOWN);
    if (OptRealMovement == 8) {
        // Relative to the facing, which follows the cursor.
        if (left) Step(p, s, p.Facing - 90);
        if (right) Step(p, s, p.Facing + 90);
        if (up) Step(p, s, p.Facing);
        if (down) Step(p, s, p.Facing - 180);
    } else {
        // Screen axes (also for a hand-edited setting other than 0 and 8).
        if (left) Shift(p, -s, 0);
        if (right) Shift(p, s, 0);
        if (up) Shift(p, 0, -s);
        if (down) Shift(p, 0, s);
    }
}

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
