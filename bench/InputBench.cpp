// Input per game frame: reading the keyboard and the cursor and running the
// player's control, against a baseline of one 300 x 300 field copy measured in
// the same run (the one full-surface copy every frame makes anyway).
#include <benchmark/benchmark.h>

#include "input/DirectInputMod.h"
#include "input/PlayerControl.h"
#include "platform/Files.h"
#include "platform/Window.h"
#include "shell/GameState.h"
#include "sound/DirectSoundMod.h"

namespace {
void Prepare() {
    // The shots play the real gunshot when the build's game folder is there.
    static bool soundsLoaded = false;
    if (!soundsLoaded) {
        SetAppPath(AppPath() + "/../game");
        LoadSounds();
        soundsLoaded = true;
    }
    ResetGameState();
    MusicVolume = 100;
    TestReleaseAllKeys();
    CreateKeyboard();
    CreateSurface(Field, 300, 300);
    CreateSurface(Terain, 300, 300, RGB(30, 60, 90));
    Unit& p = Units[0];
    p.Active = -1;
    p.X = 140;
    p.Y = 140;
    p.Ammo = 30000;
    p.Speed = 10;
    p.Spread = 30;
    p.BulletRange = 60;
    p.BulletSpeed = 3;
    p.Recharge = 3;
    NearestOpponentDistance = 1000;
    OptRealMovement = 8;
    MouseLeft = -1;  // firing whenever the cooldown allows
    TestSetKey(DIK_W, true);
    TestSetKey(DIK_A, true);
}

void BM_FieldCopyBaseline(benchmark::State& state) {
    Prepare();
    for (auto _ : state) {
        BitBlt(Field, 0, 0, 300, 300, Terain, 0, 0, SRCCOPY);
        benchmark::DoNotOptimize(Field.Pixels.data());
    }
}
BENCHMARK(BM_FieldCopyBaseline);

void BM_InputFrame(benchmark::State& state) {
    Prepare();
    int n = 0;
    for (auto _ : state) {
        TestSetMouse(40 + (n & 127), 30 + ((n >> 3) & 127));
        UpdateCursor();
        ReadKeyboard();
        PlayerControl();
        // What the units pass would do between frames: count the cooldown
        // down, keep the soldier on the field and let bullets expire.
        Unit& p = Units[0];
        if (p.FireCooldown > 0) p.FireCooldown--;
        if (p.X < 0 || p.X > 280 || p.Y < 0 || p.Y > 280) p.X = p.Y = 140;
        if ((++n & 63) == 0)
            for (auto& b : Bullets) b.Life = 0;
        benchmark::DoNotOptimize(p.X);
    }
    state.counters["sound"] = SoundBuffer(1) >= 0;  // 1 when the gunshot was really played
}
BENCHMARK(BM_InputFrame);
}  // namespace
