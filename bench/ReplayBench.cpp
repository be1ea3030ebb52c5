// What recording costs a frame: the input kept, two clock reads logged, and
// the share of writing the whole ten-minute file at the game's end. The aim is
// well under 5 us a frame. Each figure is also a ratio to a plain 300 x 300
// copy measured in the same run ("x_plain_copy").
#include <benchmark/benchmark.h>

#include <time.h>

#include <cmath>

#include "platform/Clock.h"
#include "scores/ReplayFile.h"
#include "shell/GameState.h"
#include "shell/Replay.h"

namespace {
constexpr int TenMinutes = 20000;  // frames at 33 a second
double CopySeconds = 0;

double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

// Thread CPU per frame in microseconds, and as a ratio to the plain copy.
void Report(benchmark::State& state, double seconds, double frames) {
    const double per = seconds / frames;
    state.counters["frame_us"] = per * 1e6;
    if (CopySeconds > 0) state.counters["x_plain_copy"] = per / CopySeconds;
}

void BM_Replay_Baseline_PlainCopy300(benchmark::State& state) {
    Surface a, b;
    CreateSurface(a, 300, 300);
    CreateSurface(b, 300, 300, RGB(1, 2, 3));
    const double t0 = CpuNow();
    for (auto _ : state) {
        BitBlt(a, 0, 0, 300, 300, b, 0, 0, SRCCOPY);
        benchmark::DoNotOptimize(a.Pixels.data());
    }
    CopySeconds = (CpuNow() - t0) / static_cast<double>(state.iterations());
    state.counters["frame_us"] = CopySeconds * 1e6;
}

ReplayData TenMinuteGame() {
    ReplayData d;
    int64_t t = 100000;
    d.LastSecondTick = t;
    for (int f = 0; f < TenMinutes; f++) {
        ReplayEvent e;
        e.Keys = static_cast<uint8_t>((f / 40) % 5 == 0 ? ReplayKeyW : 0);
        e.Buttons = static_cast<uint8_t>((f / 20) % 3 == 0 ? ReplayMouseLeft : 0);
        e.X = 150 + static_cast<int>(100 * std::sin(f * 0.013));
        e.Y = 150 + static_cast<int>(100 * std::cos(f * 0.017));
        d.Events.push_back(e);
        d.Ticks.push_back(t += 15);
        d.Ticks.push_back(t += 15);
    }
    return d;
}

void BM_RecordFrame(benchmark::State& state) {
    ResetGameState();
    UseTestClock(true, 100000);
    GameRunning = -1;
    int frame = 0;
    const double t0 = CpuNow();
    for (auto _ : state) {
        if (frame % TenMinutes == 0) StartRecording();  // a new game every ten minutes of frames
        CursorX = 150 + frame % 97;
        CursorY = 150 - frame % 89;
        MouseLeft = (frame / 20) % 3 == 0 ? -1 : 0;
        RecordFrameInput();
        benchmark::DoNotOptimize(BattleTick());
        benchmark::DoNotOptimize(BattleTick());
        AdvanceTestClock(30);
        frame++;
    }
    Report(state, CpuNow() - t0, static_cast<double>(state.iterations()));
    ReplayState = ReplayMode::Off;
    GameRunning = 0;
    UseTestClock(false);
}

// Writing the file once at the end, spread over the game's frames.
void BM_WriteTenMinuteFilePerFrame(benchmark::State& state) {
    const ReplayData d = TenMinuteGame();
    size_t bytes = 0;
    const double t0 = CpuNow();
    for (auto _ : state) {
        const std::string file = EncodeReplay(d);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    Report(state, CpuNow() - t0, static_cast<double>(state.iterations()) * TenMinutes);
    state.counters["file_kB"] = static_cast<double>(bytes) / 1024;
}
}  // namespace

BENCHMARK(BM_Replay_Baseline_PlainCopy300);
BENCHMARK(BM_RecordFrame)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_WriteTenMinuteFilePerFrame)->Unit(benchmark::kMillisecond);
