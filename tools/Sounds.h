// The sound half of the generator: writes every WAV file of the game.
#pragma once

#include <string>

// Writes the 40 sounds into soundsDir; false if a file could not be written.
bool GenerateSounds(const std::string& soundsDir);
