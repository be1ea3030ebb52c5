// libFuzzer target: any bytes as the score file. The reader must not crash,
// every field must stay within its column, and what it read must write back
// as a table that reads again.
// fuzz-sources: src/scores/ScoreFile.cpp
// fuzz-runs: 20000
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scores/ScoreFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ScoreRecord entries[ScoreEntries];
    ParseScoreFile(bytes, entries);
    for (const ScoreRecord& e : entries) {
        if (e.Score.size() > 5 || e.Kills.size() > 3 || e.Time.size() > 5 || e.Accuracy.size() > 2 ||
            e.Recharge.size() > 2 || e.BulletSpeed.size() > 2 || e.Melee.size() > 2 || e.MaxHealth.size() > 3 ||
            e.MaxAmmo.size() > 3 || e.TimesPlayed.size() > 5 || e.Date.size() > 8 || e.Name.size() > 35)
            std::abort();
        if (!e.Name.empty() && (e.Name.front() == ' ' || e.Name.back() == ' ')) std::abort();
    }
    ScoreRecord again[ScoreEntries];
    if (!ParseScoreFile(ScoreFileText(entries), again)) std::abort();
    return 0;
}
