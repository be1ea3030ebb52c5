// The server's verified games: which world records were replayed from their
// recording, kept in "verified.txt" beside the world table (the world file
// itself stays as the game reads it), and the names recordings travel under.
// Only the standard library and zlib.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scores/TopScoreList.h"

constexpr const char* VerifiedFileName = "verified.txt";
// The served folder of admitted recordings: "replays/<key>.dvr".
constexpr const char* ServedReplayFolder = "replays";

// One world record the server replayed.
struct VerifiedGame {
    std::string Key;          // ReplayKey of the record, as the world file holds it
    std::string Fingerprint;  // the game itself (seed and outcome): a copy under another name has the same
    std::string Name;         // the record's name, blanks trimmed
};

std::string VerifiedText(const std::vector<VerifiedGame>& games);
// Lines that are not a verified game are skipped.
std::vector<VerifiedGame> ParseVerified(std::string_view text);
// Whether the record is among the games (same key and name).
bool IsVerified(const std::vector<VerifiedGame>& games, const ScoreRecord& record);

// An uploaded table "<stem>.dvk" and the recordings sent with it,
// "<stem>.<key>.dvr".
std::string UploadStem(const std::string& tableName);
std::string RecordingUploadName(const std::string& stem, const std::string& key);
// Splits a recording's upload name; false for any other name.
bool ParseRecordingUploadName(const std::string& name, std::string& stem, std::string& key);
// Sixteen lower-case hex digits, as ReplayKey gives.
bool IsReplayKey(std::string_view key);
