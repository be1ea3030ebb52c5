#include "worldscores/ScoreScreens.h"

void HighScoresScreen() {}
void WorldScoresScreen() {}
void EntryDetails(int) {}
