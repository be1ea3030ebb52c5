// The aeroplane, its bombs and the explosions.
#pragma once

#include "shell/Basic.h"

// update: move and draw (frame step); bombOrder: the player's right click;
// waveFlight: the flight that brings a wave, entering at (0, 135).
void AirPlaneAndBombs(Integer update, Integer bombOrder, Integer reserved, Integer waveFlight);
void ExplosionsStep();
void StartExplosion(double x, double y);
// Bullets one bomb costs.
constexpr int BombCost = 15;
