#pragma once

#include <cstdint>
#include <string>

// "Ram:39%(204 Mb)" padded with blanks to 40 characters: the free share of
// physical memory and the free megabytes, as the menus' debug line shows them.
std::string DebugMemoryLine(uint64_t totalPhys, uint64_t availPhys);
