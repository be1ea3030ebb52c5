// The desktop icon at 64, 128 and 256 pixels: FOLDER/dorvik-SIZE.png.
#pragma once

#include <string>

bool GenerateIcons(const std::string& folder);
