// `dorvik-scores merge`: players' uploads in incoming/ into the world table
// "Vedov.dvk" and its web page "default.htm".
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "worldscores/WorldFile.h"

constexpr size_t WorldKeep = 500;     // the game's reader mistakes a 501st record's "END"
constexpr long UploadsShown = 32767;  // the game holds the count in 16 bits

// Adds records to the table: best WorldKeep by score, one record per
// player, date and score, the earlier record first among equal scores.
void MergeRecords(std::vector<ScoreRecord>& table, std::vector<ScoreRecord> records);

// What replaying a record's recording found.
struct RecordingCheck {
    std::string Why;          // empty: the recording plays exactly the record's game
    std::string Fingerprint;  // 16 hex digits naming the game itself (its seed and outcome)
};
using RecordingChecker = std::function<RecordingCheck(const ScoreRecord& record, std::string_view recording)>;

struct MergeOptions {
    std::string Folder;
    std::string Today;        // "yyyymmdd"
    long MinAgeSeconds = 60;  // younger uploads may still be arriving
    // Set (--verify): a record enters only when its recording, uploaded with
    // its table, replays to it. Unset: records enter unverified.
    RecordingChecker Verify;
};

// A recording without its table is rejected once it is this old (the game
// sends the table seconds after its recordings).
constexpr long OrphanRecordingSeconds = 600;

enum MergeExit { MergeOk = 0, MergeFailed = 1, MergeUsage = 2, MergeBusy = 3 };

// The whole merge; the summary or the error goes to message.
MergeExit RunMerge(const MergeOptions& options, std::string& message);

// "yyyymmdd" of the local date today.
std::string LocalDateKey();
// The day after a valid "yyyymmdd"; empty when the text is no date.
std::string NextDayKey(const std::string& key);
