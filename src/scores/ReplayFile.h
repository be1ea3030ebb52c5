// A recorded game: everything that decides a battle (the seed, the unit
// files, the clock and the input of every frame), kept beside the score table
// so the game can be watched again and the score server can replay it.
// Standard library and zlib only, so the server and the fuzz target build it
// alone. The layout is described in docs/replay-format.md.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scores/TopScoreList.h"

// The game's version: a recording only plays in the same version, because
// any change to a rule changes the battle it describes.
constexpr const char* GameVersion = "1.22";
constexpr int ReplayFormatVersion = 1;
constexpr const char* ReplayMagic = "DORVIK REPLAY";
// The folder beside the score table, and the extension of its files.
constexpr const char* ReplayFolderName = "Replays";
constexpr const char* ReplayExtension = ".dvr";

// Key bits of a frame: the movement keys the battle reads.
enum ReplayKeyBit : uint8_t {
    ReplayKeyW = 1, ReplayKeyA = 2, ReplayKeyS = 4, ReplayKeyD = 8,
    ReplayKeyUp = 16, ReplayKeyLeft = 32, ReplayKeyDown = 64, ReplayKeyRight = 128,
};
// Button bits of a frame.
enum ReplayButtonBit : uint8_t {
    ReplayMouseLeft = 1, ReplayMouseRight = 2, ReplayMouseMiddle = 4, ReplayFireModeKey = 8,
};

enum ReplayEventKind : uint8_t {
    ReplayFrameEvent = 0,  // one battle frame with its input
    ReplayPausedPass = 1,  // one pass of the menu loop while the game was paused
    ReplayOptionsSet = 2,  // Keys = OptKillsInRow, Buttons = OptRealMovement from here on
};

struct ReplayEvent {
    uint8_t Kind = ReplayFrameEvent;
    uint8_t Keys = 0;
    uint8_t Buttons = 0;
    int32_t X = 0, Y = 0;  // the cursor in field pixels
};

struct ReplayData {
    std::string Version = GameVersion;
    uint32_t Seed = 0;       // the random generator's state when the battle began
    int32_t Terrain = 0;     // the terrain picture shown (1..5; 0 none)
    int32_t Year = 0, Month = 0, Day = 0;
    // The frame clock's state when the battle began.
    int64_t LastSecondTick = 0, NextFrameTick = 0;
    int32_t FrameCount = 0, Fps = 0;
    int32_t OptKillsInRow = 0, OptRealMovement = 0;
    // The unit files the battle read ("DEFAULT", "LVL1"), as they were.
    std::vector<std::pair<std::string, std::string>> UnitFiles;
    // The table record the game ended with, without its name (RecordLine of
    // the entry with an empty name); empty when the game had not ended.
    std::string RecordText;
    std::vector<ReplayEvent> Events;
    // Every value the battle read from the clock, in order.
    std::vector<int64_t> Ticks;
};

// The file's bytes: a text line naming format and version, then the rest
// compressed.
std::string EncodeReplay(const ReplayData& data);

// Reads a recording. False with a one-line reason for a file that is damaged,
// too large, of another format or of another version (the version is checked
// only when checkVersion is set); `out` is then unspecified.
bool DecodeReplay(std::string_view bytes, ReplayData& out, std::string& why, bool checkVersion = true);

// The 16 hex digits that name an entry's recording: a digest of its record
// without the name, so an entry and its file find each other.
std::string ReplayKey(const ScoreRecord& entry);
std::string ReplayKeyOfRecordText(std::string_view recordTextWithoutName);

// Limits a reader keeps to (a hostile file cannot make it use more).
constexpr size_t ReplayMaxFileBytes = 4u << 20;
constexpr size_t ReplayMaxBodyBytes = 32u << 20;
constexpr size_t ReplayMaxEvents = 2'000'000;
constexpr size_t ReplayMaxTicks = 8'000'000;
constexpr size_t ReplayMaxUnitFileBytes = 64u << 10;
