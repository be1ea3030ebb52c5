// The aeroplane, its bombs and the explosions.
//
// Rules:
// - A bomb order (the right button) costs BombCost (15) bullets and is refused
//   with fewer. It marks the point under the cursor. Orders wait in a queue of
//   eight; the plane flies one run per order.
// - A run: the plane enters at the left edge at the target's height and flies
//   right at 5 pixels a frame. When it is 30 pixels short of the target it
//   releases the bomb, which drifts on for 6 frames (a dark dot with its shadow
//   closing in) and explodes on the target.
// - Every ordered point waiting for its bomb is marked on the field with a
//   small red cross, so the player sees where it will fall.
// - The wave flight crosses the field from (0, 135) without bombs; it is queued
//   like a run when the plane is busy.
// - AirPlaneActive is -1 while the plane or a falling bomb is in the air.
//   Sound 9 starts with every run; the explosion plays sound 21.
// - An explosion plays the 27 Explosion frames (64 x 64) centred on its point,
//   one a frame. At frame 8 the blast lands: the BoomDirt crater is stamped into
//   the terrain once, and every living unit and sheep within BlastRadius is
//   hurt, most at the centre (up to 90 at the middle, falling to nothing at the
//   edge); the player, who ordered it, takes half. After frame 26 it is over.
// - The field shakes (ShakeActive) while any explosion is running.
#include "opponents/AirPlane.h"

#include <cmath>

#include "battle/Blood.h"
#include "battle/Bullets.h"
#include "battle/Sheep.h"
#include "graphics/WorkWithMemory.h"
#include "shell/GameState.h"
#include "sound/DirectSoundMod.h"

namespace {

struct Run {
    Integer Bomb;  // -1 bomb run, 0 the wave flight
    Integer TX, TY;
};
constexpr int MaxRuns = 8;
Run Runs[MaxRuns];
int RunCount;

bool Flying;
Run Current;
Single PlaneX, PlaneY;
bool Released;

struct Bomb {
    Integer Active;
    Single X, Y, DX;
    Integer Fall;  // frames until it lands
    Integer TX, TY;
};
Bomb Falling[MaxRuns];

struct Blast {
    Integer Active;
    Integer X, Y;  // centre
    Integer Frame;
};
constexpr int MaxBlasts = 10;
Blast Blasts[MaxBlasts];

void StartRun(const Run& r) {
    Flying = true;
    Current = r;
    Released = false;
    if (r.Bomb) {
        PlaneX = -40;
        PlaneY = static_cast<Single>(r.TY - 20);
    } else {
        PlaneX = 0;
        PlaneY = 135;
    }
    AirPlaneActive = -1;
    PlaySound(9, 500);
}

void QueueRun(const Run& r) {
    if (!Flying) {
        StartRun(r);
        return;
    }
    if (RunCount < MaxRuns) Runs[RunCount++] = r;
}

void ReleaseBomb() {
    for (Bomb& b : Falling) {
        if (b.Active) continue;
        b.Active = -1;
        b.X = PlaneX + 20;
        b.Y = PlaneY + 20;
        b.Fall = 6;
        b.DX = (Current.TX - b.X) / b.Fall;
        b.TX = Current.TX;
        b.TY = Current.TY;
        return;
    }
    StartExplosion(Current.TX, Current.TY);  // no room in the air: it lands at once
}

void MoveBombs() {
    for (Bomb& b : Falling) {
        if (!b.Active) continue;
        b.X += b.DX;
        if (--b.Fall <= 0) {
            b.Active = 0;
            StartExplosion(b.TX, b.TY);
            continue;
        }
        int x = Whole(b.X), y = Whole(b.Y);
        int gap = b.Fall;  // the shadow closes in as the bomb drops
        for (int dy = -1; dy <= 1; dy++)
            for (int dx = -1; dx <= 1; dx++) {
                SetPixel(Field, x + dx + gap, y + dy + gap, RGB(40, 40, 40));
                SetPixel(Field, x + dx, y + dy, RGB(20, 20, 25));
            }
    }
}

void MarkTarget(int x, int y) {
    for (int d = -2; d <= 2; d++) {
        SetPixel(Field, x + d, y + d, RGB(255, 40, 30));
        SetPixel(Field, x + d, y - d, RGB(255, 40, 30));
    }
}

void MarkTargets() {
    if (Flying && Current.Bomb && !Released) MarkTarget(Current.TX, Current.TY);
    for (int i = 0; i < RunCount; i++)
        if (Runs[i].Bomb) MarkTarget(Runs[i].TX, Runs[i].TY);
    for (const Bomb& b : Falling)
        if (b.Active) MarkTarget(b.TX, b.TY);
}

bool BombsInAir() {
    for (const Bomb& b : Falling)
        if (b.Active) return true;
    return false;
}

void Blow(const Blast& e) {
    BitBlt(Terain, e.X - 32, e.Y - 32, 64, 64, BoomDirt, 64, 0, SRCAND);
    BitBlt(Terain, e.X - 32, e.Y - 32, 64, 64, BoomDirt, 0, 0, SRCPAINT);
    for (int u = 0; u <= MaxUnit; u++) {
        Unit& t = Units[u];
        if (!t.Active) continue;
        Integer dir = DirectionAndDistance(e.X, e.Y, t.X + 10, t.Y + 10);
        if (LastDistance >= BlastRadius) continue;
        Single hurt = 90.0f * (BlastRadius - LastDistance) / BlastRadius;
        if (u == 0) hurt /= 2;
        t.Health -= hurt;
        SpawnBlood(t.X + 10, t.Y + 10, 20, dir, 6);
        UnitDeathCheck(u);
    }
    for (int s = 0; s < MaxSheep; s++) {
        Sheep& sh = Sheeps[s];
        if (sh.Active != -1) continue;
        Integer dir = DirectionAndDistance(e.X, e.Y, sh.X + 11, sh.Y + 11);
        if (LastDistance >= BlastRadius) continue;
        sh.Health = static_cast<Integer>(sh.Health - Whole(90.0 * (BlastRadius - LastDistance) / BlastRadius));
        sh.Speed += 4;
        SpawnBlood(sh.X + 11, sh.Y + 11, 20, dir, 6);
        SheepDeathCheck(s);
    }
}

}  // namespace

void AirPlaneAndBombs(Integer update, Integer bombOrder, Integer, Integer waveFlight) {
    if (bombOrder) {
        Unit& p = Units[0];
        if (p.Ammo >= BombCost) {
            p.Ammo = static_cast<Integer>(p.Ammo - BombCost);
            QueueRun({-1, static_cast<Integer>(CursorX), static_cast<Integer>(CursorY)});
        }
    }
    if (waveFlight) QueueRun({0, 0, 0});
    if (!update) return;

    MarkTargets();
    MoveBombs();
    if (Flying) {
        PlaneX += 5;
        if (Current.Bomb && !Released && PlaneX + 20 >= Current.TX - 30) {
            Released = true;
            ReleaseBomb();
        }
        if (PlaneX > 300) {
            Flying = false;
            if (RunCount > 0) {
                Run next = Runs[0];
                for (int i = 1; i < RunCount; i++) Runs[i - 1] = Runs[i];
                RunCount--;
                StartRun(next);
            }
        }
    }
    if (Flying) MaskedDraw(Field, Whole(PlaneX), Whole(PlaneY), 40, 40, AirPlane, 0, 0, 40, 0);
    AirPlaneActive = (Flying || BombsInAir()) ? -1 : 0;
}

void StartExplosion(double x, double y) {
    for (Blast& e : Blasts) {
        if (e.Active) continue;
        e.Active = -1;
        e.X = static_cast<Integer>(Whole(x));
        e.Y = static_cast<Integer>(Whole(y));
        e.Frame = 0;
        ShakeActive = -1;
        PlaySound(21, x * 10 / 3);
        return;
    }
}

void ExplosionsStep() {
    bool ran = false, any = false;
    for (Blast& e : Blasts) {
        if (!e.Active) continue;
        ran = true;
        if (e.Frame == 8) Blow(e);
        MaskedDraw(Field, e.X - 32, e.Y - 32, 64, 64, Explosion, e.Frame * 64, 0, e.Frame * 64, 64);
        if (++e.Frame > 26) e.Active = 0;
        else any = true;
    }
    if (any) ShakeActive = -1;
    else if (ran) ShakeActive = 0;  // the last one just ended
}

int ExplosionsRunning() {
    int n = 0;
    for (const Blast& e : Blasts) n += e.Active ? 1 : 0;
    return n;
}

int BombRunsWaiting() { return RunCount; }

void ResetAirPlane() {
    if (AirPlaneActive == -1) StopSound(9);
    for (Blast& e : Blasts) e = Blast{};
    for (Bomb& b : Falling) b = Bomb{};
    RunCount = 0;
    Flying = false;  // a run sets its own release flag
    AirPlaneActive = 0;
    ShakeActive = 0;
}
