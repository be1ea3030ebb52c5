#include "scores/TopScoreList.h"

ScoreRecord TopScores[101];
Integer NewEntryIndex;
Integer ScoreReadCounter;
std::string YourName;

void EnterScore(Long) {}
void PrepareNewEntry(int) {}
void NameEntryStep() {}
void WriteScoreFile() {}
void ReadScoreFile() {}
std::string ScrambleText(const std::string& text, unsigned char mask) {
    std::string r = text;
    for (auto& c : r) c = static_cast<char>(static_cast<unsigned char>(c) ^ mask);
    return r;
}
std::string RecordLine(const ScoreRecord&) { return ""; }
ScoreRecord ParseRecordLine(const std::string&) { return {}; }
void YourNameTextInput(const char*) {}
void YourNameKeyDown(int) {}
