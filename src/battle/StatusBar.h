// The status bar below the field and the texts and indicators over it.
#pragma once

#include <cstdint>
#include <string>

#include "shell/GameState.h"

// Redraws StatusField from the player record; sets SkillScore.
void DrawStatusBar();
// Takes StatusField's picture as the bar's background (done by the first
// DrawStatusBar, while the picture is still as loaded).
void SetStatusBackground();
void StatusBarStep();       // frame step, update mode: the kills-in-row bar
void ScoreInfoLine();       // the score comparison line
void FireModeIndicator();   // BulletsOut, bombs
void KillEvent();           // an opponent died: kills in a row
// Blood sprayed at the cursor and at random places over the menus.
void MenuEffects();
// Clears the per-game state of the battlefield mechanisms (new game).
void ResetBattlefield();

// A kill within this many milliseconds of the last continues the row.
constexpr uint32_t StreakWindowMs = 3000;
// Skill strips: the track starts right of the label; one cell per step.
constexpr int SkillTrackX = 98;
constexpr double SkillCellWidth = 18.5;
// Steps gained in skill 0 accuracy, 1 recharge, 2 bullet speed, 3 melee.
int SkillSteps(const Unit& p, int skill);
// SkillScore for the player record and game as they are now.
Long ComputeSkillScore();
int KillsInRow();
const std::string& ScoreLine();
int MenuBloodDrops();
