// The text of the score file "\AtopDv118.dvk": eleven scrambled record lines
// and "END". Only the standard library, so the fuzz target can build it alone.
#pragma once

#include <string>
#include <string_view>

#include "scores/TopScoreList.h"

constexpr unsigned char ScoreMask = 0xD3;
constexpr int ScoreEntries = 11;  // 0..9 shown, 10 the overflow slot

// One line of a record file from pos on, ended by CR LF, LF or CR (a last
// line without an end counts); pos moves past its end.
std::string_view NextTextLine(std::string_view data, size_t& pos);

// The whole file for entries 0..10.
std::string ScoreFileText(const ScoreRecord* entries);

// Reads the file's lines into entries 0..10 as it goes and stops at "END".
// False when the text runs out before "END" and eleven records (the read
// error of the game); the entries read up to then stay set.
bool ParseScoreFile(std::string_view data, ScoreRecord* entries);
