#pragma once

#include <string>

#include "shell/Basic.h"

// Saves the field and the status bar (301 x 378) as base + ".jpg".
void TakeScreenshot(const std::string& base, Integer quality);
// -1 when the file can be opened for reading, else 0.
Integer FileExists(const std::string& path);
