// libFuzzer target: any bytes as a recorded game. The reader must not crash
// or use unbounded memory, must keep to its limits, and whatever it accepts
// must be written back to a file that reads the same.
// fuzz-sources: src/scores/ReplayFile.cpp src/scores/ScoreFile.cpp
// fuzz-libs: zlib
// fuzz-runs: 20000
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "scores/ReplayFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReplayData d;
    std::string why;
    // Also read other versions: the version line is the fuzzer's to change.
    if (!DecodeReplay(bytes, d, why, false)) {
        if (why.empty() || why.find('\n') != std::string::npos) std::abort();
        return 0;
    }
    if (d.Events.size() > ReplayMaxEvents || d.Ticks.size() > ReplayMaxTicks || d.UnitFiles.size() > 16) std::abort();
    for (const auto& [name, text] : d.UnitFiles)
        if (name.size() > 16 || text.size() > ReplayMaxUnitFileBytes) std::abort();
    if (d.Seed > 0xFFFFFF) std::abort();
    ReplayData again;
    if (!DecodeReplay(EncodeReplay(d), again, why, false)) std::abort();
    if (again.Seed != d.Seed || again.Ticks != d.Ticks || again.Events.size() != d.Events.size() ||
        again.UnitFiles != d.UnitFiles || again.RecordText != d.RecordText || again.Version != d.Version)
        std::abort();
    return 0;
}
