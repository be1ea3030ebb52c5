// The two hot copies of every frame against their baselines, timed side by side
// in the same iterations so machine noise hits both alike:
//   BlendVsSdl: a 300 x 300 blend at 50 % against SDL's own alpha-modulated blit.
//   CopyVsMemcpy: a full-field SRCCOPY against memcpy of the same bytes.
// The counter "ratio" is ours / baseline.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

#include "platform/Surface.h"

namespace {
using Clock = std::chrono::steady_clock;

void Pattern(Surface& s, uint32_t seed) {
    for (size_t i = 0; i < s.Pixels.size(); i++) s.Pixels[i] = static_cast<uint32_t>((i * 2654435761u) ^ seed) & 0xFFFFFF;
}

SDL_Surface* SdlCopyOf(const Surface& s) {
    SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(0, s.Width, s.Height, 32, SDL_PIXELFORMAT_XBGR8888);
    for (int y = 0; y < s.Height; y++)
        std::memcpy(static_cast<uint8_t*>(out->pixels) + y * out->pitch, &s.Pixels[static_cast<size_t>(y) * s.Width],
                    static_cast<size_t>(s.Width) * 4);
    return out;
}

void BlendVsSdl(benchmark::State& state) {
    Surface src, dst;
    CreateSurface(src, 300, 300);
    CreateSurface(dst, 300, 300);
    Pattern(src, 0x123456);
    Pattern(dst, 0xABCDEF);
    SDL_Surface* sdlSrc = SdlCopyOf(src);
    SDL_Surface* sdlDst = SdlCopyOf(dst);
    SDL_SetSurfaceBlendMode(sdlSrc, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(sdlSrc, 128);
    Clock::duration ours{}, sdl{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        AlphaBlend(dst, 0, 0, 300, 300, src, 0, 0, 300, 300, 128);
        benchmark::ClobberMemory();
        auto t1 = Clock::now();
        SDL_BlitSurface(sdlSrc, nullptr, sdlDst, nullptr);
        benchmark::ClobberMemory();
        auto t2 = Clock::now();
        ours += t1 - t0;
        sdl += t2 - t1;
    }
    double n = static_cast<double>(state.iterations());
    state.counters["ours_us"] = std::chrono::duration<double, std::micro>(ours).count() / n;
    state.counters["sdl_us"] = std::chrono::duration<double, std::micro>(sdl).count() / n;
    state.counters["ratio"] = std::chrono::duration<double>(ours) / std::chrono::duration<double>(sdl);
    SDL_FreeSurface(sdlSrc);
    SDL_FreeSurface(sdlDst);
}
BENCHMARK(BlendVsSdl)->MinTime(1.0);

void CopyVsMemcpy(benchmark::State& state) {
    Surface src, dst;
    CreateSurface(src, 300, 300);
    CreateSurface(dst, 300, 300);
    Pattern(src, 0x123456);
    std::vector<uint32_t> a(src.Pixels), b(a.size());
    const size_t bytes = a.size() * 4;
    Clock::duration ours{}, base{};
    for (auto _ : state) {
        auto t0 = Clock::now();
        BitBlt(dst, 0, 0, 300, 300, src, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
        auto t1 = Clock::now();
        std::memcpy(b.data(), a.data(), bytes);
        benchmark::ClobberMemory();
        auto t2 = Clock::now();
        ours += t1 - t0;
        base += t2 - t1;
    }
    double n = static_cast<double>(state.iterations());
    state.counters["ours_us"] = std::chrono::duration<double, std::micro>(ours).count() / n;
    state.counters["memcpy_us"] = std::chrono::duration<double, std::micro>(base).count() / n;
    state.counters["ratio"] = std::chrono::duration<double>(ours) / std::chrono::duration<double>(base);
}
BENCHMARK(CopyVsMemcpy)->MinTime(1.0);

// The masked sprite draw (AND then OR) of a 21 x 21 cell, for reference.
void MaskedSprite(benchmark::State& state) {
    Surface field, sheet;
    CreateSurface(field, 300, 300);
    CreateSurface(sheet, 21 * 72, 42);
    Pattern(field, 1);
    Pattern(sheet, 2);
    for (auto _ : state) {
        BitBlt(field, 140, 140, 21, 21, sheet, 210, 21, SRCAND);
        BitBlt(field, 140, 140, 21, 21, sheet, 210, 0, SRCPAINT);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(MaskedSprite);
}  // namespace
