// Our software mixer standing in for the sound device: one static buffer per
// sound holding the whole sample data (16-bit stereo 22050 Hz), with
// attenuation in hundredths of a decibel, pan -10000..10000, a play position in
// bytes, play once or loop, stop keeping the position. The mixing routine is a
// plain function that tests call directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int MixerRate = 22050;

// Opens the audio device; false when there is none (the game goes on silently).
bool MixerOpenDevice();
void MixerCloseDevice();
bool MixerDeviceOpen();

// Decodes a WAV file (any PCM format is converted) into a new buffer; returns
// its handle, or -1.
int MixerLoadWav(const std::string& path);
// The same from a WAV file's bytes into interleaved stereo at the mixer's rate.
bool MixerDecodeWav(const uint8_t* file, size_t size, std::vector<int16_t>& out);
// A file whose sound would need more than this once converted is refused
// before it is converted (about 12 minutes of sound).
constexpr uint64_t MixerMaxBufferBytes = 64u << 20;
uint32_t MixerBufferFrames(int buffer);
// A buffer from ready samples (interleaved stereo int16).
int MixerCreateBuffer(const std::vector<int16_t>& stereoSamples);
void MixerFreeBuffer(int buffer);
void MixerFreeAll();

// The controls of a buffer. Attenuation above 0 is refused (false) and the
// previous value kept.
bool MixerSetVolume(int buffer, int32_t hundredthsDb);
bool MixerSetPan(int buffer, int32_t pan);
bool MixerSetPosition(int buffer, uint32_t byteOffset);
uint32_t MixerGetPosition(int buffer);
bool MixerPlay(int buffer, bool loop);
bool MixerStop(int buffer);
bool MixerIsPlaying(int buffer);
int32_t MixerGetVolume(int buffer);
int32_t MixerGetPan(int buffer);

// Mixes every playing buffer into frames stereo frames (interleaved int16),
// advancing their positions; saturates at the sample range.
void MixerMix(int16_t* out, int frames);
