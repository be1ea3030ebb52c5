// libFuzzer target: any bytes as a picture file (the game's are BMP and JPEG).
// Loading must not crash; a loaded picture has the pixels its size says, within
// the limits, each a COLORREF; a refused one leaves the surface as it was.
// fuzz-sources: src/platform/Image.cpp src/platform/Surface.cpp
// fuzz-libs: sdl2 SDL2_image
// fuzz-runs: 3000
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Surface s;
    CreateSurface(s, 3, 2, 0x123456);
    if (!LoadPictureBytes(data, size, s)) {
        if (s.Width != 3 || s.Height != 2 || s.Pixels.size() != 6 || s.Pixels[5] != 0x123456) std::abort();
        return 0;
    }
    if (s.Width <= 0 || s.Height <= 0 || static_cast<uint64_t>(s.Width) > MaxPictureSide ||
        static_cast<uint64_t>(s.Height) > MaxPictureSide)
        std::abort();
    if (s.Pixels.size() != static_cast<size_t>(s.Width) * s.Height) std::abort();
    for (COLORREF c : s.Pixels)
        if (c > 0xFFFFFF) std::abort();
    return 0;
}
