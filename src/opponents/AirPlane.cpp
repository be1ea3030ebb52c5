#include "opponents/AirPlane.h"

void AirPlaneAndBombs(Integer, Integer, Integer, Integer) {}
void ExplosionsStep() {}
void StartExplosion(double, double) {}
