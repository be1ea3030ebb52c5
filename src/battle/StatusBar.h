// The status bar below the field, and the fire-mode indicator over it.
#pragma once

#include "shell/GameState.h"

// Redraws StatusField from the player record; sets SkillScore.
void DrawStatusBar();
// Takes StatusField's picture as the bar's background (done when the
// pictures are loaded; else by the first DrawStatusBar).
void SetStatusBackground();
// Puts that background back over StatusField; black while there is none.
void ClearStatusBar();
void FireModeIndicator();  // BulletsOut, bombs

// Skill strips: the track starts right of the label; one cell per step.
constexpr int SkillTrackX = 98;
constexpr double SkillCellWidth = 18.5;
// Steps gained in skill 0 accuracy, 1 recharge, 2 bullet speed, 3 melee.
int SkillSteps(const Unit& p, int skill);
// SkillScore for the player record and game as they are now.
Long ComputeSkillScore();
