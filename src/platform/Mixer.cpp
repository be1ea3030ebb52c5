#include "platform/Mixer.h"

#include <cstring>

bool MixerOpenDevice() { return false; }
void MixerCloseDevice() {}
int MixerLoadWav(const std::string&) { return -1; }
int MixerCreateBuffer(const std::vector<int16_t>&) { return -1; }
void MixerFreeBuffer(int) {}
void MixerFreeAll() {}
bool MixerSetVolume(int, int32_t) { return false; }
bool MixerSetPan(int, int32_t) { return false; }
bool MixerSetPosition(int, uint32_t) { return false; }
uint32_t MixerGetPosition(int) { return 0; }
bool MixerPlay(int, bool) { return false; }
bool MixerStop(int) { return false; }
bool MixerIsPlaying(int) { return false; }
int32_t MixerGetVolume(int) { return 0; }
int32_t MixerGetPan(int) { return 0; }
void MixerMix(int16_t* out, int frames) { std::memset(out, 0, sizeof(int16_t) * 2 * frames); }
