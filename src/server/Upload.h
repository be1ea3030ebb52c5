// Checking a player's upload: the local score file "AtopDv118.dvk" exactly as
// the game writes it, and nothing else. Only the standard library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scores/TopScoreList.h"

// Longest upload read; a real score file is under 1.5 KB.
constexpr size_t UploadMaxBytes = 64 * 1024;

// Checks one unscrambled record line. Empty when it is a filled record (put
// into record) or an empty one (record.Score left empty); else the reason.
// latestDate ("yyyymmdd") is the last date a game may carry.
std::string CheckRecordLine(std::string_view line, const std::string& latestDate, ScoreRecord& record);

// Checks a whole upload: eleven scrambled records and "END", CR LF, nothing
// more. Empty when valid, with its filled records appended to records;
// else the one-line reason and records unchanged.
std::string CheckUpload(std::string_view data, const std::string& latestDate, std::vector<ScoreRecord>& records);
