// Sheep wandering over the field.
#pragma once

void SheepStep();
// One more sheep walking in from an edge (the spawn tick's top-up).
void SpawnSheep();
// Sheep s dies when its health fell below 1.
void SheepDeathCheck(int s);

constexpr int MaxSheep = 21;  // slots 0..20
int SheepCount();
void ResetSheep();
