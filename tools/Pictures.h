// The picture half of the generator: every picture, the terrain photographs
// and the ready-made fifth terrain, and the contact sheet.
#pragma once

#include <string>

bool GeneratePictures(const std::string& picturesDir, const std::string& contactSheet);
// Unit files, the shipped settings and the clean score templates.
bool GenerateDataFiles(const std::string& otherFilesDir);
