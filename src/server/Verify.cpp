#include "server/Verify.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/Files.h"
#include "scores/ReplayFile.h"
#include "shell/Basic.h"
#include "shell/GameState.h"
#include "shell/Replay.h"

namespace {
// The unit files a battle reads, as the recorder stores them.
constexpr const char* BattleUnitFiles[] = {"DEFAULT", "LVL1"};

std::vector<std::pair<std::string, std::string>> Shipped;
}  // namespace

bool LoadShippedUnitFiles(const std::string& gameFolder, std::string& why) {
    Shipped.clear();
    for (const char* name : BattleUnitFiles) {
        const std::string path = ResolveCase(gameFolder + "/OtherFiles/" + name + ".txt");
        std::string text;
        if (!ReadWholeFile(path, text)) {
            why = "cannot read " + path;
            return false;
        }
        Shipped.emplace_back(name, std::move(text));
    }
    // Nothing of the server's own surroundings may reach a battle.
    SetAppPath(gameFolder);
    return true;
}

RecordingCheck CheckRecording(const ScoreRecord& record, std::string_view recording) {
    ReplayData data;
    std::string why;
    if (!DecodeReplay(recording, data, why, true)) return {why, ""};
    if (data.UnitFiles != Shipped) return {"the recording's unit files are not the shipped ones", ""};
    // Frames come at most every 30 ms of the game's clock: a recording with
    // far more than its game's time allows is not replayed at all.
    const std::string time = Trim(record.Time);
    const long seconds = time.size() == 5 ? std::atol(time.c_str()) * 60 + std::atol(time.c_str() + 3) : 0;
    if (std::count_if(data.Events.begin(), data.Events.end(),
                      [](const ReplayEvent& e) { return e.Kind == ReplayFrameEvent; }) > (seconds + 2) * 40)
        return {"the recording holds more frames than its game's time", ""};
    ResetGameState();  // nothing of the game checked before reaches this one
    const ReplayOutcome outcome = VerifyReplay(data);
    if (!outcome.Ended) return {outcome.Why.empty() ? "the recording ends before the game does" : outcome.Why, ""};
    std::string difference;
    if (!SameGame(record, outcome.Record, difference)) return {difference, ""};
    // The game itself: its seed and what it came to (a copy changes neither).
    const ScoreRecord& r = outcome.Record;
    const std::string game =
        std::to_string(data.Seed) + " " + Trim(r.Score) + " " + Trim(r.Kills) + " " + Trim(r.Time) + " " + Trim(r.Date);
    return {"", ReplayKeyOfRecordText(game)};
}
