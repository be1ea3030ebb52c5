// A genuine recording: the scripted game of the battle tests played to its
// end through the game's own routines, recorded as the game records every
// game. Made once per test run and shared.
#pragma once

#include <string>

#include "Battle.h"
#include "scores/ReplayFile.h"
#include "scores/ScoreFile.h"
#include "shell/Form1.h"
#include "shell/NewGame.h"
#include "shell/Replay.h"

// Plays the scripted game in the current game folder (unit files written
// there) until the player dies; the recording is then PendingRecording().
inline void PlayScriptedGameToItsEnd() {
    BattleReset(20260101);
    GameRunning = 0;
    SetTestDate({2026, 1, 1});
    NewGame();
    LastSecondTick = static_cast<Long>(GetTickCount());
    Fps = 33;
    for (int frame = 0; frame < 20000 && GameRunning != 0; frame++) {
        ScriptedInput(frame);
        FrameStep();
    }
    SetTestDate({0, 0, 0});
}

struct RecordedGame {
    std::string Bytes;   // the file's bytes
    ScoreRecord Record;  // the record the game ended with (no name)
};

inline const RecordedGame& GenuineRecording() {
    static const RecordedGame game = [] {
        RecordedGame g;
        TempGameDir dir;
        WriteUnitFiles(dir);
        PlayScriptedGameToItsEnd();
        g.Bytes = PendingRecording();
        DropPendingRecording();
        EnteringName = 0;
        MenuCode.clear();
        ReplayData d;
        std::string why;
        if (DecodeReplay(g.Bytes, d, why)) g.Record = ParseRecordLine(d.RecordText);
        return g;
    }();
    return game;
}
