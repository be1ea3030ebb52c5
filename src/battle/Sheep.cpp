// Sheep: harmless wanderers that score a point per hit and bleed.
//
// Rules:
// - A sheep walks in from the left or right edge at a random height with 100
//   health. Every 1..4 seconds it changes its mind: a new heading, or (one time
//   in three) it stops to graze (Dir -1) for that while.
// - Speed is in tenths of a pixel per frame: a calm sheep ambles at 3. A bullet
//   adds 4, and while Speed is above the calm pace the sheep runs straight away
//   from the player, bleating and dripping blood; it calms down by one every
//   20 frames.
// - Sheep keep to the field: at an edge their heading is mirrored back in.
// - Walking frames: Ovca cells 0-3 walk right, 4-7 walk left; a frame every 6
//   frames when walking, every 3 when running. Grazing sheep stand still.
// - Now and then (about every 15 s per sheep) a sheep bleats (sounds 39-41).
// - Dead below 1 health: a last spray of blood and, when blood stays on the
//   ground, the OvcaDead body painted into the terrain.
#include "battle/Sheep.h"

#include <cmath>

#include "battle/Blood.h"
#include "graphics/WorkWithMemory.h"
#include "shell/GameState.h"
#include "sound/DirectSoundMod.h"

namespace {

constexpr int CalmSpeed = 3;
Integer LastHealth[MaxSheep];
Integer CalmTimer[MaxSheep];

void Bleat(const Sheep& s) { PlaySound(39 + static_cast<int>(Int(Rnd() * 3)), s.X * 10 / 3); }

void ChangeMind(Sheep& s) {
    s.Timer = static_cast<Integer>(Int(Rnd() * 100) + 33);
    if (Rnd() < 1.0 / 3) s.Dir = -1;
    else s.Dir = static_cast<Integer>(Int(Rnd() * 360));
}

}  // namespace

void SpawnSheep() {
    for (int i = 0; i < MaxSheep; i++) {
        Sheep& s = Sheeps[i];
        if (s.Active == -1) continue;
        s = Sheep{};
        s.Active = -1;
        bool left = Rnd() < 0.5;
        s.X = left ? -22 : 299;
        s.Y = static_cast<Single>(Int(Rnd() * 240) + 20);
        s.Dir = static_cast<Integer>(left ? Int(Rnd() * 60) - 30 : Int(Rnd() * 60) + 150);
        if (s.Dir < 0) s.Dir += 360;
        s.Speed = CalmSpeed;
        s.Health = 100;
        s.Timer = static_cast<Integer>(Int(Rnd() * 60) + 60);
        LastHealth[i] = s.Health;
        CalmTimer[i] = 0;
        return;
    }
}

void SheepDeathCheck(int i) {
    if (i < 0 || i >= MaxSheep) return;
    Sheep& s = Sheeps[i];
    if (s.Active != -1 || s.Health >= 1) return;
    s.Active = 0;
    s.Health = 0;
    SpawnBlood(s.X + 11, s.Y + 11, 30, Int(Rnd() * 360), 3);
    Bleat(s);
    if (OptBloodStays == 0) MaskedDraw(Terain, Whole(s.X) + 3, Whole(s.Y), 17, 16, OvcaDead, 0, 0, 0, 16);
}

void SheepStep() {
    const Unit& player = Units[0];
    for (int i = 0; i < MaxSheep; i++) {
        Sheep& s = Sheeps[i];
        if (s.Active != -1) continue;

        if (s.Health < LastHealth[i]) Bleat(s);  // just hit
        LastHealth[i] = s.Health;

        bool running = s.Speed > CalmSpeed;
        if (running) {
            if (++CalmTimer[i] >= 20) {
                CalmTimer[i] = 0;
                s.Speed--;
            }
            // Away from the player, a little wobbly.
            Integer away = DirectionAndDistance(player.X + 10, player.Y + 10, s.X + 11, s.Y + 11);
            s.Dir = static_cast<Integer>((away + static_cast<int>(Int(Rnd() * 40)) - 20 + 360) % 360);
        } else if (--s.Timer <= 0) {
            ChangeMind(s);
        }

        // At an edge the heading is mirrored back in; a grazing sheep walks in.
        if (s.X < 0 || s.X > 277 || s.Y < 0 || s.Y > 284) {
            if (s.Dir < 0) s.Dir = DirectionAndDistance(s.X + 11, s.Y + 8, 150, 150);
            double a = s.Dir * DegToRad;
            int d = s.Dir;
            if ((s.X < 0 && std::cos(a) < 0) || (s.X > 277 && std::cos(a) > 0)) d = 180 - d;
            if ((s.Y < 0 && std::sin(a) < 0) || (s.Y > 284 && std::sin(a) > 0)) d = -d;
            s.Dir = static_cast<Integer>((d % 360 + 360) % 360);
        }

        bool walking = s.Dir >= 0;
        if (walking) {
            double a = s.Dir * DegToRad;
            s.X += static_cast<Single>(std::cos(a) * s.Speed / 10);
            s.Y += static_cast<Single>(std::sin(a) * s.Speed / 10);
            if (++s.Frame >= 24) s.Frame = 0;
        }

        if (s.Health < 100 && Rnd() * 400 < 100 - s.Health)
            SpawnBlood(s.X + 11, s.Y + 12, 2, s.Dir < 0 ? 90 : s.Dir + 180, 1);
        if (Rnd() < 1.0 / 500) Bleat(s);

        bool left = walking && std::cos(s.Dir * DegToRad) < 0;
        int every = running ? 3 : 6;
        int cell = (walking ? s.Frame / every % 4 : 0) + (left ? 4 : 0);
        MaskedDraw(Field, Whole(s.X), Whole(s.Y), 23, 16, Ovca, cell * 23, 0, cell * 23, 17);
    }
}

int SheepCount() {
    int n = 0;
    for (const Sheep& s : Sheeps) n += s.Active == -1 ? 1 : 0;
    return n;
}

void ResetSheep() {
    // A sheep's hit and calm-down counters start again when it is spawned.
    for (auto& s : Sheeps) s = Sheep{};
}
