#include "Sounds.h"

bool GenerateSounds(const std::string&) { return true; }
