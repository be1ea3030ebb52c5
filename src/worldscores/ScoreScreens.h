// The two score screens and the record details panel.
#pragma once

#include "scores/TopScoreList.h"

// "WATCH GAME" on both score screens, shown for a picked entry with a
// recording, and the line that says why a recording cannot play.
constexpr int WatchItemX = 180, WatchItemY = 210, WatchMessageY = 248;

void HighScoresScreen();
void WorldScoresScreen();
// Details of local entry k in StatusField.
void EntryDetails(int k);
// The panel for any record: both tables share its layout.
void EntryDetailsOf(const ScoreRecord& r);
