// Presenting one frame (field and status bar composed, scaled by a whole
// number into the window, handed to the display) at 1x, 2x and 3x, against
// a baseline of copying the same number of window bytes with memcpy.
// Runs in a dummy window, or in the X server of DISPLAY when one is set.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/Window.h"

namespace {
using Clock = std::chrono::steady_clock;

void PresentAtScale(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    if (!OpenWindow("Dorvik bench", 300, 379)) {
        state.SkipWithError(WindowError().c_str());
        return;
    }
    SetWindowScale(n);
    ProcessWindowEvents();
    Surface field, status;
    CreateSurface(field, 300, 300);
    CreateSurface(status, 300, 78, RGB(20, 30, 40));
    for (size_t i = 0; i < field.Pixels.size(); i++)
        field.Pixels[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
    PresentWindow(field, 0, 0, status, 0, 301);
    std::vector<uint32_t> a(static_cast<size_t>(300 * n) * 379 * n, 7), b(a.size());
    Clock::duration ours{}, base{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        PresentWindow(field, 0, 0, status, 0, 301);
        auto t1 = Clock::now();
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::ClobberMemory();
        auto t2 = Clock::now();
        ours += t1 - t0;
        base += t2 - t1;
    }
    const double k = static_cast<double>(state.iterations());
    state.counters["present_ms"] = std::chrono::duration<double, std::milli>(ours).count() / k;
    state.counters["memcpy_ms"] = std::chrono::duration<double, std::milli>(base).count() / k;
    state.counters["ratio"] = std::chrono::duration<double>(ours) / std::chrono::duration<double>(base);
    CloseWindow();
}
BENCHMARK(PresentAtScale)->Arg(1)->Arg(2)->Arg(3)->MinTime(1.0);
}  // namespace
