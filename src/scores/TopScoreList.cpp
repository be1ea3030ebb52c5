#include "scores/TopScoreList.h"

#include <algorithm>

#include "graphics/WorkWithMemory.h"
#include "platform/Files.h"
#include "platform/Window.h"
#include "scores/NameText.h"
#include "scores/ScoreFile.h"
#include "shell/GameState.h"
#include "shell/Replay.h"
#include "sound/DirectSoundMod.h"

ScoreRecord TopScores[101];
Integer NewEntryIndex;
Integer ScoreReadCounter;
std::string YourName;

void (*PlayScoreSound)(int id, double position) = static_cast<void (*)(int, double)>(&PlaySound);

namespace {
Long NewScore;  // the score being placed, for PrepareNewEntry

const char* ScoreFileName = "\\AtopDv118.dvk";
const char* ScoreTemplateName = "\\OtherFiles\\Temp.txt";

double Val(const std::string& text) { return ToNumber(text).value_or(0); }

// Trailing blanks while the value is below each limit in turn.
std::string Padded(std::string text, std::initializer_list<double> limits) {
    for (double limit : limits)
        if (Val(text) < limit) text += " ";
    return text;
}

std::string TwoDigits(int v) { return (v >= 0 && v < 10 ? "0" : "") + StrInt(v); }

void PlaceNewScore(int j, Long score) {
    YourName.clear();
    EnteringName = True;
    NewEntryIndex = static_cast<Integer>(j);
    MenuCode = "HS";
    NewScore = score;
    PrepareNewEntry(j);
}

// Keeps an unreadable table beside the file before the template replaces it:
// "AtopDv118.dvk.bak", then ".bak2" ... ".bak99"; a backup with the same bytes
// is not made twice. False when it cannot be kept (the file is then left alone).
bool KeepDamagedScoreFile(const std::string& path) {
    std::string data;
    if (!ReadWholeFile(path, data)) return false;
    if (data.empty()) return true;
    for (int n = 1; n <= 99; n++) {
        std::string backup = path + ".bak" + (n == 1 ? "" : std::to_string(n));
        std::string old;
        if (FileExistsOnDisk(backup)) {
            if (ReadWholeFile(backup, old) && old == data) return true;
            continue;
        }
        return WriteFileAtomic(backup, data);
    }
    return false;
}
}  // namespace

// A negative score in a damaged table counts as 0, so it never makes room for
// a game that scored nothing.
double ScoreValue(int i) { return std::max(0.0, Int(Val(TopScores[i].Score))); }

void EnterScore(Long score) {
    if (EnteringName == True) {
        NameEntryStep();
        return;
    }
    ReadScoreFile();
    // A new score goes below every entry with the same or a higher score.
    for (int i = 9; i >= 0; i--) {
        if (score > ScoreValue(i)) {
            TopScores[i + 1] = TopScores[i];
            if (i == 0) {
                PlaceNewScore(0, score);
                return;
            }
        } else if (score > ScoreValue(i + 1)) {
            PlaceNewScore(i + 1, score);
            return;
        }
    }
}

void PrepareNewEntry(int j) {
    int place = j + 1;
    if (place >= 1 && place <= 3) PlayScoreSound(33, 500);
    else if (place >= 4 && place <= 6) PlayScoreSound(34, 500);
    else if (place >= 7 && place <= 10) PlayScoreSound(35, 500);
    if (place >= 1 && place <= 10) PlayScoreSound(46, 500);
    if (j == 10) {  // the overflow slot is never named
        EnteringName = False;
        return;
    }
    const std::string name = TopScores[j].Name;
    TopScores[j] = MakeGameRecord(NewScore);
    TopScores[j].Name = name;
}

ScoreRecord MakeGameRecord(Long score) {
    const Unit& p = Units[0];
    ScoreRecord e;
    e.Score = Padded(StrInt(score), {10, 100, 1000, 10000});
    e.TimesPlayed = Padded(StrInt(TimesPlayed), {10, 100, 1000, 10000});
    e.Accuracy = Padded(StrInt(10 - IDiv(p.Spread, 3)), {10});
    e.Recharge = Padded(StrInt(15 - p.Recharge), {10});
    e.BulletSpeed = Padded(StrInt(p.BulletSpeed - 3), {10});
    e.Melee = Padded(StrInt(p.Melee), {10});
    e.MaxHealth = Padded(StrInt(p.BulletSpeed * 30), {10, 100});
    e.MaxAmmo = Padded(StrInt((16 - p.Recharge) * 15), {10, 100});
    e.Kills = Padded(StrInt(Kills < 0 ? 0 : Kills), {10, 100});
    e.Time = TwoDigits(GameMinutes) + ":" + TwoDigits(GameSeconds);
    e.Date = Padded(p.GameDate, {10, 100, 1000, 10000, 100000, 1000000, 10000000});
    return e;
}

void NameEntryStep() {
    MaskedDraw(Field, 82, 50 + 14 * NewEntryIndex, 150, 15, EnterText, 0, 0, 0, 15);
    ScoreRecord& e = TopScores[NewEntryIndex];
    // The name follows the box before Enter is looked at, so a letter typed
    // in the same pass as Enter is not lost. The keyboard's typed text reaches
    // the box while EnteringName is set (the input side switches it on).
    if (YourName.empty()) {
        e.Name = " ";
    } else {
        std::string first = AnsiUCase(YourName.substr(0, 1));
        // Upper-case Þ and Ù scramble to CR and LF and would split the record
        // line in the file; they stay lower case.
        if (first == "\xDE" || first == "\xD9") first = AnsiLCase(first);
        e.Name = first + AnsiLCase(Mid(YourName, 2, 35));
    }
    ReadKeyboardScanCodes(KeyState);
    if (KeyState[DIK_RETURN]) {  // the main Enter key only
        if (Trim(e.Name).empty()) e.Name = "I'm stupid";
        WriteScoreFile();
        EnteringName = False;
    }
}

void WriteScoreFile() {
    // The recordings follow the table only once it is safely written.
    if (WriteFileAtomic(GamePath(ScoreFileName), ScoreFileText(TopScores))) SaveAndPruneRecordings(TopScores);
}

void ReadScoreFile() {
    ScoreReadCounter = ScoreReadCounter == 9999 ? 0 : static_cast<Integer>(ScoreReadCounter + 1);
    if (ScoreReadCounter != 1) return;
    std::string path = GamePath(ScoreFileName);
    for (int attempt = 1; attempt <= 2; attempt++) {
        std::string data;
        if (ReadWholeFile(path, data) && ParseScoreFile(data, TopScores)) return;
        if (attempt == 2) return;
        if (FileExistsOnDisk(path) && !KeepDamagedScoreFile(path)) return;
        if (!CopyFileOver(GamePath(ScoreTemplateName), path)) return;
    }
}

void YourNameTextInput(const char* utf8) { AppendUtf8AsAnsi(YourName, utf8, YourNameMaxLength); }

void YourNameKeyDown(int virtualKey) {
    if (virtualKey == 8 && !YourName.empty()) YourName.pop_back();
}
