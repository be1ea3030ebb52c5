#include "server/Verify.h"

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
