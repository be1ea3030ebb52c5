#include "opponents/Pickups.h"

void HealthPickupsStep() {}
void AmmoPickupsStep() {}
void SpawnHealthPack(double, double) {}
void SpawnCrate(double, double, int) {}
