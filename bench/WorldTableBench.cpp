// Reading a full world table (501 records, the trailer) as the world screen
// does, against the baseline of reading the same file's bytes from disk.
// Counters: ours_ms per read (wall) and ours_cpu_ms (this thread's CPU time,
// which a busy machine disturbs less), and "ratio" = ours / baseline.
#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "worldscores/TopWorldScore.h"

namespace {
using Clock = std::chrono::steady_clock;

double CpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void FullWorldTable(benchmark::State& state) {
    char tmpl[] = "/tmp/dorvik-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    SetAppPath(dir);
    std::string file;
    for (int i = 0; i <= 500; i++) {
        std::string score = std::to_string(9000 - i);
        score.resize(5, ' ');
        std::string line = score + "K=12  T=03:15 A=3  R=1  B=2  M=0  MH=150 MA=15  TP=4    HD=20261205??????????" +
                           " N=Player number " + std::to_string(i);
        file += NumberCodeText(line, true) + "\r\n";
    }
    file += "END\r\n1234\r\n05.12.2026\r\n";
    const std::string path = dir + "/Vedov.dvk";
    WriteFileAtomic(path, file);
    Clock::duration ours{}, raw{};
    double oursCpu = 0;
    for (auto _ : state) {
        double c0 = CpuMs();
        auto t0 = Clock::now();
        WorldReadCounter = 0;
        ReadWorldFile();
        benchmark::DoNotOptimize(WorldScores[500].Name);
        auto t1 = Clock::now();
        oursCpu += CpuMs() - c0;
        std::string bytes;
        ReadWholeFile(path, bytes);
        benchmark::DoNotOptimize(bytes);
        auto t2 = Clock::now();
        ours += t1 - t0;
        raw += t2 - t1;
    }
    if (UploadsByAll != 1234) state.SkipWithError("trailer not read");
    double n = static_cast<double>(state.iterations());
    state.counters["ours_ms"] = std::chrono::duration<double, std::milli>(ours).count() / n;
    state.counters["ours_cpu_ms"] = oursCpu / n;
    state.counters["raw_read_ms"] = std::chrono::duration<double, std::milli>(raw).count() / n;
    state.counters["ratio"] = std::chrono::duration<double>(ours) / std::chrono::duration<double>(raw);
    std::filesystem::remove_all(dir);
}
BENCHMARK(FullWorldTable)->MinTime(1.0);
}  // namespace
