// The mixer's cost per 30 ms block with forty voices, against a plain copy of
// the same samples measured in the same run, and the start-up loading time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/Files.h"
#include "platform/Mixer.h"
#include "sound/DirectSoundMod.h"

namespace {

constexpr int BlockFrames = 662;  // 30 ms at 22050 Hz
constexpr double BlockSeconds = 0.030;

std::vector<int16_t> NoiseSamples(int frames, uint32_t seed) {
    std::vector<int16_t> s(frames * 2);
    for (auto& v : s) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<int16_t>(seed >> 20) - 2048;
    }
    return s;
}

void FortyPlaying() {
    MixerFreeAll();
    for (int i = 0; i < 40; i++) {
        int b = MixerCreateBuffer(NoiseSamples(22050 + 977 * i, i + 1));
        MixerSetVolume(b, -100 * (i % 20));
        MixerSetPan(b, (i - 20) * 400);
        MixerSetPosition(b, 4 * 131 * i);
        MixerPlay(b, true);
    }
}

void ReportShare(benchmark::State& state, double seconds) {
    double perBlock = seconds / static_cast<double>(state.iterations());
    state.counters["share_of_30ms_%"] = perBlock / BlockSeconds * 100;
}

// Baseline: copying forty voices' worth of samples without gain or saturation.
void BM_CopyFortyBlocks(benchmark::State& state) {
    std::vector<std::vector<int16_t>> src;
    for (int i = 0; i < 40; i++) src.push_back(NoiseSamples(BlockFrames, i + 1));
    std::vector<int16_t> out(BlockFrames * 2);
    double total = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        for (auto& s : src) std::memcpy(out.data(), s.data(), s.size() * 2);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    ReportShare(state, total);
}
BENCHMARK(BM_CopyFortyBlocks);

void BM_MixFortyVoices(benchmark::State& state) {
    FortyPlaying();
    std::vector<int16_t> out(BlockFrames * 2);
    double total = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        MixerMix(out.data(), BlockFrames);
        benchmark::DoNotOptimize(out.data());
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    ReportShare(state, total);
    MixerFreeAll();
}
BENCHMARK(BM_MixFortyVoices);

// All 40 generated files, as the game loads them at start-up.
void BM_LoadSounds(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    auto game = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "game";
    if (!std::filesystem::exists(game / "Sounds" / "SnowBattle.wav")) {
        state.SkipWithError("no generated sounds: build game_assets first");
        return;
    }
    SetAppPath(game.string());
    for (auto _ : state) {
        LoadSounds();
        state.PauseTiming();
        bool all = true;
        for (int id : {1, 22, 26, 46}) all = all && SoundBuffer(id) >= 0;
        if (!all) state.SkipWithError("a sound did not load");
        FreeSounds();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadSounds)->Unit(benchmark::kMillisecond);

}  // namespace
