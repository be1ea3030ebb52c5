// The frame present step, the game clock, waves, spawning and the end of game.
#pragma once

// Ends every frame and menu pass: status bar refresh, frames per second, the
// per-second rules, and pacing to one frame per 30 ms.
void ClockStep();
void SpawnTick();
void SpawnOpponent();
// Spawn cap by minute of play: the most units (player included) a tick allows.
int SpawnCap(int minute);
