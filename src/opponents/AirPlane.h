// The aeroplane, its bombs and the explosions.
#pragma once

#include "shell/Basic.h"

// update: move and draw (frame step); bombOrder: the player's right click, a
// bomb on the cursor for BombCost bullets; waveFlight: the flight that brings
// a wave, entering at (0, 135).
void AirPlaneAndBombs(Integer update, Integer bombOrder, Integer reserved, Integer waveFlight);
void ExplosionsStep();
// An explosion centred on (x, y).
void StartExplosion(double x, double y);
// Bullets one bomb costs.
constexpr int BombCost = 15;
// Units and sheep closer than this to a blast are hurt.
constexpr int BlastRadius = 45;

int ExplosionsRunning();
int BombRunsWaiting();
void ResetAirPlane();
