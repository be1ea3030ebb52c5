// dorvik-scores merge of 10,000 uploads (110,000 records) into a full world
// table, against the bare file work any merge must do: reading the same
// 10,000 files and moving them into done/. Timed side by side in the same
// iterations; the counter "ratio" is merge / baseline.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "scores/ScoreFile.h"
#include "server/Merge.h"

namespace {
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
constexpr int Uploads = 10000;

ScoreRecord Rec(long score, const std::string& name) {
    std::string s = std::to_string(score);
    s.resize(5, ' ');
    return ParseRecordLine(s +
                           "K=12  T=03:15 A=3  R=1  B=2  M=0  MH=150 MA=15  TP=4    HD=20261208?????????? N=" + name);
}

void Fill(const fs::path& dir) {
    fs::remove_all(dir);
    fs::create_directories(dir / "incoming");
    WorldTable full;
    full.Uploads = 1000;
    full.LastUpdate = "07.12.2026";
    for (int i = 0; i < 500; i++) full.Records.push_back(Rec(90000 - i * 7, "Old player " + std::to_string(i)));
    std::ofstream(dir / "Vedov.dvk", std::ios::binary) << WorldFileText(full);
    uint32_t seed = 12345;
    for (int u = 0; u < Uploads; u++) {
        ScoreRecord entries[ScoreEntries];
        for (int i = 0; i < ScoreEntries; i++) {
            seed = seed * 1664525u + 1013904223u;
            entries[i] = Rec(1 + (seed >> 8) % 99999, "Player " + std::to_string(u));
        }
        char name[64];
        std::snprintf(name, sizeof name, "20261208-%06d.dvk", u);
        std::ofstream(dir / "incoming" / name, std::ios::binary) << ScoreFileText(entries);
    }
}

void ReadAndMove(const fs::path& dir) {
    fs::create_directories(dir / "done");
    std::string buf(65536, '\0');
    for (auto& e : fs::directory_iterator(dir / "incoming")) {
        int fd = open(e.path().c_str(), O_RDONLY);
        while (read(fd, buf.data(), buf.size()) > 0) {
        }
        close(fd);
        fs::rename(e.path(), dir / "done" / e.path().filename());
    }
}

void MergeVsReadAndMove(benchmark::State& state) {
    fs::path dir = fs::temp_directory_path() / ("dorvik-merge-bench-" + std::to_string(getpid()));
    Clock::duration merge{}, base{};
    for (auto _ : state) {
        state.PauseTiming();
        Fill(dir);
        state.ResumeTiming();
        auto t0 = Clock::now();
        std::string message;
        if (RunMerge({dir.string(), "20261208", 0, {}}, message) != MergeOk) state.SkipWithError(message.c_str());
        auto t1 = Clock::now();
        state.PauseTiming();
        Fill(dir);
        state.ResumeTiming();
        auto t2 = Clock::now();
        ReadAndMove(dir);
        auto t3 = Clock::now();
        merge += t1 - t0;
        base += t3 - t2;
    }
    fs::remove_all(dir);
    double n = static_cast<double>(state.iterations());
    state.counters["merge_ms"] = std::chrono::duration<double, std::milli>(merge).count() / n;
    state.counters["baseline_ms"] = std::chrono::duration<double, std::milli>(base).count() / n;
    state.counters["ratio"] = std::chrono::duration<double>(merge) / std::chrono::duration<double>(base);
}
BENCHMARK(MergeVsReadAndMove)->Iterations(3)->Unit(benchmark::kMillisecond);
}  // namespace
