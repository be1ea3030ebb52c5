#include "opponents/AImod.h"

#include <algorithm>
#include <cmath>

#include "battle/Blood.h"
#include "battle/Bullets.h"
#include "battle/Sheep.h"
#include "graphics/WorkWithMemory.h"
#include "input/PlayerControl.h"
#include "opponents/Training.h"
#include "shell/GameState.h"
#include "sound/DirectSoundMod.h"

namespace {
double Cos(double deg) { return std::cos(deg * DegToRad); }
double Sin(double deg) { return std::sin(deg * DegToRad); }

const Surface& SheetOf(const std::string& name) {
    if (name.size() == 6 && name.compare(0, 5, "AiLVL") == 0) {
        switch (name[5]) {
            case '0': return AiLVL0;
            case '1': return AiLVL1;
            case '2': return AiLVL2;
            case '3': return AiLVL3;
            case '4': return AiLVL4;
            case '5': return AiLVL5;
            default: break;
        }
    }
    return Player;
}

void HealthPacks(int i) {
    Unit& u = Units[i];
    const Integer P = Units[0].BulletSpeed;
    for (int j = 0; j <= 9; j++) {
        if (HealthPackActive[j] != -1) continue;
        DirectionAndDistance(u.X + 10, u.Y + 10, HealthPackX[j] + 3, HealthPackY[j] + 3);
        if (LastDistance < 10 && Whole(u.Health) < u.BulletSpeed * 30) {
            HealthPackActive[j] = 0;
            u.Health += 25 + IDiv(Whole(Rnd() * P * 30), 4);
            PlaySound(4, u.X * 10 / 3);
        }
        // A wounded opponent walks to the pack; with several the last one wins.
        if (i > 0 && HealthPackActive[j] == -1 && u.Health < P * 3) {
            u.WalkDir = LastDirection;
            u.WalkLeft = LastDistance;
        }
    }
}

void Behaviour(int i) {
    Unit& u = Units[i];
    Unit& p = Units[0];
    const Integer dir = DirectionAndDistance(u.X, u.Y, p.X, p.Y);
    const Integer dist = LastDistance;
    u.Facing = dir;

    if (dist < 13) {
        // Hand to hand: the player takes a third, and all of the opponent's bullets.
        const double m = p.Melee / 5.0 + p.BulletSpeed / 10.0;
        u.Health = static_cast<Single>(u.Health - m);
        p.Health = static_cast<Single>(p.Health - m / 3);
        TrainMelee(1);
        UnitDeathCheck(0);
        p.Ammo = static_cast<Integer>(p.Ammo + u.Ammo);
        u.Ammo = 0;
        const int loot = (16 - p.Recharge) * 30;
        if (p.Ammo > loot) p.Ammo = static_cast<Integer>(loot);
        SpawnBlood(u.X, u.Y, 5, Int(Rnd() * 360), 3);
        UnitDeathCheck(i);
        if (u.Active == 0) PlaySound(6, u.X * 10 / 3);
    }

    if (u.Health >= u.BulletSpeed * 3 || dist >= u.BulletRange) {
        if (u.BulletRange < dist && u.WalkLeft < 1) {
            u.WalkDir = static_cast<Integer>(Whole(Int(Rnd() * 20) + dir - 10));
            u.WalkLeft = static_cast<Single>(Int(Rnd() * 10) + dist);
        }
    } else {
        u.WalkDir = static_cast<Integer>(Whole(Int(Rnd() * 180) + (dir - 180) - 90));
        u.WalkLeft = 50;
    }

    const bool inside = !(u.X < 0 || u.X > 300 || u.Y < 0 || u.Y > 300);
    if (u.BulletRange > dist && u.FireCooldown < 1 && u.Ammo > 0 && inside) {
        FireBullet(i);
        if (u.Ammo > (16 - u.Recharge) * 15 - 1) {
            FireBullet(i);
            u.Ammo = static_cast<Integer>(u.Ammo - 1);
        }
        u.Ammo = static_cast<Integer>(u.Ammo - 1);
        u.FireCooldown = u.Recharge;
        PlaySound(1, u.X * 10 / 3);
    }

    if (!(u.X >= 4 && u.X <= 290 && u.Y >= 4 && u.Y <= 290)) {
        u.WalkLeft = 10;
        u.WalkDir = dir;
    }
    if (u.WalkLeft > 0 && u.Ammo == 0) {
        u.WalkDir = dir;
        u.WalkLeft = dist;
    }
    if (dist < NearestOpponentDistance) NearestOpponentDistance = dist;
}

void CleanerContact(int i) {
    Unit& u = Units[i];
    DirectionAndDistance(u.X, u.Y, BugerX + 17, BugerY + 32);
    if (LastDistance < 30) {
        u.Y += 2;
        SpawnBlood(u.X + 10, u.Y + 20, 5, Int(Rnd() * 180), 4);
        u.Health -= 2;
        PlaySound(3, u.X * 10 / 3);
        UnitDeathCheck(i);
    }
    Sheep& s = Sheeps[i];
    if (s.Active == -1) {
        DirectionAndDistance(s.X, s.Y, BugerX + 17, BugerY + 32);
        if (LastDistance < 30) {
            s.Y += 2;
            SpawnBlood(s.X + 11, s.Y + 20, 5, Int(Rnd() * 180), 4);
            s.Health = static_cast<Integer>(s.Health - 4);
            PlaySound(3, s.X * 10 / 3);
            SheepDeathCheck(i);
        }
    }
}

void FootPrint(int i) {
    Unit& u = Units[i];
    StepCount[i] = static_cast<Integer>(StepCount[i] + 1);
    if (StepCount[i] <= 9) return;
    const Integer mark = static_cast<Integer>(Whole(2.0 * u.X + IDiv(u.Y, 2)));
    // A unit standing still keeps its count and is tested again next frame.
    if (mark > LastStepMark[i] + 2 || mark < LastStepMark[i] - 2) {
        const double fx = Int(EffectRnd() * 10) + u.X + 4;
        const double fy = Int(EffectRnd() * 10) + u.Y + 4;
        BitBlt(Terain, Whole(fx), Whole(fy), 2, 2, Foot, 0, 0, SRCCOPY);
        StepCount[i] = 0;
        LastStepMark[i] = mark;
    }
}

void Crates(int i) {
    Unit& u = Units[i];
    for (int j = 0; j <= 9; j++) {
        if (CrateActive[j] != -1) continue;
        DirectionAndDistance(u.X + 10, u.Y + 10, CrateX[j] + 4, CrateY[j] + 3);
        if (LastDistance <= 11) {
            // Fill up to the unit's limit; the rest stays in the crate.
            u.Ammo = static_cast<Integer>(u.Ammo + CrateBullets[j]);
            CrateBullets[j] = static_cast<Integer>(u.Ammo - (16 - u.Recharge) * 15);
            if (CrateBullets[j] > 0) u.Ammo = static_cast<Integer>(u.Ammo - CrateBullets[j]);
            if (i == 0 && CrateBullets[j] > 0) {
                Field.FontSize = 7;
                TextOut(Field, Whole(u.X + 6), Whole(u.Y + 17), Mid(StrInt(CrateBullets[j]) + "        ", 1, 5));
                Field.FontSize = 8;
            }
            if (CrateBullets[j] < 1) {
                CrateActive[j] = 0;
                PlaySound(5, u.X * 10 / 3);
            }
        }
        // An opponent short of bullets walks to the crate; the last one wins.
        if (i > 0 && u.Ammo < 8 && CrateActive[j] == -1) {
            u.WalkDir = LastDirection;
            u.WalkLeft = LastDistance;
        }
    }
}
}  // namespace

// Only the distance matters here, so the costly direction is left out.
void SeparateUnit(int i) {
    Unit& u = Units[i];
    const double step = Units[0].Speed / 8.0;
    for (int k = 0; k <= MaxUnit; k++) {
        if (k == i || Units[k].Active != -1) continue;
        const double dx = static_cast<double>(u.X) - Units[k].X, dy = static_cast<double>(u.Y) - Units[k].Y;
        const double d2 = dx * dx + dy * dy;
        if (d2 < 100 && Whole(std::sqrt(d2)) < 10) {
            u.X = static_cast<Single>(u.X + step * Cos(u.WalkDir - 180));
            u.Y = static_cast<Single>(u.Y + step * Sin(u.WalkDir - 180));
        }
    }
}

void UpdateUnits() {
    PlayerControl();
    NearestOpponentDistance = 500;
    AliveCount = 0;
    for (int i = 0; i <= MaxUnit; i++) {
        Unit& u = Units[i];
        if (u.Active == 0) continue;
        AliveCount = static_cast<Integer>(AliveCount + 1);

        // Pushed back in, not clamped: an entering unit walks in from outside.
        if (u.X < 0) u.X += 2;
        if (u.X > 290) u.X -= 2;
        if (u.Y < 0) u.Y += 2;
        if (u.Y > 290) u.Y -= 2;

        if (u.FireCooldown > 0) u.FireCooldown = static_cast<Integer>(u.FireCooldown - 1);

        if (u.WalkLeft > 0) {
            const double s = u.Speed / 10.0;
            u.WalkLeft = static_cast<Single>(u.WalkLeft - s);
            u.X = static_cast<Single>(u.X + s * Cos(u.WalkDir));
            u.Y = static_cast<Single>(u.Y + s * Sin(u.WalkDir));
        }

        HealthPacks(i);

        // A slow machine cannot afford the separation test: off for the game.
        if (Fps < 29) SeparationOff = -1;
        if (SeparationOff == 0) SeparateUnit(i);

        if (i > 0 && Units[0].Active != 0) Behaviour(i);

        if (BugerActive == -1) CleanerContact(i);

        if (OptFootSteps == 0) FootPrint(i);

        Crates(i);

        Units[0].Ammo = std::max<Integer>(Units[0].Ammo, 0);

        if (u.WalkDir < 0) u.WalkDir = static_cast<Integer>(u.WalkDir + 360);
        if (u.WalkDir > 360) u.WalkDir = static_cast<Integer>(u.WalkDir - 360);

        const int c = IDiv(u.Facing, 5) * 21;
        MaskedDraw(Field, Whole(u.X), Whole(u.Y), 21, 21, SheetOf(u.SpriteName), c, 0, c, 21);
    }
}
