#include "platform/Image.h"

bool LoadPictureFile(const std::string&, Surface&) { return false; }
