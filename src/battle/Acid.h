// Drugs ("acid"): drops on the field and their timed effects.
#pragma once

void AcidStep();
void SpawnAcid(double x, double y);
