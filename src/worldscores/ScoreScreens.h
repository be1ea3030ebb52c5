// The two score screens and the record details panel.
#pragma once

void HighScoresScreen();
void WorldScoresScreen();
// Details of local entry k in StatusField.
void EntryDetails(int k);
