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

inline void LoadProbeSounds(std::initializer_list<int> ids) {
    const std::filesystem::path dir = std::filesystem::path(AppPath()) / "Sounds";
    std::filesystem::create_directories(dir);
    for (int id : ids) {
        // A tenth of a second of 16-bit stereo at 22050 Hz.
        const uint32_t frames = 2205;
        std::ofstream f(dir / SoundFileName(id), std::ios::binary);
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
        for (uint32_t i = 0; i < frames * 2; i++) put(i % 50 * 200, 2);
    }
    LoadSounds();
    MixerCloseDevice();
}

inline bool Playing(int id) { return MixerIsPlaying(SoundBuffer(id)); }
inline void StopAllProbeSounds(std::initializer_list<int> ids) {
    for (int id : ids) MixerStop(SoundBuffer(id));
}
