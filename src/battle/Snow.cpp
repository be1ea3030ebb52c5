// Snow over the field.
//
// Rules:
// - The snow level is the number of flakes in the air: 101 + 29 x the player's
//   SpeedXP, so it thickens from a light sprinkle to the full 3,001 flakes as
//   the next bullet-speed level comes near, and thaws when the level is reached
//   (SpeedXP starts again at 0). The weather is a rough gauge of that skill.
// - A flake falls 0.4..1.2 pixels a frame (big flakes are nearer and faster),
//   drifting a little on its own and with a slow wind. When it leaves the bottom it comes back at the top
//   only while its index is below the level, so snow thins out gently.
// - Snow is only looks and uses its own generator: switching it on or off does
//   not change the battle's random sequence.
// - Flakes are white or light grey pixels on the field; nothing is painted into
//   the terrain.
#include "battle/Snow.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "shell/GameState.h"

namespace {

struct Flake {
    Single X, Y, Fall, Sway;
    Integer Active;
    COLORREF Colour;
};

Flake Flakes[MaxSnow];
int SnowFrame;
constexpr uint32_t FirstWeather = 88172645u;
uint32_t Weather = FirstWeather;

// Uniform in [0, 1) from the snow's own generator.
float Flurry() {
    Weather ^= Weather << 13;
    Weather ^= Weather >> 17;
    Weather ^= Weather << 5;
    return (Weather >> 8) * (1.0f / 16777216.0f);
}

void NewFlake(Flake& f, bool anywhere) {
    f.Active = -1;
    f.X = Flurry() * 300;
    f.Y = anywhere ? Flurry() * 300 : -Flurry() * 20;
    double depth = Flurry();
    f.Fall = static_cast<Single>(0.4 + depth * 0.8);
    f.Sway = (Flurry() - 0.5f) * 0.3f;
    int c = depth > 0.7 ? 255 : 200 + static_cast<int>(depth * 70);
    f.Colour = RGB(c, c, std::min(255, c + 12));  // a touch of blue
}

}  // namespace

int SnowLevel() {
    const int xp = std::clamp<int>(Units[0].SpeedXP, 0, 100);
    return 101 + xp * 29;
}

void SnowStep() {
    if (OptSnow != 0) return;
    const int level = SnowLevel();
    SnowFrame++;
    const float wind = 0.35f * std::sin(SnowFrame * 0.013f);
    for (int i = 0; i < MaxSnow; i++) {
        Flake& f = Flakes[i];
        if (!f.Active) {
            if (i >= level) continue;
            // A fresh game starts with the sky already full.
            NewFlake(f, SnowFrame == 1);
        }
        f.Y += f.Fall;
        f.X += wind + f.Sway;
        if (f.X < 0) f.X += 300;
        if (f.X >= 300) f.X -= 300;
        if (f.Y >= 300) {
            f.Active = 0;
            if (i < level) NewFlake(f, false);
            else continue;
        }
        SetPixel(Field, static_cast<int>(f.X), static_cast<int>(f.Y), f.Colour);
    }
}

int SnowFlakes() {
    int n = 0;
    for (const Flake& f : Flakes) n += f.Active ? 1 : 0;
    return n;
}

bool SnowFlakeAt(int i, float& x, float& y) {
    if (i < 0 || i >= MaxSnow || !Flakes[i].Active) return false;
    x = Flakes[i].X;
    y = Flakes[i].Y;
    return true;
}

void ResetSnow() {
    for (Flake& f : Flakes) f = Flake{};
    SnowFrame = 0;
    // Every game's snow falls alike, so a recorded game looks as it did.
    Weather = FirstWeather;
}
