#include "platform/Image.h"

bool SaveBmpFile(const std::string&, const Surface&) { return false; }
bool SaveJpegFile(const std::string&, const Surface&, int, bool) { return false; }
bool EncodeJpeg(const Surface&, int, bool, std::string&) { return false; }
bool SavePngFile(const std::string&, const Surface&) { return false; }
