#include "platform/Surface.h"

// Text output arrives with the font code.
void TextOut(Surface&, int, int, std::string_view) {}
int TextWidth(const Surface& s, std::string_view text) { return static_cast<int>(text.size()) * s.FontSize; }
