#include "battle/Acid.h"

void AcidStep() {}
void SpawnAcid(double, double) {}
