// libFuzzer target: any bytes as a WAV file, decoded from memory and loaded
// from a file. Neither may crash; a decoded sound is whole stereo frames within
// the buffer limit, and loading the file gives a buffer exactly when decoding
// succeeds, with the same length.
// fuzz-sources: src/platform/Mixer.cpp
// fuzz-libs: sdl2
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Mixer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<int16_t> out;
    const bool decoded = MixerDecodeWav(data, size, out);
    if (decoded && (out.size() % 2 != 0 || out.size() * 2 > MixerMaxBufferBytes)) std::abort();

    static int fd = memfd_create("wav", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    const int buffer = MixerLoadWav("/proc/self/fd/" + std::to_string(fd));
    if ((buffer >= 0) != decoded) std::abort();
    if (buffer >= 0) {
        if (MixerBufferFrames(buffer) != out.size() / 2) std::abort();
        MixerFreeBuffer(buffer);
    }
    return 0;
}
