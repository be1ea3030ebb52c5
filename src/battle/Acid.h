// Drugs ("acid"): drops on the field and their timed effects.
#pragma once

#include "shell/Basic.h"

void AcidStep();
// A drop of a random kind on the dead unit at top-left (x, y).
void SpawnAcid(double x, double y);
void ResetAcid();

// Frames each kind's effect lasts (33 frames a second): shakes, rush, mend, bane.
constexpr Integer AcidDuration[4] = {330, 495, 396, 264};
