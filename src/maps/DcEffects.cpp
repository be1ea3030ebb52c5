#include "maps/DcEffects.h"

void ReadPixels(const Surface&, int, int) {}
void Diffuse(const Surface&, int, int, Surface&, int) {}
void Blur(const Surface&, int, int, Surface&, int) {}
void ScaleUp(const Surface&, int, int, Surface&, int, int) {}
