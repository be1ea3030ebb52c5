// What the score server spends replaying an uploaded game (merge --verify),
// against one plain 300 x 300 copy per frame measured first in the same run
// (the least a drawn frame costs). Thread CPU time; counters per frame
// ("us_per_frame", "x_plain_copy") and for 20,000 frames, ten minutes of
// play ("s_per_20000_frames").
//   RecordedGame   a game played by a bot that runs from the opponents and
//                  to health packs, fires at the nearest, until it dies
//   FullLoad       20,000 frames with 50 opponents and 200 bullets on the
//                  field all along (more than ten minutes of play ever has:
//                  the spawn cap is 14 units at minute 10), nobody dying
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cmath>

#include "../tests/support/Battle.h"
#include "graphics/WorkWithMemory.h"
#include "scores/ReplayFile.h"
#include "shell/Form1.h"
#include "shell/NewGame.h"
#include "shell/Replay.h"

namespace {
double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

double CopySeconds = 0;  // one plain 300 x 300 copy
size_t RecordedFileBytes = 0;  // the bot's recording as written

void Report(benchmark::State& state, double seconds, double frames) {
    const double per = seconds / frames;
    state.counters["frames"] = frames;
    state.counters["us_per_frame"] = per * 1e6;
    state.counters["s_per_20000_frames"] = per * 20000;
    if (CopySeconds > 0) state.counters["x_plain_copy"] = per / CopySeconds;
}

void SetInput(int x, int y, bool fire, const bool keys[4]) {
    TestSetMouse(x, y);
    CursorX = x, CursorY = y;
    MouseLeft = fire ? -1 : 0;
    const int dik[4] = {DIK_D, DIK_S, DIK_A, DIK_W};
    for (int k = 0; k < 4; k++) {
        TestSetKey(dik[k], keys[k]);
        KeyState[dik[k]] = keys[k] ? 0x80 : 0;
    }
}

// The bot: fire at the nearest opponent, walk to a health pack when hurt,
// else away from the opponents' middle.
void BotInput(int frame) {
    const Unit& p = Units[0];
    int nearest = -1, n = 0;
    float best = 1e9f, mx = 0, my = 0;
    for (int i = 1; i <= MaxUnit; i++) {
        if (Units[i].Active == 0) continue;
        const float d = std::hypot(Units[i].X - p.X, Units[i].Y - p.Y);
        mx += Units[i].X, my += Units[i].Y, n++;
        if (d < best) best = d, nearest = i;
    }
    float tx = 140, ty = 140;
    int pack = -1;
    for (int j = 0; j < 10; j++)
        if (HealthPackActive[j] == -1) pack = j;
    if (pack >= 0 && p.Health < 80) {
        tx = HealthPackX[pack], ty = HealthPackY[pack];
    } else if (n > 0) {
        tx = std::clamp(2 * p.X - mx / n, 30.f, 250.f), ty = std::clamp(2 * p.Y - my / n, 30.f, 250.f);
        if (std::hypot(tx - p.X, ty - p.Y) < 8)
            tx = 150 + 100 * std::cos(frame / 20.0), ty = 150 + 100 * std::sin(frame / 20.0);
    }
    const bool keys[4] = {tx > p.X + 3, ty > p.Y + 3, tx < p.X - 3, ty < p.Y - 3};
    const int cx = nearest > 0 ? static_cast<int>(Units[nearest].X) + 10 : 150;
    const int cy = nearest > 0 ? static_cast<int>(Units[nearest].Y) + 10 : 150;
    SetInput(cx, cy, true, keys);
}

// The bot's game, recorded as the game records every game.
ReplayData RecordBotGame() {
    static TempGameDir dir;
    WriteUnitFiles(dir);
    BattleReset(20260101);
    GameRunning = 0;
    NewGame();
    LastSecondTick = static_cast<Long>(GetTickCount());
    Fps = 33;
    for (int frame = 0; frame < 40000 && GameRunning != 0; frame++) {
        BotInput(frame);
        FrameStep();
    }
    ReplayData data;
    std::string why;
    DecodeReplay(PendingRecording(), data, why);
    RecordedFileBytes = PendingRecording().size();
    DropPendingRecording();
    EnteringName = 0;
    return data;
}

void BM_VerifyBaseline_PlainCopy300(benchmark::State& state) {
    CreateSurface(Field, 300, 300);
    CreateSurface(Terain, 300, 300, RGB(90, 110, 60));
    double spent = 0;
    for (auto _ : state) {
        const double t0 = CpuNow();
        BitBlt(Field, 0, 0, 300, 300, Terain, 0, 0, SRCCOPY);
        benchmark::DoNotOptimize(Field.Pixels.data());
        spent += CpuNow() - t0;
    }
    CopySeconds = spent / static_cast<double>(state.iterations());
    state.counters["us_per_frame"] = CopySeconds * 1e6;
}
BENCHMARK(BM_VerifyBaseline_PlainCopy300);

void BM_Verify_RecordedGame(benchmark::State& state) {
    static const ReplayData game = RecordBotGame();
    double spent = 0;
    bool ended = true;
    for (auto _ : state) {
        const double t0 = CpuNow();
        const ReplayOutcome out = VerifyReplay(game);
        spent += CpuNow() - t0;
        ended = ended && out.Ended;
    }
    if (!ended) state.SkipWithError("the recorded game did not replay to its end");
    size_t frames = 0;
    for (const ReplayEvent& e : game.Events) frames += e.Kind == ReplayFrameEvent;
    // The file's size scaled to a ten-minute game (20,000 frames).
    if (frames > 0) state.counters["file_kB_per_20000_frames"] = RecordedFileBytes / 1024.0 * 20000 / frames;
    Report(state, spent / static_cast<double>(state.iterations()), static_cast<double>(frames));
}
BENCHMARK(BM_Verify_RecordedGame)->Iterations(5);

void BM_Verify_FullLoad(benchmark::State& state) {
    constexpr int Frames = 20000;
    static TempGameDir dir;
    WriteUnitFiles(dir);
    ReplayData data;
    data.Seed = 4242;
    data.Year = 2026, data.Month = 1, data.Day = 1;
    data.Fps = 33;
    data.UnitFiles = {{"DEFAULT", dir.Read("OtherFiles/DEFAULT.txt")}, {"LVL1", dir.Read("OtherFiles/LVL1.txt")}};
    for (int f = 0; f < Frames; f++) {
        ReplayEvent e;
        e.Buttons = (f / 45) % 3 != 2 ? ReplayMouseLeft : 0;
        e.Keys = (f / 60) % 4 == 0 ? ReplayKeyD : (f / 60) % 4 == 2 ? ReplayKeyA : 0;
        e.X = 150 + static_cast<int>(std::lround(60 * std::cos(f * 0.05)));
        e.Y = 150 + static_cast<int>(std::lround(60 * std::sin(f * 0.05)));
        data.Events.push_back(e);
    }
    for (int t = 0; t < 8 * Frames; t++) data.Ticks.push_back(100000 + 10 * int64_t{t});
    double spent = 0;
    int played = 0;
    for (auto _ : state) {
        ResetGameState();
        std::string why;
        if (!BeginPlayback(data, ReplayMode::Verifying, why)) {
            state.SkipWithError(why.c_str());
            return;
        }
        // The field full, and nobody dies.
        for (int i = 0; i <= MaxUnit; i++) {
            Unit& u = PlaceUnit(i, 5 + (i % 8) * 36.f, 5 + (i / 8) * 40.f);
            u.Health = 1e6f;
            u.SpriteName = i ? "AiLVL" + std::to_string(i % 6) : "";
            u.WalkLeft = 1000;
            u.WalkDir = static_cast<Integer>((i * 53) % 360);
        }
        for (int b = 1; b <= MaxBullet; b++) {
            Bullet& bl = Bullets[b];
            const double a = (b * 47) % 360;
            bl = Bullet{};
            bl.Life = 30000;
            bl.Angle = static_cast<Single>(a);
            bl.BX = (b * 131) % 300, bl.BY = (b * 71) % 300;
            bl.DX = static_cast<Single>(std::cos(a * DegToRad)), bl.DY = static_cast<Single>(std::sin(a * DegToRad));
            bl.Speed = 3;
            bl.Owner = static_cast<Integer>(1 + b % MaxUnit);
        }
        const double t0 = CpuNow();
        for (played = 0; played < Frames && GameRunning != 0; played++) FrameStep();
        spent += CpuNow() - t0;
        StopPlayback();
    }
    if (played < Frames) state.SkipWithError("the battle ended early");
    Report(state, spent / static_cast<double>(state.iterations()), Frames);
}
BENCHMARK(BM_Verify_FullLoad)->Iterations(3);
}  // namespace
