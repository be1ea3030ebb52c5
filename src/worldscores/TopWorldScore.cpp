#include "worldscores/TopWorldScore.h"

#include <vector>

#include "platform/Files.h"

ScoreRecord WorldScores[501];
Integer WorldMarks[501];
Integer UploadsByAll;
std::string LastUpdateText;
std::string LastUpdateKey;
Long SliderKnobY = 51;
Integer WorldReadCounter;

bool ParseWorldFile(std::string_view data) {
    const std::vector<std::string> lines = SplitTextLines(data);
    size_t at = 0;
    for (int i = 0; i <= 500; i++) {
        if (at >= lines.size()) return false;  // ended before "END"
        const std::string& line = lines[at++];
        if (line == "END") break;
        WorldScores[i] = ParseRecordLine(NumberCodeText(line, false));
    }
    // A full table of 501 records still ends with its "END".
    if (at < lines.size() && lines[at] == "END") at++;
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
