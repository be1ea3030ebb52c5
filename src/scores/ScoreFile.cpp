#include "scores/ScoreFile.h"

namespace {
// 1-based column cut; past the end gives empty or short text.
std::string Columns(const std::string& s, size_t first, size_t width) {
    if (first - 1 >= s.size()) return "";
    return s.substr(first - 1, width);
}

std::string TrimBlanks(const std::string& s) {
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(' ');
    return s.substr(a, b - a + 1);
}

}  // namespace

std::string_view NextTextLine(std::string_view data, size_t& pos) {
    size_t start = pos;
    while (pos < data.size() && data[pos] != '\r' && data[pos] != '\n') pos++;
    std::string_view line = data.substr(start, pos - start);
    if (pos < data.size()) {
        if (data[pos] == '\r' && pos + 1 < data.size() && data[pos + 1] == '\n') pos++;
        pos++;
    }
    return line;
}

std::string ScrambleText(const std::string& text, unsigned char mask) {
    std::string r = text;
    for (auto& c : r) c = static_cast<char>(static_cast<unsigned char>(c) ^ mask);
    return r;
}

std::string RecordLine(const ScoreRecord& r) {
    return r.Score + "K=" + r.Kills + " T=" + r.Time + " A=" + r.Accuracy + " R=" + r.Recharge + " B=" +
           r.BulletSpeed + " M=" + r.Melee + " MH=" + r.MaxHealth + " MA=" + r.MaxAmmo + " TP=" + r.TimesPlayed +
           "HD=" + r.Date + "??????????" + " N=" + r.Name;
}

ScoreRecord ParseRecordLine(const std::string& line) {
    ScoreRecord r;
    r.Score = Columns(line, 1, 5);
    r.Kills = Columns(line, 8, 3);
    r.Time = Columns(line, 14, 5);
    r.Accuracy = Columns(line, 22, 2);
    r.Recharge = Columns(line, 27, 2);
    r.BulletSpeed = Columns(line, 32, 2);
    r.Melee = Columns(line, 37, 2);
    r.MaxHealth = Columns(line, 43, 3);
    r.MaxAmmo = Columns(line, 50, 3);
    r.TimesPlayed = Columns(line, 57, 5);
    r.Date = Columns(line, 65, 8);
    r.Name = TrimBlanks(Columns(line, 86, 35));
    return r;
}

std::string ScoreFileText(const ScoreRecord* entries) {
    std::string out;
    for (int i = 0; i < ScoreEntries; i++) out += ScrambleText(RecordLine(entries[i]), ScoreMask) + "\r\n";
    out += "END\r\n";
    return out;
}

bool ParseScoreFile(std::string_view data, ScoreRecord* entries) {
    size_t pos = 0;
    for (int i = 0; i < ScoreEntries; i++) {
        if (pos >= data.size()) return false;  // input past the end of the file
        std::string line(NextTextLine(data, pos));
        if (line == "END") return true;
        entries[i] = ParseRecordLine(ScrambleText(line, ScoreMask));
    }
    return true;
}
