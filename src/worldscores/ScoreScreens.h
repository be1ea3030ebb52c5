// The two score screens and the record details panel.
#pragma once

#include "scores/TopScoreList.h"

void HighScoresScreen();
void WorldScoresScreen();
// Details of local entry k in StatusField.
void EntryDetails(int k);
// The panel for any record: both tables share its layout.
void EntryDetailsOf(const ScoreRecord& r);
