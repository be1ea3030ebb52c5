#include "worldscores/TopWorldScore.h"

#include <cctype>
#include <vector>

#include "platform/Files.h"

ScoreRecord WorldScores[501];
Integer WorldMarks[501];
Integer UploadsByAll;
std::string LastUpdateText;
std::string LastUpdateKey;
Long SliderKnobY = 51;
Integer WorldReadCounter;

std::string NumberCodeText(const std::string& text, bool encode) {
    std::string out;
    if (encode) {
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
            if (!std::isdigit(static_cast<unsigned char>(text[p + i]))) digits = false;
            else code = code * 10 + (text[p + i] - '0');
        }
        // A group that is no character code adds nothing.
        if (digits && code > 0 && code < 256) out += static_cast<char>(code);
        p += n + 1;
    }
    return out;
}

bool ParseWorldFile(std::string_view data) {
    const std::vector<std::string> lines = SplitTextLines(data);
    size_t at = 0;
    for (int i = 0; i <= 500; i++) {
        if (at >= lines.size()) return false;  // ended before "END"
        const std::string& line = lines[at++];
        if (line == "END") break;
        WorldScores[i] = ParseRecordLine(NumberCodeText(line, false));
    }
    // The trailer: unreadable lines leave the values as they were.
    if (at < lines.size()) {
        if (auto v = ToNumber(lines[at]); v && *v >= -32768 && *v <= 32767)
            UploadsByAll = static_cast<Integer>(Int(*v));
        at++;
    }
    if (at < lines.size()) LastUpdateText = lines[at];
    return true;
}

namespace {
// One attempt; false on an error that sends the reader to the template.
bool ReadOnce(const std::string& path) {
    std::string data;
    return ReadWholeFile(path, data) && ParseWorldFile(data);
}
}  // namespace

void ReadWorldFile() {
    Integer before = WorldReadCounter;
    WorldReadCounter = before == 9999 ? 0 : static_cast<Integer>(before + 1);
    if (WorldReadCounter != 1) return;
    const std::string path = GamePath("\\Vedov.dvk");
    if (ReadOnce(path)) return;
    CopyFileOver(GamePath("\\OtherFiles\\Temp2.txt"), path);
    ReadOnce(path);
}
