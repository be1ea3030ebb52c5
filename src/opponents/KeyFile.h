// Key files (the unit files and the score server file): the key in columns
// 1-20, a separator in column 21, the value from column 22, and an "END" line
// after which nothing is read. Only the standard library, so a fuzz target can
// build it alone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits file text at CR LF, LF or CR; a last line without an end counts.
std::vector<std::string> KeyFileLines(std::string_view text);

// Looks key up in the lines (at most 5,001 of them, up to "END"); a key given
// several times yields its last value. The value is trimmed of blanks and cut
// to width characters. False, with value untouched, when the key is absent.
bool KeyFileValue(const std::vector<std::string>& lines, std::string_view key, size_t width, std::string& value);
