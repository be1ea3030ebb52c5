// Every sound of the game: 40 buffers and the one play routine.
#pragma once

#include <string>

void LoadSounds();
// Plays sound id at horizontal position 0..1000 (field x * 10 / 3; 500 for
// sounds without a place). Ids without a sound do nothing.
void PlaySound(int id, double position);
void PlaySound(const std::string& id, double position);
void StopSound(int id);
// Continues a looping sound where it stopped at attenuation K - 32 * (100 - V).
void ResumeLoop(int id, int K);
// Sets the battle and menu music buffers to the current MusicVolume.
void SetMusicVolumes();
void FreeSounds();

// Inspection: the mixer buffer of a sound id (-1 when none is loaded) and the
// file name of an id (nullptr for ids without a sound).
int SoundBuffer(int id);
const char* SoundFileName(int id);
