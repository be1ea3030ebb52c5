#pragma once

// First-run terrain generator: Map01..04.jpg become Map01..04.bmp.
void GenerateMaps();
// New game: keep the terrain with chance 1/6, else load Map0n.bmp.
void ChooseNewGameTerrain();
// Loads Map0n.bmp for n 1..5; any other n keeps the terrain as it is.
void ShowTerrain(int n);
// The n the last new game chose (6: kept).
extern int CurrentTerrain;
