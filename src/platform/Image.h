// Picture files: loading JPEG and BMP into a surface, writing BMP and JPEG.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Surface.h"

// Replaces the surface's picture with the file's; false (and the surface left
// as it was) when the file is missing or unreadable.
bool LoadPictureFile(const std::string& path, Surface& s);
// The same from a file's bytes. BMP, JPEG and PNG are read; a picture larger
// than the limits below is refused before it is decoded.
bool LoadPictureBytes(const void* data, size_t size, Surface& s);
constexpr uint64_t MaxPictureSide = 16384;
constexpr uint64_t MaxPicturePixels = 32u << 20;  // a 32-megapixel photograph
constexpr int64_t MaxPictureFileBytes = 256 << 20;

// 24-bit Windows bitmap, written atomically.
bool SaveBmpFile(const std::string& path, const Surface& s);

// Baseline JPEG at quality 1..100 (libjpeg-turbo). With fullChroma the colour
// is not subsampled (4:4:4), which keeps sprite sheets clean. Written atomically.
bool SaveJpegFile(const std::string& path, const Surface& s, int quality, bool fullChroma = false);

// PNG (for the artwork's contact sheet, the icons and test pictures); with
// alpha (one byte per pixel, 255 opaque) the file has an alpha channel.
bool SavePngFile(const std::string& path, const Surface& s, const std::vector<uint8_t>* alpha = nullptr);
