// The settings file: its exact format, the range checks and every way it can be damaged.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "menus/Options.h"
#include "shell/GameState.h"
#include "support/TempDir.h"

namespace {
const char* Shipped =
    " 0 \r\n 0 \r\n 0 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n 80 \r\n 125 \r\n 7 \r\n 0 \r\n 1 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n";
}

TEST(Options, ReadsAndWritesByteForByte) {
    TempGameDir dir;
    ResetGameState();
    dir.Write("OtherFiles/Options.txt", Shipped);
    LoadSaveOptions(false);
    EXPECT_EQ(OptDebugInfo, 8);
    EXPECT_EQ(MusicVolume, 80);
    EXPECT_EQ(PlayMinutes, 125);
    EXPECT_EQ(TimesPlayed, 7);
    EXPECT_EQ(MapsGenerated, 1);
    EXPECT_EQ(OptFullScreen, 8);
    dir.Write("OtherFiles/Options.txt", "");
    LoadSaveOptions(true);
    EXPECT_EQ(dir.Read("OtherFiles/Options.txt"), Shipped);

    OptMono = -1;
    LoadSaveOptions(true);
    EXPECT_NE(dir.Read("OtherFiles/Options.txt").find("\r\n-1 \r\n 80 \r\n"), std::string::npos);
}

TEST(Options, RangeChecksOnFootStepsAndFullScreenOnly) {
    TempGameDir dir;
    ResetGameState();
    dir.Write("OtherFiles/Options.txt",
              " 5 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 3 \r\n 80 \r\n 0 \r\n 0 \r\n 5 \r\n 0 \r\n 5 \r\n 0 \r\n 0 \r\n 0 \r\n");
    LoadSaveOptions(false);
    EXPECT_EQ(OptFootSteps, 0);   // 5 -> on
    EXPECT_EQ(OptFullScreen, 8);  // 5 -> window
    EXPECT_EQ(OptBloodFly, 5);    // kept as read
    EXPECT_EQ(OptMono, 3);
}

TEST(Options, MissingFileGivesZeroEverywhere) {
    TempGameDir dir;
    ResetGameState();
    MusicVolume = 50;
    OptSnow = 8;
    TimesPlayed = 3;
    LoadSaveOptions(false);
    EXPECT_EQ(MusicVolume, 0);
    EXPECT_EQ(OptSnow, 0);
    EXPECT_EQ(TimesPlayed, 0);
    EXPECT_EQ(OptFullScreen, 0);
    EXPECT_EQ(MapsGenerated, 0);
}

TEST(Options, ShortFileRepeatsTheLastLineAndBadLinesKeepTheSetting) {
    TempGameDir dir;
    ResetGameState();
    OptSnow = 8;
    // Line 6 is not a number; the file ends after line 8.
    dir.Write("OtherFiles/Options.txt", " 8 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\nsnow\r\n 0 \r\n 42 \r\n");
    LoadSaveOptions(false);
    EXPECT_EQ(OptBloodFly, 8);
    EXPECT_EQ(OptSnow, 8);  // unchanged
    EXPECT_EQ(MusicVolume, 42);
    EXPECT_EQ(PlayMinutes, 42);  // lines 9.. repeat line 8
    EXPECT_EQ(TimesPlayed, 42);
    EXPECT_EQ(OptFootSteps, 0);   // 42 is out of range
    EXPECT_EQ(OptFullScreen, 8);  // 42 is out of range
    EXPECT_EQ(OptKillsInRow, 42);
}

TEST(Options, FractionsAreCutAndHugeValuesIgnored) {
    TempGameDir dir;
    ResetGameState();
    OptSnow = 8;
    dir.Write("OtherFiles/Options.txt",
              " 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 99999 \r\n 0 \r\n 7.9 \r\n-3.7\r\n 0 \r\n 0 \r\n 0 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n");
    LoadSaveOptions(false);
    EXPECT_EQ(OptSnow, 8);
    EXPECT_EQ(MusicVolume, 7);
    EXPECT_EQ(PlayMinutes, -3);
}

TEST(Options, FailedWriteLeavesTheOldFile) {
    TempGameDir dir;
    ResetGameState();
    dir.Write("OtherFiles/Options.txt", Shipped);
    // The temporary file cannot be made: a folder stands in its place.
    std::filesystem::create_directories(dir.Path / "OtherFiles" / "Options.txt.tmp" / "x");
    MusicVolume = 3;
    LoadSaveOptions(true);
    EXPECT_EQ(dir.Read("OtherFiles/Options.txt"), Shipped);
}

TEST(Options, EveryLineHoldsItsOwnSetting) {
    TempGameDir dir;
    ResetGameState();
    // Sixteen different values, so a line read into or written from the wrong
    // setting shows.
    const char* distinct = " 1 \r\n 2 \r\n 3 \r\n 4 \r\n 5 \r\n 6 \r\n 7 \r\n 80 \r\n 90000 \r\n-10 \r\n 8 \r\n"
                           " 12 \r\n 0 \r\n 14 \r\n-15 \r\n 16 \r\n";
    dir.Write("OtherFiles/Options.txt", distinct);
    LoadSaveOptions(false);
    const std::pair<long, long> read[] = {
        {OptBloodFly, 1},     {OptBloodStays, 2},  {OptBulletFly, 3},     {OptDebugInfo, 4},
        {OptScoreInfo, 5},    {OptSnow, 6},        {OptMono, 7},          {MusicVolume, 80},
        {PlayMinutes, 90000}, {TimesPlayed, -10},  {OptFootSteps, 8},     {MapsGenerated, 12},
        {OptFullScreen, 0},   {OptRealMovement, 14}, {OptAlphaBlend, -15}, {OptKillsInRow, 16},
    };
    for (size_t i = 0; i < 16; i++) EXPECT_EQ(read[i].first, read[i].second) << "line " << i + 1;
    dir.Write("OtherFiles/Options.txt", "");
    LoadSaveOptions(true);
    EXPECT_EQ(dir.Read("OtherFiles/Options.txt"), distinct);
}

TEST(Options, ValuesOutOfRange) {
    TempGameDir dir;
    ResetGameState();
    OptBloodStays = OptDebugInfo = 8;
    PlayMinutes = 5;
    dir.Write("OtherFiles/Options.txt", " 32767 \r\n 32768 \r\n-32768 \r\n-32769 \r\n 0 \r\n 0 \r\n 0 \r\n 50 \r\n"
                                        " 2147483648 \r\n-2147483648 \r\n 9 \r\n 1 \r\n 9 \r\n 0 \r\n 0 \r\n 0 \r\n");
    LoadSaveOptions(false);
    // A value too large for its setting leaves the setting as it was.
    EXPECT_EQ(OptBloodFly, 32767);
    EXPECT_EQ(OptBloodStays, 8);
    EXPECT_EQ(OptBulletFly, -32768);
    EXPECT_EQ(OptDebugInfo, 8);
    EXPECT_EQ(PlayMinutes, 5);
    EXPECT_EQ(TimesPlayed, -2147483647 - 1);
    // Neither 0 nor 8: footprints on, and a window.
    EXPECT_EQ(OptFootSteps, 0);
    EXPECT_EQ(OptFullScreen, 8);
}
