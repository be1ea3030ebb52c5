// libFuzzer target: any bytes as a player's upload to the score server.
// The check must not crash, and whatever it accepts must merge into a world
// table that the game reads back unchanged and a page that shows names as text.
// fuzz-sources: src/server/Upload.cpp src/server/Merge.cpp src/server/WorldPage.cpp
// fuzz-sources: src/worldscores/WorldFile.cpp src/scores/ScoreFile.cpp src/scores/NameText.cpp
// fuzz-sources: src/server/Verified.cpp src/scores/ReplayFile.cpp
// fuzz-libs: zlib
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "server/Merge.h"
#include "server/Upload.h"
#include "server/WorldPage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<ScoreRecord> records;
    std::string why = CheckUpload(bytes, "20261209", records);
    if (!why.empty()) {
        if (!records.empty() || why.find_first_of("\r\n") != std::string::npos) std::abort();
        return 0;
    }
    if (records.size() > 11) std::abort();
    for (const ScoreRecord& r : records) {
        // A record written back is the same valid record.
        ScoreRecord again;
        if (!CheckRecordLine(RecordLine(r), "20261209", again).empty() || RecordLine(again) != RecordLine(r))
            std::abort();
    }
    WorldTable table;
    table.Records = records;
    MergeRecords(table.Records, records);  // twice the same: each once
    if (table.Records.size() > records.size()) std::abort();
    table.Uploads = 1;
    table.LastUpdate = "08.12.2026";
    std::string file = WorldFileText(table);
    WorldTable read;
    if (!ParseWorldFile(file, read) || read.Records.size() != table.Records.size() || read.Uploads != 1) std::abort();
    for (size_t i = 0; i < read.Records.size(); i++)
        if (RecordLine(read.Records[i]) != RecordLine(table.Records[i])) std::abort();
    std::string page = WorldPageHtml(table);
    for (const ScoreRecord& r : table.Records)
        if (r.Name.find('<') != std::string::npos && page.find(r.Name) != std::string::npos) std::abort();
    return 0;
}
