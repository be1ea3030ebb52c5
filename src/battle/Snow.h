#pragma once

// Snow over the field (OptSnow); its level follows the player's SpeedXP.
void SnowStep();

constexpr int MaxSnow = 3001;
// Flakes wanted in the air for the player's SpeedXP: 101 .. 3,001.
int SnowLevel();
// Flakes in the air now.
int SnowFlakes();
// Where flake i is; false when it is not in the air.
bool SnowFlakeAt(int i, float& x, float& y);
void ResetSnow();
