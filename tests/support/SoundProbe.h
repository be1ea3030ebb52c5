// Real sound buffers for the given ids in a test's game folder, so a test can
// ask which sounds the game started. The device is closed: nothing plays out
// and the buffers stay where the game left them.
#pragma once

#include <filesystem>
#include <fstream>
#include <initializer_list>

#include "platform/Files.h"
#include "platform/Mixer.h"
#include "sound/DirectSoundMod.h"

// A 16-bit stereo 22050 Hz WAV file of the given length with a quiet saw tone.
inline void WriteTestWav(const std::filesystem::path& path, uint32_t frames, uint32_t period, uint32_t step) {
    std::ofstream f(path, std::ios::binary);
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; i++) f.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    f << "RIFF";
    put(36 + frames * 4, 4);
    f << "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(2, 2);
    put(22050, 4);
    put(88200, 4);
    put(4, 2);
    put(16, 2);
    f << "data";
    put(frames * 4, 4);
    for (uint32_t i = 0; i < frames * 2; i++) put(i % period * step, 2);
}

inline void LoadProbeSounds(std::initializer_list<int> ids) {
    const std::filesystem::path dir = std::filesystem::path(AppPath()) / "Sounds";
    std::filesystem::create_directories(dir);
    // A tenth of a second each.
    for (int id : ids) WriteTestWav(dir / SoundFileName(id), 2205, 50, 200);
    LoadSounds();
    MixerCloseDevice();
}

inline bool Playing(int id) { return MixerIsPlaying(SoundBuffer(id)); }
inline void StopAllProbeSounds(std::initializer_list<int> ids) {
    for (int id : ids) MixerStop(SoundBuffer(id));
}
