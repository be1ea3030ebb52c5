#include "battle/Bullets.h"

#include <algorithm>
#include <cmath>

#include "battle/Acid.h"
#include "battle/Blood.h"
#include "battle/Sheep.h"
#include "battle/ScoreInfo.h"
#include "graphics/WorkWithMemory.h"
#include "opponents/Pickups.h"
#include "opponents/Training.h"
#include "shell/GameState.h"
#include "sound/DirectSoundMod.h"

namespace {
// True when the distance, rounded to whole pixels as every hit test measures
// it, is at most limit. Far pairs (most of them) skip the square root.
bool Within(double x1, double y1, double x2, double y2, Long limit) {
    const double dx = x1 - x2, dy = y1 - y2;
    const double d2 = dx * dx + dy * dy;
    if (d2 > (limit + 1.0) * (limit + 1.0)) return false;
    return Whole(std::sqrt(d2)) <= limit;
}

constexpr COLORREF TrailColour = RGB(0xEB, 0xFF, 0x00);
constexpr COLORREF HeadColour = RGB(0xFF, 0xFF, 0x00);
constexpr COLORREF StopMark = RGB(128, 64, 64);
}  // namespace

void MoveBullets() {
    for (int b = 1; b <= MaxBullet; b++) {
        Bullet& bl = Bullets[b];
        if (bl.Life <= 0) continue;

        bl.Life = static_cast<Integer>(bl.Life - bl.Speed);
        if (bl.Life < 1) {
            // Out of range: a mark where it fell.
            SetPixel(Terain, Whole(bl.BX), Whole(bl.BY), StopMark);
            PlaySound(2, bl.BX * 10 / 3);
            if (bl.Owner == 0) TrainAccuracy(0);
            continue;
        }

        for (int n = 0; n < bl.Speed; n++) {
            bl.BX += bl.DX;
            bl.BY += bl.DY;
            if (OptBulletFly == 0) SetPixel(Field, Whole(bl.BX), Whole(bl.BY), TrailColour);
        }

        for (int u = 0; u <= MaxUnit; u++) {
            Unit& t = Units[u];
            if (t.Active == 0 || u == bl.Owner) continue;
            if (BugerActive == -1 && Within(bl.BX, bl.BY, BugerX + 17, BugerY + 35, 28)) {
                // The cleaner swallows it; checked again for every remaining unit.
                bl.Life = 0;
                PlaySound(38, BugerX + 140.0 / 3);
                continue;
            }
            if (Within(t.X + 10, t.Y + 10, bl.BX, bl.BY, 7)) {
                if (t.Health > 0 && bl.Owner == 0) HitScore = static_cast<Integer>(HitScore + IDiv(t.BulletSpeed - 2, 2));
                bl.Life = 0;
                if (bl.Owner == 0) TrainAccuracy(-1);
                SpawnBlood(t.X + 10, t.Y + 10, 40, bl.Angle, std::min<int>(bl.Speed, 7));
                t.Health -= 3 * Units[bl.Owner].BulletSpeed;
                PlaySound(11 + static_cast<int>(Int(Rnd() * 6)), t.X * 10 / 3);
            }
            UnitDeathCheck(u);
            // A death beside a spent opponent's bullet is no kill of the player's:
            // the count the death check added is taken back. The player's own
            // death never counted one, so it takes none away.
            if (u > 0 && t.Health < 1 && bl.Life < 1 && bl.Owner != 0) Kills = static_cast<Integer>(Kills - 1);
        }

        for (int s = 0; s <= 20; s++) {
            Sheep& sh = Sheeps[s];
            if (sh.Active != -1) continue;
            if (Within(sh.X + 11, sh.Y + 11, bl.BX, bl.BY, 9)) {
                bl.Life = 0;
                sh.Speed = static_cast<Integer>(sh.Speed + 4);
                SpawnBlood(sh.X + 11, sh.Y + 11, 40, bl.Angle, bl.Speed);
                sh.Health = static_cast<Integer>(sh.Health - (Int(Rnd() * 50) + 30));
                if (bl.Owner == 0) HitScore = static_cast<Integer>(HitScore + 1);
                SheepDeathCheck(s);
            }
        }

        SetPixel(Field, Whole(bl.BX), Whole(bl.BY), HeadColour);
    }
}

void UnitDeathCheck(int u) {
    if (u < 0 || u > MaxUnit) return;
    Unit& t = Units[u];
    // A unit already dead this frame (melee, then the cleaner) must not die twice.
    if (t.Active == 0 || t.Health >= 1) return;
    t.Health = 0;
    t.Active = 0;
    if (u > 0) {
        Kills = static_cast<Integer>(Kills + 1);
        KillEvent();
    }
    if (Int(Rnd() * 13) == 1) SpawnAcid(t.X, t.Y);
    const int k = static_cast<int>(Int(Rnd() * 4));
    if (OptBloodStays == 0) MaskedDraw(Terain, Whole(t.X), Whole(t.Y), 20, 20, Dead, 0, 20 * k, 20, 20 * k);
    if (Int(Rnd() * 3) == 1) SpawnHealthPack(t.X, t.Y);
    SpawnCrate(t.X, t.Y, t.Ammo);
    UnitDied = -1;
}
