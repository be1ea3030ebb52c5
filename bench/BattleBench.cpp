// The cost of a battle frame at full load: the player and 50 opponents on the
// field, 200 bullets in flight, blending, bullet trails and footprints on.
// Each figure is thread CPU time per run ("cpu_us"), its share of the 30 ms
// frame ("pct_of_30ms"), and its ratio to a plain 300 x 300 copy measured
// first in the same run ("x_plain_copy").
#include <benchmark/benchmark.h>

#include <time.h>

#include <cmath>
#include <vector>

#include "battle/Bullets.h"
#include "graphics/WorkWithMemory.h"
#include "opponents/AImod.h"
#include "opponents/GameClock.h"
#include "platform/Clock.h"
#include "shell/Form1.h"
#include "shell/GameState.h"

namespace {
Unit SavedUnits[MaxUnit + 1];
Bullet SavedBullets[MaxBullet + 1];

void Sheet(Surface& s, int w, int h, COLORREF c) {
    CreateSurface(s, w, h, c);
    for (int y = h / 2; y < h; y++)
        for (int x = 0; x < w; x++) SetPixel(s, x, y, 0);
}

void BuildFullLoad() {
    ResetGameState();
    UseTestClock(true, 100000);
    Randomize(5);
    CreateSurface(Field, 300, 300);
    CreateSurface(Terain, 300, 300, RGB(90, 110, 60));
    CreateSurface(MenuField, 300, 300);
    CreateSurface(StatusField, 300, 78);
    Sheet(Player, 72 * 21, 42, RGB(0, 0, 200));
    for (Surface* s : {&AiLVL0, &AiLVL1, &AiLVL2, &AiLVL3, &AiLVL4, &AiLVL5}) Sheet(*s, 72 * 21, 42, RGB(200, 0, 0));
    CreateSurface(Dead, 40, 80, RGB(120, 0, 0));
    CreateSurface(Foot, 2, 2, RGB(40, 40, 40));
    CreateSurface(CursorFire, 18, 9, RGB(255, 255, 255));

    GameRunning = -1;
    OptAlphaBlend = 0;
    OptBulletFly = 0;
    OptFootSteps = 0;
    Fps = 33;

    auto place = [](int i, float x, float y) {
        Unit& u = Units[i];
        u = Unit{};
        u.Active = -1;
        u.X = x;
        u.Y = y;
        u.Health = 1e6f;  // nobody dies: the load stays full
        u.Ammo = 10;
        u.Speed = 10;
        u.Spread = 30;
        u.BulletSpeed = 3;
        u.BulletRange = 60;
        u.Recharge = 15;
        u.SpriteName = "AiLVL" + std::to_string(i % 6);
        u.Facing = static_cast<Integer>((i * 37) % 360);
    };
    place(0, 140, 140);
    Units[0].SpriteName.clear();
    // Fifty opponents on a grid over the whole field, moving about.
    for (int k = 0; k < MaxUnit; k++) {
        place(k + 1, 5 + (k % 8) * 36.f, 5 + (k / 8) * 40.f);
        Units[k + 1].WalkLeft = 1000;
        Units[k + 1].WalkDir = static_cast<Integer>((k * 53) % 360);
    }
    for (int b = 1; b <= MaxBullet; b++) {
        Bullet& bl = Bullets[b];
        const double a = Rnd() * 360;
        bl.Life = 30000;
        bl.Angle = static_cast<Single>(a);
        bl.BX = Rnd() * 300;
        bl.BY = Rnd() * 300;
        bl.DX = static_cast<Single>(std::cos(a * DegToRad));
        bl.DY = static_cast<Single>(std::sin(a * DegToRad));
        bl.Speed = 3;
        bl.Owner = static_cast<Integer>(1 + b % MaxUnit);
    }
    for (int i = 0; i <= MaxUnit; i++) SavedUnits[i] = Units[i];
    for (int b = 0; b <= MaxBullet; b++) SavedBullets[b] = Bullets[b];
}

// Back to the full load between frames (not timed): hits free bullet slots
// and units wander off.
void Restore() {
    for (int i = 0; i <= MaxUnit; i++) Units[i] = SavedUnits[i];
    for (int b = 0; b <= MaxBullet; b++) Bullets[b] = SavedBullets[b];
    SeparationOff = 0;
    Fps = 33;
    GameRunning = -1;
    GamePaused = 0;
    LastSecondTick = static_cast<Long>(GetTickCount());
}

// Thread CPU time: the machine is shared, so wall time counts other people's
// builds too.
double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

// Runs body once per iteration, restoring the full load before each (not
// counted), and reports microseconds per run and the share of the 30 ms frame.
double BaselineSeconds = 0;

template <typename Body>
void Measure(benchmark::State& state, bool restore, Body body) {
    double spent = 0;
    for (auto _ : state) {
        if (restore) {
            state.PauseTiming();
            Restore();
            state.ResumeTiming();
        }
        const double t0 = CpuNow();
        body();
        spent += CpuNow() - t0;
    }
    const double per = spent / static_cast<double>(state.iterations());
    state.counters["cpu_us"] = per * 1e6;
    state.counters["pct_of_30ms"] = per / 0.030 * 100;
    if (!restore) BaselineSeconds = per;
    else if (BaselineSeconds > 0) state.counters["x_plain_copy"] = per / BaselineSeconds;
}

void BM_Baseline_PlainCopy300(benchmark::State& state) {
    BuildFullLoad();
    Measure(state, false, [] {
        BitBlt(Field, 0, 0, 300, 300, Terain, 0, 0, SRCCOPY);
        benchmark::DoNotOptimize(Field.Pixels.data());
    });
}
BENCHMARK(BM_Baseline_PlainCopy300);

void BM_FrameStep_FullLoad(benchmark::State& state) {
    BuildFullLoad();
    Measure(state, true, [] {
        FrameStep();
    });
}
BENCHMARK(BM_FrameStep_FullLoad);

// The battle's own steps with the terrain repaint, without the other mechanisms.
void BM_BattleSteps_FullLoad(benchmark::State& state) {
    BuildFullLoad();
    Measure(state, true, [] {
        BlendBlit(Terain, 0, 0, 300, 300, Field, 0, 0, 300, 300, 50);
        MoveBullets();
        UpdateUnits();
        ClockStep();
    });
}
BENCHMARK(BM_BattleSteps_FullLoad);

// The separation test of all 51 units (2,550 distances), alone.
void BM_SeparationTest_51Units(benchmark::State& state) {
    BuildFullLoad();
    Measure(state, true, [] {
        for (int i = 0; i <= MaxUnit; i++) SeparateUnit(i);
    });
}
BENCHMARK(BM_SeparationTest_51Units);

void BM_UpdateUnits_FullLoad(benchmark::State& state) {
    BuildFullLoad();
    Measure(state, true, [] {
        UpdateUnits();
    });
}
BENCHMARK(BM_UpdateUnits_FullLoad);

void BM_MoveBullets_FullLoad(benchmark::State& state) {
    BuildFullLoad();
    Measure(state, true, [] {
        MoveBullets();
    });
}
BENCHMARK(BM_MoveBullets_FullLoad);
}  // namespace
