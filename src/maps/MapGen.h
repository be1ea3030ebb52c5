#pragma once

// First-run terrain generator: Map01..04.jpg become Map01..04.bmp.
void GenerateMaps();
// New game: keep the terrain with chance 1/6, else load Map0n.bmp.
void ChooseNewGameTerrain();
