// Over the field: kills in a row with their bar and bonus, and the score
// comparison line.
#pragma once

#include <cstdint>
#include <string>

void StatusBarStep();  // frame step, update mode: the kills-in-row bar
void ScoreInfoLine();  // the score comparison line
void KillEvent();      // an opponent died: kills in a row
// Clears the row, the bonus and the line (new game).
void ResetScoreInfo();

// A kill within this many milliseconds of the last continues the row.
constexpr uint32_t StreakWindowMs = 3000;
int KillsInRow();
const std::string& ScoreLine();
