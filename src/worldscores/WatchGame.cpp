#include "worldscores/WatchGame.h"

#include "platform/Files.h"
#include "scores/ReplayFile.h"
#include "shell/GameState.h"
#include "shell/Replay.h"
#include "sound/DirectSoundMod.h"
#include "worldscores/FTPmod.h"

WatchPick LocalPick, WorldPick;

namespace {
bool CannotPlay(WatchPick& pick, const std::string& why) {
    pick.Message = "CANNOT PLAY: " + why;
    return false;
}
}  // namespace

void PickEntry(WatchPick& pick, const ScoreRecord* entry) {
    const std::string line = entry ? RecordLine(*entry) : "";
    if (line != pick.Line) pick.Message.clear();
    pick.Line = line;
}

bool IsPicked(const WatchPick& pick, const ScoreRecord& entry) {
    return !pick.Line.empty() && RecordLine(entry) == pick.Line;
}

bool RowClicked(int y) {
    // Left of the world table's slider, on the 14 pixels of the row's line.
    if (MouseLeft == 0 || CursorX <= 30 || CursorX >= 265 || CursorY < y + 2 || CursorY >= y + 16) return false;
    MouseLeft = 0;
    PlaySound(25, 500);
    return true;
}

void MarkPickedRow(int y) {
    const COLORREF pen = Field.PenColour;
    Field.PenColour = RGB(0xFF, 0xFF, 0xFF);
    MoveTo(Field, 28, y + 15);
    LineTo(Field, 265, y + 15);
    Field.PenColour = pen;
}

bool WatchRecording(WatchPick& pick, const std::string& bytes) {
    ReplayData data;
    std::string why;
    // The version is looked at here, to say it in few words.
    if (!DecodeReplay(bytes, data, why, false)) return CannotPlay(pick, why);
    if (data.Version != GameVersion) return CannotPlay(pick, "recorded by version " + data.Version.substr(0, 12));
    if (!BeginPlayback(data, ReplayMode::Watching, why)) return CannotPlay(pick, why);
    pick.Message.clear();
    return true;
}

bool WatchRecordingFile(WatchPick& pick, const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return CannotPlay(pick, "the recording cannot be read");
    return WatchRecording(pick, bytes);
}

bool WatchWorldEntry(WatchPick& pick, const ScoreRecord& entry) {
    std::string bytes;
    if (!DownloadWorldRecording(entry, bytes)) return CannotPlay(pick, "no recording on the score server");
    return WatchRecording(pick, bytes);
}
