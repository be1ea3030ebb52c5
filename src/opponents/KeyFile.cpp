#include "opponents/KeyFile.h"

namespace {
std::string_view Blankless(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && s[a] == ' ') a++;
    while (b > a && s[b - 1] == ' ') b--;
    return s.substr(a, b - a);
}

// 1-based columns; past the end gives empty or short text.
std::string_view Columns(std::string_view s, size_t first, size_t width) {
    if (first - 1 >= s.size()) return {};
    return s.substr(first - 1, width);
}
}  // namespace

std::vector<std::string> KeyFileLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') i++;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

bool KeyFileValue(const std::vector<std::string>& lines, std::string_view key, size_t width, std::string& value) {
    const std::string_view want = Blankless(key);
    bool found = false;
    for (size_t n = 0; n < lines.size() && n <= 5000; n++) {
        const std::string& line = lines[n];
        if (line == "END") break;
        if (Blankless(Columns(line, 1, 20)) == want) {
            value = std::string(Blankless(Columns(line, 22, width)));
            found = true;
        }
    }
    return found;
}
