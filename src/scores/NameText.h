// Names are kept as ANSI (Windows-1252) bytes, as the score file holds them;
// typed text arrives as UTF-8 and drawn text leaves as UTF-8.
#pragma once

#include <string>

// Appends the printable characters of utf8 as ANSI bytes while text is
// shorter than maxLength; characters without an ANSI code become '?'.
void AppendUtf8AsAnsi(std::string& text, const char* utf8, size_t maxLength);
std::string AnsiToUtf8(const std::string& ansi);
std::string AnsiUCase(const std::string& ansi);
std::string AnsiLCase(const std::string& ansi);
