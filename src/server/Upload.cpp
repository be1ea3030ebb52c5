#include "server/Upload.h"

#include "scores/ScoreFile.h"

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A whole number written left-aligned and padded with blanks to the width,
// without leading zeros (as the game prints it). Gives its value or -1.
long PaddedNumber(std::string_view field) {
    size_t n = 0;
    while (n < field.size() && IsDigit(field[n])) n++;
    if (n == 0 || (n > 1 && field[0] == '0')) return -1;
    for (size_t i = n; i < field.size(); i++)
        if (field[i] != ' ') return -1;
    long v = 0;
    for (size_t i = 0; i < n; i++) v = v * 10 + (field[i] - '0');
    return v;
}

bool Blank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

bool ValidDate(std::string_view d) {
    for (char c : d)
        if (!IsDigit(c)) return false;
    int y = std::stoi(std::string(d.substr(0, 4))), m = std::stoi(std::string(d.substr(4, 2))),
        day = std::stoi(std::string(d.substr(6, 2)));
    if (y < 2000 || m < 1 || m > 12 || day < 1) return false;
    static const int days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return day <= (m == 2 && !leap ? 28 : days[m - 1]);
}

// A name byte the game can have typed: no control characters and no byte
// that has no character in the Windows-1252 code page.
bool NameByte(unsigned char b) {
    if (b < 0x20 || b == 0x7F) return false;
    return b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D;
}

struct Column {
    size_t First, Width;  // 1-based
    const char* Text;     // the fixed key, or null for a value column
};
// The record layout: the game writes numbers padded to these widths.
const Column Layout[] = {{1, 5, nullptr},  {6, 2, "K="},           {8, 3, nullptr},  {11, 3, " T="},   {14, 5, nullptr},
                         {19, 3, " A="},   {22, 2, nullptr},       {24, 3, " R="},   {27, 2, nullptr}, {29, 3, " B="},
                         {32, 2, nullptr}, {34, 3, " M="},         {37, 2, nullptr}, {39, 4, " MH="},  {43, 3, nullptr},
                         {46, 4, " MA="},  {50, 3, nullptr},       {53, 4, " TP="},  {57, 5, nullptr}, {62, 3, "HD="},
                         {65, 8, nullptr}, {73, 10, "??????????"}, {83, 3, " N="}};
constexpr size_t NameColumn = 86;
// The game keeps 36 name characters and writes them all; its reader takes 35.
constexpr size_t LongestLine = NameColumn - 1 + 36;
}  // namespace

// An entry the game never filled: no score, and nothing but blanks and the
// keys' characters. Besides the template's padded form, the game writes a
// short form for entries it never read, and cuts and rewrites that one into
// other scrambles of the keys; none of them shows or ranks.
bool EmptyEntry(std::string_view line) {
    if (line.size() > 121) return false;
    for (size_t i = 0; i < line.size() && i < 5; i++)
        if (IsDigit(line[i])) return false;
    return line.find_first_not_of(" K=TARBMHPDN?") == std::string_view::npos;
}

std::string CheckRecordLine(std::string_view line, const std::string& latestDate, ScoreRecord& record) {
    record = ScoreRecord{};
    if (EmptyEntry(line)) return "";
    if (line.size() < NameColumn - 1) return "record shorter than its columns";
    if (line.size() > LongestLine) return "record longer than its columns";
    for (const Column& c : Layout)
        if (c.Text && line.substr(c.First - 1, c.Width) != c.Text)
            return "record column " + std::to_string(c.First) + " is not \"" + c.Text + "\"";
    std::string_view name = line.substr(NameColumn - 1);
    for (char c : name)
        if (!NameByte(static_cast<unsigned char>(c))) return "name holds a control character";

    auto number = [&](size_t first, size_t width, long max, const char* what, std::string& why) {
        long v = PaddedNumber(line.substr(first - 1, width));
        if (v < 0 || v > max) why = std::string(what) + " is not a number in range";
        return v;
    };
    std::string why;
    if (number(1, 5, 99999, "score", why) == 0) why = "score is 0";
    number(8, 3, 999, "kills", why);
    number(22, 2, 99, "accuracy", why);
    number(27, 2, 99, "recharge", why);
    number(32, 2, 99, "bullet speed", why);
    number(37, 2, 99, "melee", why);
    number(43, 3, 999, "maximum health", why);
    number(50, 3, 999, "maximum ammunition", why);
    number(57, 5, 99999, "times played", why);
    if (!why.empty()) return why;
    std::string_view time = line.substr(13, 5);
    if (!IsDigit(time[0]) || !IsDigit(time[1]) || time[2] != ':' || time[3] < '0' || time[3] > '5' || !IsDigit(time[4]))
        return "time is not mm:ss";
    std::string_view date = line.substr(64, 8);
    if (!ValidDate(date)) return "date is not a real yyyymmdd date";
    if (std::string(date) > latestDate) return "date lies in the future";
    if (Blank(name)) return "record without a name";
    record = ParseRecordLine(std::string(line));
    return "";
}

std::string CheckUpload(std::string_view data, const std::string& latestDate, std::vector<ScoreRecord>& records) {
    if (data.size() > UploadMaxBytes) return "larger than " + std::to_string(UploadMaxBytes) + " bytes";
    std::vector<ScoreRecord> found;
    size_t pos = 0;
    for (int i = 0; i <= ScoreEntries; i++) {
        size_t end = data.find("\r\n", pos);
        if (end == std::string_view::npos) return "line " + std::to_string(i + 1) + " does not end with CR LF";
        std::string_view line = data.substr(pos, end - pos);
        pos = end + 2;
        if (line == "END" && i < ScoreEntries) return "\"END\" after only " + std::to_string(i) + " records";
        if (i == ScoreEntries) {
            if (line != "END") return "no \"END\" after eleven records";
            break;
        }
        // NUL is fine here: it is the scrambled form of a name's "Ó".
        if (line.find_first_of("\r\n") != std::string_view::npos)
            return "line " + std::to_string(i + 1) + " holds a stray line break";
        ScoreRecord r;
        std::string why = CheckRecordLine(ScrambleText(std::string(line), ScoreMask), latestDate, r);
        if (!why.empty()) return "record " + std::to_string(i + 1) + ": " + why;
        if (!r.Score.empty()) found.push_back(std::move(r));
    }
    if (pos != data.size()) return "data after \"END\"";
    records.insert(records.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    return "";
}
