// Recording a battle as it is played, and playing a recording back: watched
// in the window, or replayed headless at full speed to check its score.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "scores/ReplayFile.h"

enum class ReplayMode { Off, Recording, Watching, Verifying };
extern ReplayMode ReplayState;

inline bool ReplayIsPlaying() { return ReplayState == ReplayMode::Watching || ReplayState == ReplayMode::Verifying; }

// Every clock read of a battle goes through here: recorded while playing,
// taken from the recording while playing back.
uint64_t BattleTick();
// The frame pacing of a battle; at full speed while verifying.
void BattleWaitUntil(uint64_t tick);

// Recording (the game calls these; nothing happens while playing back).
void StartRecording();    // a new game began
void RecordFrameInput();  // a battle frame read its input
void RecordPausedPass();  // a pass of the menu loop while the game is paused
void FinishRecording(const ScoreRecord& record);  // the game ended with this record
void ReplayFrameEnd();    // a battle frame is over
// The last game's recording, kept until its table entry is written.
const std::string& PendingRecording();
void DropPendingRecording();

// The folder beside the score table, and an entry's file in it.
std::string ReplayFolderPath();
std::string ReplayFilePath(const ScoreRecord& entry);
// After the table is written: saves the pending recording when its entry is
// in the table (entries 0..9) and removes files whose entry left the table.
void SaveAndPruneRecordings(const ScoreRecord* entries);

// Playback. BeginPlayback starts the recorded battle as a new game (false,
// with a one-line reason, when it cannot); FrameStep then takes its input from
// the recording. PlaybackFrameInput gives the next frame's input (false when
// the recording ran out or Escape ended watching: the battle is over).
bool BeginPlayback(const ReplayData& data, ReplayMode mode, std::string& why);
bool PlaybackFrameInput();
void StopPlayback();
// The terrain the recorded game was played on.
int PlaybackTerrain();
// The day the recorded game was played.
LocalDate PlaybackDate();
// The game ended while playing back (instead of entering a score).
void PlaybackGameEnded(const ScoreRecord& record);

struct ReplayOutcome {
    bool Ended = false;  // the battle reached its end within the recording
    ScoreRecord Record;  // the record the replayed battle ended with
    std::string Why;     // why it could not be replayed
};
// Replays a recording headless at full speed, with no drawing and no sound.
ReplayOutcome VerifyReplay(const ReplayData& data);
// Whether two records agree on what a game decides (score, kills, time, date
// and skill values; not the name and not the player's games count).
bool SameGame(const ScoreRecord& a, const ScoreRecord& b, std::string& difference);
