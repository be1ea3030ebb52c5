// Watching a score table entry's recording from the score screens: the entry
// picked by a click on its row, and the line that says why a recording
// cannot play.
#pragma once

#include <string>

#include "scores/TopScoreList.h"

// What a score screen keeps for watching: the picked entry, known by its
// record line so it is found again wherever the table moves it (empty: none),
// and why its recording could not play ("CANNOT PLAY: ..."; empty when it
// played or none was tried).
struct WatchPick {
    std::string Line;
    std::string Message;
};
extern WatchPick LocalPick, WorldPick;

// nullptr picks none. Another entry clears the message.
void PickEntry(WatchPick& pick, const ScoreRecord* entry);
bool IsPicked(const WatchPick& pick, const ScoreRecord& entry);
// The button went down on the table row drawn at y (anywhere on its line);
// the click is used up.
bool RowClicked(int y);
// A thin line under the picked row drawn at y.
void MarkPickedRow(int y);
// Decodes a recording and starts watching it; false, with the pick's message
// set, when it cannot play.
bool WatchRecording(WatchPick& pick, const std::string& bytes);
// The same for an entry's file beside the local table.
bool WatchRecordingFile(WatchPick& pick, const std::string& path);
// Fetches a world entry's recording from the score server and watches it.
bool WatchWorldEntry(WatchPick& pick, const ScoreRecord& entry);
