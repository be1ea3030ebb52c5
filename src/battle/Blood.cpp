#include "battle/Blood.h"

void BloodStep() {}
void SpawnBlood(double, double, int, double, int) {}
