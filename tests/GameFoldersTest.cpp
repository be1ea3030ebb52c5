// Where the game's files are: the portable and the installed layout, the
// player's data folder seeded from the shipped files, and the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "menus/Options.h"
#include "platform/Files.h"
#include "platform/GameFolders.h"
#include "scores/TopScoreList.h"
#include "shell/CommandLine.h"
#include "shell/GameState.h"

namespace fs = std::filesystem;

namespace {
void Put(const fs::path& file, const std::string& data) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << data;
}

std::string Get(const fs::path& file) {
    std::ifstream f(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// Every file under a folder with its contents.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[fs::relative(e.path(), folder).string()] = Get(e.path());
    return files;
}

// A prefix as cmake --install leaves it, and a home folder for the player.
class Installed : public ::testing::Test {
protected:
    fs::path Root, Prefix, Share, Home, Data;
    GameFolders Saved;
    void SetUp() override {
        Saved = CurrentGameFolders();
        char tmpl[] = "/tmp/dorvik-installed-XXXXXX";
        Root = mkdtemp(tmpl);
        Prefix = Root / "prefix";
        Share = Prefix / "share/dorvik";
        Home = Root / "home";
        Data = Home / ".local/share/dorvik";
        fs::create_directories(Prefix / "bin");
        fs::create_directories(Home);
        Put(Share / "OtherFiles/Options.txt", " 0 \r\n");
        Put(Share / "OtherFiles/Temp.txt", Get(fs::path(DORVIK_GAME_DIR) / "OtherFiles/Temp.txt"));
        Put(Share / "Pictures/Logo.jpg", "logo");
        Put(Share / "Pictures/Map05.bmp", "map5");
        SetGameFolders(FindGameFolders((Prefix / "bin").string(), "", Home.string()));
    }
    void TearDown() override {
        SetGameFolders(Saved);
        fs::remove_all(Root);
    }
};
}  // namespace

TEST(GameFolders, LayoutFollowsWhereTheShippedFilesAre) {
    char tmpl[] = "/tmp/dorvik-layout-XXXXXX";
    const fs::path root = mkdtemp(tmpl);
    const std::string bin = (root / "bin").string();
    fs::create_directories(root / "bin");

    // Nothing shipped anywhere: the executable's folder, as when portable.
    GameFolders f = FindGameFolders(bin, "", "/home/p");
    EXPECT_EQ(f.Shipped, bin);
    EXPECT_EQ(f.Data, bin);

    fs::create_directories(root / "share/dorvik/Pictures");
    f = FindGameFolders(bin, "", "/home/p");
    EXPECT_EQ(f.Shipped, (root / "share/dorvik").string());
    EXPECT_EQ(f.Data, "/home/p/.local/share/dorvik");
    EXPECT_EQ(FindGameFolders(bin, "/xdg", "/home/p").Data, "/xdg/dorvik");
    EXPECT_EQ(FindGameFolders(bin, "relative/xdg", "/home/p").Data, "/home/p/.local/share/dorvik");

    // Shipped files beside the executable win: a portable folder called bin.
    fs::create_directories(root / "bin/pictures");
    f = FindGameFolders(bin, "/xdg", "/home/p");
    EXPECT_EQ(f.Shipped, bin);
    EXPECT_EQ(f.Data, bin);

    // Only a folder called bin next to share/dorvik is an installation.
    fs::create_directories(root / "game");
    EXPECT_EQ(FindGameFolders((root / "game").string(), "", "/home/p").Data, (root / "game").string());
    fs::remove_all(root);
}

TEST_F(Installed, WrittenFilesLiveInTheDataFolderSeededFromTheShippedCopy) {
    // Read-only assets come from share.
    EXPECT_EQ(AppPath(), Share.string());
    EXPECT_EQ(GamePath("\\Pictures\\Logo.jpg"), (Share / "Pictures/Logo.jpg").string());
    EXPECT_EQ(GamePath("\\Pictures\\Map05.bmp"), (Share / "Pictures/Map05.bmp").string());
    EXPECT_EQ(GamePath("\\OtherFiles\\Temp.txt"), (Share / "OtherFiles/Temp.txt").string());

    // Settings: copied on first use, in any spelling, and never copied over again.
    EXPECT_EQ(GamePath("\\otherfiles\\OPTIONS.TXT"), (Data / "OtherFiles/Options.txt").string());
    EXPECT_EQ(Get(Data / "OtherFiles/Options.txt"), " 0 \r\n");
    Put(Data / "OtherFiles/Options.txt", " 8 \r\n");
    EXPECT_EQ(GamePath("\\OtherFiles\\Options.txt"), (Data / "OtherFiles/Options.txt").string());
    EXPECT_EQ(Get(Data / "OtherFiles/Options.txt"), " 8 \r\n");

    // Files with no shipped copy are made there by the game: the folder is ready.
    EXPECT_EQ(GamePath("\\Pictures\\Map03.bmp"), (Data / "Pictures/Map03.bmp").string());
    EXPECT_TRUE(fs::is_directory(Data / "Pictures"));
    EXPECT_FALSE(fs::exists(Data / "Pictures/Map03.bmp"));
    EXPECT_EQ(GamePath("\\Dorvik Pic12"), (Data / "Dorvik Pic12").string());
    EXPECT_EQ(GamePath("\\OtherFiles\\Server.txt"), (Data / "OtherFiles/Server.txt").string());
    EXPECT_EQ(GamePath("\\Vedov.dvk"), (Data / "Vedov.dvk").string());
    EXPECT_EQ(PlayerDataPath(), Data.string());
}

TEST_F(Installed, TheGameWritesNothingIntoThePrefix) {
    const auto before = Snapshot(Prefix);
    ResetGameState();
    LoadSaveOptions(false);
    MapsGenerated = 1;
    LoadSaveOptions(true);
    for (auto& e : TopScores) e = ScoreRecord{};
    ScoreReadCounter = 0;
    ReadScoreFile();  // no table yet: restored from the shipped template
    WriteScoreFile();

    EXPECT_EQ(Snapshot(Prefix), before);
    EXPECT_TRUE(fs::exists(Data / "AtopDv118.dvk"));
    EXPECT_NE(Get(Data / "OtherFiles/Options.txt").find(" 1 "), std::string::npos);
    EXPECT_EQ(Get(Share / "OtherFiles/Options.txt"), " 0 \r\n");
}

TEST(CommandLine, OnlyHelpAndVersion) {
    struct Case {
        std::vector<const char*> Args;
        int Status;
        const char* Says;  // in standard output for 0, in standard error for 2
    };
    const Case cases[] = {{{"dorvik"}, -1, ""},
                          {{"dorvik", "--help"}, 0, "--version"},
                          {{"dorvik", "--version"}, 0, "1.22"},
                          {{"dorvik", "-h"}, 2, "usage: dorvik"},
                          {{"dorvik", "--help", "--version"}, 2, "usage: dorvik"}};
    for (const Case& c : cases) {
        std::string out, err;
        EXPECT_EQ(CommandLine(static_cast<int>(c.Args.size()), c.Args.data(), out, err), c.Status) << c.Args.back();
        EXPECT_NE((c.Status == 2 ? err : out).find(c.Says), std::string::npos) << c.Args.back();
        EXPECT_TRUE((c.Status == 2 ? out : err).empty());
    }
}
