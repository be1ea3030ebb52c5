// The status bar below the field and the texts and indicators over it.
#pragma once

// Redraws StatusField from the player record; sets SkillScore.
void DrawStatusBar();
void StatusBarStep();       // frame step, update mode
void ScoreInfoLine();       // the score comparison line
void FireModeIndicator();   // BulletsOut, bombs
void KillEvent();           // an opponent died: kills in a row
// Blood sprayed at the cursor and at random places over the menus.
void MenuEffects();
// Clears the per-game state of the battlefield mechanisms (new game).
void ResetBattlefield();
