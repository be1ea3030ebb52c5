// The battlefield at full load: 3,001 snowflakes, 21 sheep, flying blood, an
// explosion, the plane, the cleaner, 50 opponents and 200 bullets. One
// iteration is one frame's steps in the frame's order (input, cursor and the
// present step aside). The baseline is the terrain repaint every frame starts
// with, measured in the same run; "xRepaint" is the frame as a multiple of it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "battle/Acid.h"
#include "battle/Blood.h"
#include "battle/Bullets.h"
#include "battle/Sheep.h"
#include "battle/Snow.h"
#include "battle/ScoreInfo.h"
#include "battle/StatusBar.h"
#include "graphics/WorkWithMemory.h"
#include "input/PlayerControl.h"
#include "opponents/AImod.h"
#include "opponents/AirPlane.h"
#include "opponents/Cleaner.h"
#include "opponents/Pickups.h"
#include "shell/GameState.h"

namespace {

void Sheet(Surface& s, int w, int h) { CreateSurface(s, w, h, RGB(90, 90, 90)); }

void SetUpPictures() {
    CreateSurface(Terain, 300, 300, RGB(60, 110, 50));
    CreateSurface(Field, 300, 300);
    CreateSurface(StatusField, 300, 78);
    Sheet(Health, 7 * HealthCells, 7);
    Sheet(Ammo, 9 * AmmoCells, 7);
    Sheet(Acid, 7 * AcidCells, 7);
    Sheet(AcidHearth, 90, 60);
    Sheet(BombIcon, 60, 30);
    Sheet(BoomDirt, 128, 64);
    Sheet(Explosion, 64 * 27, 128);
    Sheet(AirPlane, 80, 40);
    Sheet(Cleaner, 100, 64);
    Sheet(CleanLine, 49, 10 * CleanLineStrips);
    Sheet(Ovca, 23 * OvcaFrames, 33);
    Sheet(OvcaDead, 17, 32);
    Sheet(BulletsOut, 30, 22);
    Sheet(InRowBar, 300, 3);
    Sheet(Layer, 298, 13);
    Sheet(LayerScore, 85, 30);
    Sheet(Dead, 40, 80);
    Sheet(Foot, 2, 2);
    for (Surface* s : {&Player, &AiLVL0, &AiLVL1, &AiLVL2, &AiLVL3, &AiLVL4, &AiLVL5}) Sheet(*s, 72 * 21, 42);
}

void SetUpBattle() {
    ResetGameState();
    ResetBattlefield();
    Randomize(1);
    SetUpPictures();
    GameRunning = -1;
    FireMode = 1;
    Fps = 33;
    for (int u = 0; u <= MaxUnit; u++) {
        Unit& t = Units[u];
        t.Active = -1;
        t.X = static_cast<Single>(20 + (u * 37) % 260);
        t.Y = static_cast<Single>(20 + (u * 53) % 260);
        t.Speed = 10;
        t.Health = 1e6f;  // nobody dies: the load stays full
        t.Spread = 30;
        t.BulletSpeed = 3;
        t.BulletRange = 60;
        t.Recharge = 15;
        t.Ammo = 30000;
        t.SpriteName = u ? "AiLVL" + StrInt(u % 6) : "";
    }
    Units[0].SpeedXP = 100;  // the full 3,001 flakes
    for (int k = 0; k < MaxSheep; k++) SpawnSheep();
    for (int k = 0; k < 5; k++) SpawnAcid(40 + k * 50, 60);
    for (int k = 0; k < 10; k++) {
        SpawnHealthPack(20 + k * 25, 250);
        SpawnCrate(20 + k * 25, 270, 5);
    }
    BoostTimers[1] = 30000;
}

// Tops the load up again so every frame carries all of it.
void KeepFullLoad() {
    for (int u = 1; u <= MaxUnit; u++) Units[u].Active = -1;
    for (int b = 1; b <= MaxBullet; b++)
        if (Bullets[b].Life < 1) FireBullet(1 + b % MaxUnit);
    for (int s = 0; s < MaxSheep; s++) Sheeps[s].Health = 100;
    while (SheepCount() < MaxSheep) SpawnSheep();
    if (BloodInFlight() < 600) SpawnBlood(150, 150, 200, Int(Rnd() * 360), 7);
    if (!ExplosionsRunning()) StartExplosion(150, 150);
    if (AirPlaneActive != -1) AirPlaneAndBombs(0, 0, 0, -1);
    if (BugerActive != -1) StartCleaner();
}

// Seconds spent in each step, summed over the timed frames.
struct StepTime {
    const char* Name;
    void (*Run)();
    double Total;
};
StepTime Steps[] = {
    {"repaint", [] { BitBlt(Field, 0, 0, 300, 300, Terain, 0, 0, SRCCOPY); }, 0},
    {"pickups", [] { HealthPickupsStep(); AmmoPickupsStep(); }, 0},
    {"bullets", MoveBullets, 0},
    {"sheep", SheepStep, 0},
    {"units", UpdateUnits, 0},
    {"acid", AcidStep, 0},
    {"blood", BloodStep, 0},
    {"cleaner", CleanerStep, 0},
    {"snow", SnowStep, 0},
    {"explosions", ExplosionsStep, 0},
    {"indicator", FireModeIndicator, 0},
    {"plane", [] { AirPlaneAndBombs(-1, 0, 0, 0); }, 0},
    {"scoreline", ScoreInfoLine, 0},
    {"statusbar", StatusBarStep, 0},
};

void FieldFrame() {
    for (StepTime& st : Steps) {
        auto t0 = std::chrono::steady_clock::now();
        st.Run();
        st.Total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
}

double RepaintSeconds() {
    auto t0 = std::chrono::steady_clock::now();
    for (int k = 0; k < 2000; k++) {
        BitBlt(Field, 0, 0, 300, 300, Terain, 0, 0, SRCCOPY);
        benchmark::DoNotOptimize(Field.Pixels.data());
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / 2000;
}

void BM_TerrainRepaint(benchmark::State& state) {
    SetUpPictures();
    for (auto _ : state) {
        BitBlt(Field, 0, 0, 300, 300, Terain, 0, 0, SRCCOPY);
        benchmark::DoNotOptimize(Field.Pixels.data());
    }
}
BENCHMARK(BM_TerrainRepaint);

void BM_FieldFullLoad(benchmark::State& state) {
    SetUpBattle();
    for (int f = 0; f < 30; f++) {
        KeepFullLoad();
        FieldFrame();
    }
    double repaint = RepaintSeconds();
    for (StepTime& st : Steps) st.Total = 0;
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        KeepFullLoad();
        state.ResumeTiming();
        auto t0 = std::chrono::steady_clock::now();
        FieldFrame();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(Field.Pixels.data());
    }
    double frame = total / static_cast<double>(state.iterations());
    state.counters["frame_ms"] = frame * 1000;
    for (const StepTime& st : Steps)
        state.counters[std::string("us_") + st.Name] = st.Total * 1e6 / static_cast<double>(state.iterations());
    state.counters["xRepaint"] = frame / repaint;
    state.counters["flakes"] = SnowFlakes();
    state.counters["sheep"] = SheepCount();
    state.counters["blood"] = BloodInFlight();
}
BENCHMARK(BM_FieldFullLoad)->Unit(benchmark::kMicrosecond);

}  // namespace
