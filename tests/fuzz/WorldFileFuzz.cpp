// libFuzzer target: any bytes as the world table "Vedov.dvk". The reader must
// not crash, every field must stay within its column and the trailer within
// one line; the number code must give back any text it encodes.
// fuzz-sources: src/worldscores/TopWorldScore.cpp src/worldscores/WorldFile.cpp src/scores/ScoreFile.cpp
// fuzz-sources: src/scores/NameText.cpp src/shell/Basic.cpp
// fuzz-sources: src/platform/Files.cpp src/platform/GameFolders.cpp src/platform/Clock.cpp
// fuzz-runs: 10000
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "worldscores/TopWorldScore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (ScoreRecord& e : WorldScores) e = ScoreRecord{};
    ParseWorldFile(bytes);
    for (const ScoreRecord& e : WorldScores) {
        if (e.Score.size() > 5 || e.Kills.size() > 3 || e.Time.size() > 5 || e.Accuracy.size() > 2 ||
            e.Recharge.size() > 2 || e.BulletSpeed.size() > 2 || e.Melee.size() > 2 || e.MaxHealth.size() > 3 ||
            e.MaxAmmo.size() > 3 || e.TimesPlayed.size() > 5 || e.Date.size() > 8 || e.Name.size() > 35)
            std::abort();
        if (!e.Name.empty() && (e.Name.front() == ' ' || e.Name.back() == ' ')) std::abort();
    }
    if (LastUpdateText.find_first_of("\r\n") != std::string::npos) std::abort();

    // Decoding stops after 5000 groups; any text without NUL comes back whole.
    const std::string text(bytes.substr(0, 5000));
    if (NumberCodeText(text, false).size() > 5000) std::abort();
    if (text.find('\0') == std::string::npos && NumberCodeText(NumberCodeText(text, true), false) != text) std::abort();
    return 0;
}
