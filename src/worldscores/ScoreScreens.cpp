#include "worldscores/ScoreScreens.h"

void HighScoresScreen() {}
void EntryDetails(int k) { EntryDetailsOf(TopScores[k]); }
void EntryDetailsOf(const ScoreRecord&) {}
