// Every file the game reads, damaged at random: the readers must neither
// crash nor leave the settings outside the values the game can use. Run in the
// sanitizer build this also catches reads past the end.
#include <gtest/gtest.h>

#include <string>

#include "menus/Options.h"
#include "opponents/TextFile.h"
#include "scores/TopScoreList.h"
#include "shell/GameState.h"
#include "support/TempDir.h"
#include "support/UnitFiles.h"
#include "worldscores/TopWorldScore.h"

namespace {
uint32_t Seed = 12345;
uint32_t Next() {
    Seed = Seed * 1664525u + 1013904223u;
    return Seed >> 8;
}

// Flips, inserts, deletes and cuts bytes of a valid file.
std::string Damage(std::string s) {
    int edits = 1 + Next() % 8;
    for (int e = 0; e < edits; e++) {
        size_t at = s.empty() ? 0 : Next() % s.size();
        switch (Next() % 5) {
            case 0: if (!s.empty()) s[at] = static_cast<char>(Next()); break;
            case 1: s.insert(at, 1, static_cast<char>(Next())); break;
            case 2: if (!s.empty()) s.erase(at, 1 + Next() % 8); break;
            case 3: s.resize(at); break;
            default: s.insert(at, std::string(Next() % 300, static_cast<char>('0' + Next() % 10))); break;
        }
    }
    return s;
}

const char* Options =
    " 0 \r\n 0 \r\n 0 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n 80 \r\n 125 \r\n 7 \r\n 0 \r\n 1 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n";
}  // namespace

TEST(DamagedFiles, SettingsFile) {
    TempGameDir dir;
    for (int i = 0; i < 1500; i++) {
        ResetGameState();
        dir.Write("OtherFiles/Options.txt", Damage(Options));
        LoadSaveOptions(false);
        ASSERT_TRUE(OptFullScreen == 0 || OptFullScreen == 8);
        ASSERT_TRUE(OptFootSteps == 0 || OptFootSteps == 8);
    }
}

TEST(DamagedFiles, UnitFiles) {
    TempGameDir dir;
    for (int i = 0; i < 1500; i++) {
        ResetGameState();
        dir.Write("OtherFiles/DEFAULT.txt", Damage(OddDefaultFile()));
        LoadUnitFile("DEFAULT");
        ASSERT_EQ(LoadedSlot, 0);
    }
}

TEST(DamagedFiles, ScoreTable) {
    TempGameDir dir;
    ScoreRecord r{"120  ", "4  ", "01:30", "0 ", "0 ", "0 ", "0 ", "90 ", "15 ", "3    ", "20261208", "Mira"};
    for (int k = 0; k <= 10; k++) TopScores[k] = r;
    WriteScoreFile();
    const std::string good = dir.Read("AtopDv118.dvk");
    dir.Write("OtherFiles/Temp.txt", good);
    for (int i = 0; i < 1500; i++) {
        dir.Write("AtopDv118.dvk", Damage(good));
        ScoreReadCounter = 0;
        ReadScoreFile();
        EnterScore(0);
    }
    for (auto& k : TopScores) k = ScoreRecord{};
}

TEST(DamagedFiles, WorldTable) {
    TempGameDir dir;
    std::string line = NumberCodeText("300  K=12  T=03:15 A=3  R=1  B=2  M=0  MH=150 MA=15  TP=4    HD=20261201"
                                      "?????????? N=Ana",
                                      true);
    const std::string good = line + "\r\n" + line + "\r\nEND\r\n57\r\n05.12.2026\r\n";
    dir.Write("OtherFiles/Temp2.txt", "END\r\n0\r\n01.01.2026\r\n");
    for (int i = 0; i < 1500; i++) {
        dir.Write("Vedov.dvk", Damage(good));
        WorldReadCounter = 0;
        ReadWorldFile();
    }
}
