#include "server/Verified.h"

#include "scores/ReplayFile.h"

namespace {
constexpr const char* Header = "dorvik-scores verified 1";

std::string Trimmed(const std::string& s) {
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// A name stays on its line: control bytes and '%' as %XX.
std::string Escaped(std::string_view s) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x20 || c == 0x7F || c == '%') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string Unescaped(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); i++) {
        if (s[i] == '%' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}
}  // namespace

bool IsReplayKey(std::string_view key) {
    return key.size() == 16 && key.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::string VerifiedText(const std::vector<VerifiedGame>& games) {
    std::string out = std::string(Header) + "\n";
    for (const VerifiedGame& g : games) out += g.Key + " " + g.Fingerprint + " " + Escaped(g.Name) + "\n";
    return out;
}

std::vector<VerifiedGame> ParseVerified(std::string_view text) {
    std::vector<VerifiedGame> games;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() < 34 || line[16] != ' ' || line[33] != ' ') continue;
        VerifiedGame g{std::string(line.substr(0, 16)), std::string(line.substr(17, 16)), Unescaped(line.substr(34))};
        if (IsReplayKey(g.Key) && IsReplayKey(g.Fingerprint)) games.push_back(std::move(g));
    }
    return games;
}

bool IsVerified(const std::vector<VerifiedGame>& games, const ScoreRecord& record) {
    const std::string key = ReplayKey(record), name = Trimmed(record.Name);
    for (const VerifiedGame& g : games)
        if (g.Key == key && g.Name == name) return true;
    return false;
}

std::string UploadStem(const std::string& tableName) {
    return tableName.ends_with(".dvk") ? tableName.substr(0, tableName.size() - 4) : tableName;
}

std::string RecordingUploadName(const std::string& stem, const std::string& key) {
    return stem + "." + key + ReplayExtension;
}

bool ParseRecordingUploadName(const std::string& name, std::string& stem, std::string& key) {
    const std::string ext = ReplayExtension;
    if (name.size() < 1 + 1 + 16 + ext.size() || !name.ends_with(ext)) return false;
    const size_t dot = name.size() - ext.size() - 17;
    if (name[dot] != '.' || !IsReplayKey(std::string_view(name).substr(dot + 1, 16))) return false;
    stem = name.substr(0, dot);
    key = name.substr(dot + 1, 16);
    return true;
}
