// The world table of up to 501 records from all players, in "\Vedov.dvk".
#pragma once

#include <string>
#include <string_view>

#include "scores/TopScoreList.h"
#include "shell/Basic.h"
#include "worldscores/WorldFile.h"

extern ScoreRecord WorldScores[501];
extern Integer WorldMarks[501];  // 0 unknown, 1 new, 2 old
extern Integer UploadsByAll;
extern std::string LastUpdateText;  // "dd.mm.yyyy"
extern std::string LastUpdateKey;   // "yyyymmdd"
extern Long SliderKnobY;            // 51..175
extern Integer WorldReadCounter;

// Reads the file on the first call and then every 10,000th; a missing or
// damaged file is replaced by the clean template and read once more.
void ReadWorldFile();
// The game's table from the file's text; false when it ends before "END" and
// its 501 records (the entries read up to there stay set).
bool ParseWorldFile(std::string_view data);
