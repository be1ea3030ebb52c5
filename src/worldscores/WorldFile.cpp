#include "worldscores/WorldFile.h"

#include <cctype>
#include <charconv>

#include "scores/ScoreFile.h"

std::string NumberCodeText(const std::string& text, bool encode) {
    std::string out;
    if (encode) {
        out.reserve(text.size() * 4);
        for (unsigned char c : text) out += std::to_string(c) + "-";
        return out;
    }
    size_t p = 0;
    for (int guard = 0; p < text.size() && guard < 5000; guard++) {
        size_t n = 0;
        while (n < 3 && p + n < text.size() && text[p + n] != '-') n++;
        long code = 0;
        bool digits = true;
        for (size_t i = 0; i < n; i++) {
            if (!std::isdigit(static_cast<unsigned char>(text[p + i])))
                digits = false;
            else
                code = code * 10 + (text[p + i] - '0');
        }
        // A group that is no character code adds nothing.
        if (digits && code > 0 && code < 256) out += static_cast<char>(code);
        p += n + 1;
    }
    return out;
}

std::string WorldFileText(const WorldTable& table) {
    std::string out;
    for (const ScoreRecord& r : table.Records) out += NumberCodeText(RecordLine(r), true) + "\r\n";
    out += "END\r\n" + std::to_string(table.Uploads) + "\r\n" + table.LastUpdate + "\r\n";
    return out;
}

bool ParseWorldFile(std::string_view data, WorldTable& table) {
    table = WorldTable{};
    size_t pos = 0;
    for (;;) {
        if (pos >= data.size()) return false;
        std::string_view line = NextTextLine(data, pos);
        if (line == "END") break;
        if (table.Records.size() == WorldEntries) return false;
        table.Records.push_back(ParseRecordLine(NumberCodeText(std::string(line), false)));
    }
    std::string_view count = NextTextLine(data, pos);
    while (!count.empty() && count.back() == ' ') count.remove_suffix(1);
    if (std::from_chars(count.data(), count.data() + count.size(), table.Uploads).ec != std::errc{}) table.Uploads = 0;
    table.LastUpdate = NextTextLine(data, pos);
    return true;
}
