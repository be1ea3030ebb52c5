#include "sound/DirectSoundMod.h"

void LoadSounds() {}
void PlaySound(int, double) {}
void PlaySound(const std::string&, double) {}
void StopSound(int) {}
void ResumeLoop(int, int) {}
void SetMusicVolumes() {}
void FreeSounds() {}
