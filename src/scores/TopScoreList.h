// The ten best games on this computer, scrambled in "\AtopDv118.dvk".
#pragma once

#include <string>

#include "shell/Basic.h"

// One record, every field the exact fixed-width text of its file column.
struct ScoreRecord {
    std::string Score, Kills, Time, Accuracy, Recharge, BulletSpeed, Melee, MaxHealth, MaxAmmo, TimesPlayed, Date,
        Name;
};
extern ScoreRecord TopScores[101];  // 0..10 used; 10 is the overflow slot
extern Integer NewEntryIndex;
extern Integer ScoreReadCounter;
extern std::string YourName;  // the typed name

void EnterScore(Long score);
// The record of the game just played with this score (no name yet).
ScoreRecord MakeGameRecord(Long score);
void PrepareNewEntry(int j);
void NameEntryStep();
void WriteScoreFile();
void ReadScoreFile();
std::string ScrambleText(const std::string& text, unsigned char mask);
// The record as one line of the file (unscrambled) and back.
std::string RecordLine(const ScoreRecord& r);
ScoreRecord ParseRecordLine(const std::string& line);

// Typing into the name box (the window's text input while a name is entered):
// typed text, and Backspace (virtual key 8) removing the last character.
void YourNameTextInput(const char* utf8);
void YourNameKeyDown(int virtualKey);

// Longest text the name box takes.
constexpr size_t YourNameMaxLength = 36;

// Where the fanfares go; tests listen here.
extern void (*PlayScoreSound)(int id, double position);

// The numeric value of entry i's score text (0 when empty or not a number).
double ScoreValue(int i);
