// Replaying uploaded recordings for `dorvik-scores merge --verify`: the
// battle runs headless at full speed through the game's own routines, so the
// server must run the players' version. Links the game's core.
#pragma once

#include <string>
#include <string_view>

#include "server/Merge.h"

// Reads the unit files a battle reads from the game folder the server holds
// (DIR/OtherFiles/DEFAULT.txt and LVL1.txt, as shipped). False with the reason.
bool LoadShippedUnitFiles(const std::string& gameFolder, std::string& why);

// Whether the recording replays to the record: it decodes, is of this
// version, carries the shipped unit files, and its replay ends with the
// record's score, kills, time, skill values and date.
RecordingCheck CheckRecording(const ScoreRecord& record, std::string_view recording);
