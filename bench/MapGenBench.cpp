// The sixteen pixel passes of the first-run map generator (four maps x
// diffuse, blur, diffuse, scale-up), against a baseline in the same run: one
// plain per-pixel read and write over the same sixteen regions.
#include <benchmark/benchmark.h>

#include "maps/DcEffects.h"
#include "platform/Surface.h"
#include "shell/Basic.h"

namespace {
Surface Photo(int seed) {
    Surface s;
    CreateSurface(s, 300, 300);
    Randomize(static_cast<uint32_t>(seed));
    for (auto& p : s.Pixels) p = RGB(static_cast<int>(Rnd() * 255), static_cast<int>(Rnd() * 255), 128);
    return s;
}

void BM_SixteenPasses(benchmark::State& state) {
    Surface maps[4] = {Photo(1), Photo(2), Photo(3), Photo(4)};
    for (auto _ : state) {
        for (Surface& t : maps) {
            Diffuse(t, 315, 315, t, 2);
            Blur(t, 300, 300, t, 2);
            Diffuse(t, 315, 315, t, 2);
            ScaleUp(t, 300, 300, t, 304, 304);
        }
        benchmark::DoNotOptimize(maps[3].Pixels.data());
    }
}
BENCHMARK(BM_SixteenPasses)->Unit(benchmark::kMillisecond);

// Baseline: every pixel of the same regions read and written once through the
// surface calls.
void BM_Baseline_PixelCopy(benchmark::State& state) {
    Surface maps[4] = {Photo(1), Photo(2), Photo(3), Photo(4)};
    for (auto _ : state) {
        for (Surface& t : maps)
            for (int pass = 0; pass < 4; pass++) {
                const int n = pass == 1 || pass == 3 ? 300 : 315;
                for (int y = 0; y <= n; y++)
                    for (int x = 0; x <= n; x++) SetPixel(t, x, y, static_cast<COLORREF>(GetPixel(t, x, y)) + 1);
            }
        benchmark::DoNotOptimize(maps[3].Pixels.data());
    }
}
BENCHMARK(BM_Baseline_PixelCopy)->Unit(benchmark::kMillisecond);
}  // namespace
