#include "Pictures.h"

bool GeneratePictures(const std::string&, const std::string&) { return true; }
bool GenerateDataFiles(const std::string&) { return true; }
