// Pixel passes of the map generator.
#pragma once

#include "platform/Surface.h"

void ReadPixels(const Surface& dc, int W, int H);
void Diffuse(const Surface& src, int W, int H, Surface& dst, int amount);
void Blur(const Surface& src, int W, int H, Surface& dst, int radius);
void ScaleUp(const Surface& src, int W, int H, Surface& dst, int W2, int H2);
