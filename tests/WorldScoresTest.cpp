// The world table file, its screen arithmetic and the exchange against real
// local servers.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <vector>

#include "platform/Net.h"
#include "platform/Window.h"
#include "scores/ReplayFile.h"
#include "scores/ScoreFile.h"
#include "shell/GameState.h"
#include "shell/Loading.h"
#include "shell/Replay.h"
#include "support/Servers.h"
#include "support/TempDir.h"
#include "worldscores/FTPmod.h"
#include "worldscores/ScoreScreens.h"
#include "worldscores/TopWorldScore.h"

namespace {
std::string Record(const std::string& score, const std::string& name, const std::string& date) {
    std::string r = score;
    r.resize(5, ' ');
    r += "K=12  T=03:15 A=3  R=1  B=2  M=0  MH=150 MA=15  TP=4    HD=" + date + "?????????? N=" + name;
    return r;
}

void Reset() {
    ResetGameState();
    WorldReadCounter = 0;
    UploadsByAll = 0;
    LastUpdateText.clear();
    for (auto& r : WorldScores) r = ScoreRecord{};
    ScoreServerHost = "127.0.0.1";
    ScoreServerPort = 21;
    VersionFileUrl.clear();
    SendScores = 8;
}

double SecondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

std::vector<std::string> FilesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    return names;
}
}  // namespace

TEST(WorldTable, NumberCodeText) {
    EXPECT_EQ(NumberCodeText("AB", true), "65-66-");
    EXPECT_EQ(NumberCodeText("END", true), "69-78-68-");
    EXPECT_EQ(NumberCodeText("65-66-", false), "AB");
    EXPECT_EQ(NumberCodeText("1234-65-", false), "{A");  // three digits at most, the fourth taken as the "-"
    EXPECT_EQ(NumberCodeText("65-66", false), "AB");     // the last code needs no "-"
    EXPECT_EQ(NumberCodeText("0-255-256-65-", false), "\xFF" "A");  // only 1..255 are characters
    std::string line = Record("120", "Mira", "20261208");
    EXPECT_EQ(NumberCodeText(NumberCodeText(line, true), false), line);
    // Rubbish decodes to something without crashing.
    NumberCodeText("--9999-abc-1234567", false);
    NumberCodeText(std::string(20000, '7'), false);
}

TEST(WorldTable, ReadsRecordsAndTrailerOnceInTenThousandCalls) {
    TempGameDir dir;
    Reset();
    std::string file = NumberCodeText(Record("300", "Ana", "20261201"), true) + "\r\n" +
                       NumberCodeText(Record("120", "Tom", "20261120"), true) + "\r\nEND\r\n57\r\n05.12.2026\r\n";
    dir.Write("Vedov.dvk", file);
    ReadWorldFile();
    EXPECT_EQ(UploadsByAll, 57);
    EXPECT_EQ(LastUpdateText, "05.12.2026");
    EXPECT_EQ(Trim(WorldScores[0].Score), "300");
    EXPECT_EQ(WorldScores[1].Name, "Tom");
    // Not read again until the 10,001st call.
    dir.Write("Vedov.dvk", "END\r\n1\r\n01.01.2027\r\n");
    for (int i = 0; i < 9999; i++) ReadWorldFile();
    EXPECT_EQ(UploadsByAll, 57);
    ReadWorldFile();
    EXPECT_EQ(UploadsByAll, 1);
    // A count that does not fit 16 bits is no count.
    for (auto [count, kept] : {std::pair{"32768", 1}, {"-32769", 1}, {"32767", 32767}, {"-32768", -32768}}) {
        dir.Write("Vedov.dvk", std::string("END\r\n") + count + "\r\n01.01.2027\r\n");
        UploadsByAll = 1;
        WorldReadCounter = 0;
        ReadWorldFile();
        EXPECT_EQ(UploadsByAll, kept) << count;
    }
}

TEST(WorldTable, AFullTableStillReadsItsTrailer) {
    TempGameDir dir;
    Reset();
    std::string file;
    for (int i = 0; i <= 500; i++)
        file += NumberCodeText(Record(std::to_string(9000 - i), "P", "20261205"), true) + "\r\n";
    dir.Write("Vedov.dvk", file + "END\r\n1234\r\n05.12.2026\r\n");
    ReadWorldFile();
    EXPECT_EQ(Trim(WorldScores[500].Score), "8500");
    EXPECT_EQ(UploadsByAll, 1234);
    EXPECT_EQ(LastUpdateText, "05.12.2026");
    // One record more: the 502nd line stands where the count would.
    Reset();
    file += NumberCodeText(Record("1", "Q", "20261205"), true) + "\r\n";
    dir.Write("Vedov.dvk", file + "END\r\n1234\r\n05.12.2026\r\n");
    ReadWorldFile();
    EXPECT_EQ(Trim(WorldScores[500].Score), "8500");
    EXPECT_EQ(UploadsByAll, 0);
    EXPECT_EQ(LastUpdateText, "END");
}

TEST(WorldTable, MissingOrCutFileIsReplacedByTheTemplate) {
    TempGameDir dir;
    Reset();
    dir.Write("OtherFiles/Temp2.txt", "END\r\n0\r\n01.01.2026\r\n");
    ReadWorldFile();
    EXPECT_EQ(LastUpdateText, "01.01.2026");
    EXPECT_EQ(dir.Read("Vedov.dvk"), "END\r\n0\r\n01.01.2026\r\n");
    // A file that ends before "END" is damaged too.
    Reset();
    dir.Write("Vedov.dvk", NumberCodeText(Record("5", "Cut", "20260101"), true) + "\r\n");
    ReadWorldFile();
    EXPECT_EQ(dir.Read("Vedov.dvk"), "END\r\n0\r\n01.01.2026\r\n");
}

TEST(Exchange, VersionCheckComparesAsText) {
    TempGameDir dir;
    Reset();
    LocalServer http;
    std::filesystem::path web = dir.Path / "web";
    std::filesystem::create_directories(web);
    ASSERT_TRUE(StartHttpServer(http, web.string()));
    VersionFileUrl = "http://127.0.0.1:" + std::to_string(http.Port) + "/NewVer.txt";
    int boxes = TestMessageBoxCount();
    // An error page is no version and must not announce one.
    for (auto [text, newer] :
         {std::pair{"1.22 stable", false}, {"1.2 beta", false}, {"<!DOCTYPE html>", false}, {"1.3", true},
          {"1.30", true}, {"1.29", true}}) {
        std::ofstream(web / "NewVer.txt") << text << "\r\n";
        EXPECT_EQ(CheckNewVersion(), newer) << text;
    }
    EXPECT_EQ(TestMessageBoxCount(), boxes + 6);  // the notice and the question, for each newer one
    EXPECT_NE(TestLastMessageBoxText().find("download it now"), std::string::npos);
    // A failed download uses the copy already on disk.
    VersionFileUrl = "http://127.0.0.1:" + std::to_string(http.Port) + "/missing.txt";
    EXPECT_TRUE(CheckNewVersion());
    // An empty file holds no version at all.
    std::ofstream(web / "empty.txt").close();
    VersionFileUrl = "http://127.0.0.1:" + std::to_string(http.Port) + "/empty.txt";
    EXPECT_FALSE(CheckNewVersion());
}

TEST(Exchange, DownloadsTheWorldTableOverFtp) {
    TempGameDir dir;
    Reset();
    CreateSurface(Field, 300, 300);
    std::filesystem::path server = dir.Path / "server";
    std::filesystem::create_directories(server);
    std::string table = NumberCodeText(Record("999", "Far", "20261207"), true) + "\r\nEND\r\n3\r\n07.12.2026\r\n";
    std::ofstream(server / "Vedov.dvk", std::ios::binary) << table;
    std::ofstream(server / "default.htm") << "<html>scores</html>\r\n";
    LocalServer ftp, http;
    ASSERT_TRUE(StartFtpServer(ftp, server.string()));
    ASSERT_TRUE(StartHttpServer(http, server.string()));
    std::ofstream(server / "NewVer.txt") << "1.22\r\n";
    VersionFileUrl = "http://127.0.0.1:" + std::to_string(http.Port) + "/NewVer.txt";
    ScoreServerPort = ftp.Port;
    SynchronizeScores();
    EXPECT_EQ(dir.Read("Vedov.dvk"), table);
    EXPECT_NE(dir.Read("OtherFiles/Default.htm").find("scores"), std::string::npos);
    EXPECT_EQ(LoadingText, "Downloading..");
    EXPECT_EQ(LoadingSteps(), 6);  // the bar moves six times through an exchange

    // An unreachable server keeps the table the player had.
    ScoreServerPort = 1;
    dir.Write("Vedov.dvk", "END\r\n9\r\n01.02.2026\r\n");
    SynchronizeScores();
    EXPECT_EQ(dir.Read("Vedov.dvk"), "END\r\n9\r\n01.02.2026\r\n");
}

TEST(Exchange, ConnectionCheck) {
    SetTestConnected(0);
    EXPECT_EQ(CheckConnection(), 0);
    SetTestConnected(1);
    EXPECT_EQ(CheckConnection(), -1);
    SetTestConnected(-1);
}

TEST(Exchange, AServerThatNeverAnswersCostsUnderTwentySeconds) {
    TempGameDir dir;
    Reset();
    SilentServer silent;  // both the version file's host and the FTP server
    ScoreServerPort = silent.Port;
    VersionFileUrl = "http://127.0.0.1:" + std::to_string(silent.Port) + "/NewVer.txt";
    SendScores = 0;
    dir.Write("AtopDv118.dvk", "table");
    dir.Write("Vedov.dvk", "END\r\n9\r\n01.02.2026\r\n");
    auto t0 = std::chrono::steady_clock::now();
    SynchronizeScores();
    EXPECT_LT(SecondsSince(t0), 20.0);
    EXPECT_TRUE(silent.Contacted());
    EXPECT_EQ(dir.Read("Vedov.dvk"), "END\r\n9\r\n01.02.2026\r\n");
}

TEST(Exchange, ANewerVersionStopsBeforeTheScoreServerIsContacted) {
    TempGameDir dir;
    Reset();
    std::filesystem::create_directories(dir.Path / "web");
    std::ofstream(dir.Path / "web" / "NewVer.txt") << "1.23\r\n";
    LocalServer http;
    ASSERT_TRUE(StartHttpServer(http, (dir.Path / "web").string()));
    SilentServer ftp;
    ScoreServerPort = ftp.Port;
    VersionFileUrl = "http://127.0.0.1:" + std::to_string(http.Port) + "/NewVer.txt";
    SendScores = 0;
    SynchronizeScores();
    EXPECT_FALSE(ftp.Contacted());
    EXPECT_EQ(LoadingText, "Connecting for download..");
    EXPECT_EQ(LoadingSteps(), 1);
}

TEST(Exchange, AHugeWorldTableIsRefusedAndTheOldOneKept) {
    TempGameDir dir;
    Reset();
    std::filesystem::path server = dir.Path / "server";
    std::filesystem::create_directories(server);
    std::ofstream(server / "Vedov.dvk").close();
    std::filesystem::resize_file(server / "Vedov.dvk", 100u << 20);  // sparse: made at once
    std::ofstream(server / "default.htm") << "<html>ok</html>";
    LocalServer ftp;
    ASSERT_TRUE(StartFtpServer(ftp, server.string()));
    ScoreServerPort = ftp.Port;
    dir.Write("Vedov.dvk", "END\r\n9\r\n01.02.2026\r\n");
    auto t0 = std::chrono::steady_clock::now();
    SynchronizeScores();
    EXPECT_LT(SecondsSince(t0), 20.0);
    EXPECT_EQ(dir.Read("Vedov.dvk"), "END\r\n9\r\n01.02.2026\r\n");
    EXPECT_EQ(dir.Read("OtherFiles/Default.htm"), "<html>ok</html>");  // the session itself worked
}

TEST(Exchange, SendingPutsTheTableIntoIncomingInOneSession) {
    TempGameDir dir;
    Reset();
    // The account logs in below the root, into a folder with a blank and a "#".
    std::filesystem::path root = dir.Path / "ftproot", login = root / "dorvik scores #1";
    std::filesystem::create_directories(login / "incoming");
    std::string table = NumberCodeText(Record("777", "Near", "20261208"), true) + "\r\nEND\r\n4\r\n08.12.2026\r\n";
    std::ofstream(login / "Vedov.dvk", std::ios::binary) << table;
    LocalServer ftp;
    ASSERT_TRUE(StartFtpServerWithLoginFolder(ftp, root.string(), "/dorvik scores #1"));
    ScoreServerPort = ftp.Port;
    std::string local("\xA1\x00\r\nscrambled\r\r\nEND\r\n", 20);  // sent byte for byte
    dir.Write("AtopDv118.dvk", local);
    SendScores = 0;
    SynchronizeScores();
    EXPECT_EQ(LoadingSteps(), 7);  // one more for sending
    std::vector<std::string> sent = FilesIn(login / "incoming");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(std::regex_match(sent[0], std::regex(R"(\d{8}-\d{6}-[0-9a-f]{16}\.dvk)"))) << sent[0];
    std::ifstream in(login / "incoming" / sent[0], std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), local);
    EXPECT_EQ(dir.Read("Vedov.dvk"), table);  // the login folder's, the root has none
    std::ifstream log(ftp.Log);
    std::string text(std::istreambuf_iterator<char>(log), {});
    size_t logins = 0;
    for (size_t at = 0; (at = text.find("logged in", at)) != std::string::npos; at++) logins++;
    EXPECT_EQ(logins, 1u);

    // Switched off, nothing is sent.
    SendScores = 8;
    SynchronizeScores();
    EXPECT_EQ(FilesIn(login / "incoming").size(), 1u);
    EXPECT_NE(UploadName(), UploadName());

    // A table of 64 KiB is sent; one byte more is no table of ours.
    SendScores = 0;
    for (size_t size : {size_t{64 * 1024 + 1}, size_t{64 * 1024}}) {
        dir.Write("AtopDv118.dvk", std::string(size, 'x'));
        SynchronizeScores();
    }
    EXPECT_EQ(FilesIn(login / "incoming").size(), 2u);

    // The recordings of the ten shown entries go along; the overflow entry's does not.
    ScoreRecord entries[ScoreEntries];
    for (int i = 0; i < ScoreEntries; i++) entries[i] = ParseRecordLine(Record(std::to_string(900 - i), "P", "20261208"));
    dir.Write("AtopDv118.dvk", ScoreFileText(entries));
    std::filesystem::create_directories(ReplayFolderPath());
    for (int i : {9, 10}) std::ofstream(ReplayFilePath(entries[i])) << "game " << i;
    std::ofstream(ReplayFilePath(entries[7])).flush();  // an empty file is no recording
    SendScores = 0;
    auto sentNow = [&login] {  // the recordings one exchange sends
        for (const std::string& f : FilesIn(login / "incoming")) std::filesystem::remove(login / "incoming" / f);
        SynchronizeScores();
        std::vector<std::string> recordings;
        for (const std::string& f : FilesIn(login / "incoming"))
            if (f.ends_with(".dvr")) recordings.push_back(f);
        return recordings;
    };
    std::vector<std::string> recordings = sentNow();
    ASSERT_EQ(recordings.size(), 1u);
    EXPECT_NE(recordings[0].find(ReplayKey(entries[9])), std::string::npos) << recordings[0];
    // Each goes once: the next exchange sends only a new one, the one after none.
    std::ofstream(ReplayFilePath(entries[8])) << "game 8";
    recordings = sentNow();
    ASSERT_EQ(recordings.size(), 1u);
    EXPECT_NE(recordings[0].find(ReplayKey(entries[8])), std::string::npos) << recordings[0];
    EXPECT_TRUE(sentNow().empty());
}

namespace {
// One game's folder: its own local table, its own Server.txt.
struct Game {
    TempGameDir Dir;
    explicit Game(const std::string& name, const std::string& score, const std::string& date, int port) {
        Dir.Write("OtherFiles/Temp2.txt", "END\r\n0\r\n01.01.2026\r\n");
        Dir.Write("OtherFiles/Server.txt", "FTP HOST            =127.0.0.1\r\nFTP PORT            =" +
                                               std::to_string(port) + "\r\nSEND MY SCORES      =8\r\nEND\r\n");
        ScoreRecord table[ScoreEntries];
        ScoreRecord& r = table[0];
        r = {score, "12 ", "03:15", "3 ", "1 ", "2 ", "0 ", "150", "30 ", "4    ", date, name};
        r.Score.resize(5, ' ');
        Dir.Write("AtopDv118.dvk", ScoreFileText(table));
    }
    // A pass of the world screen with a click at (x, y), as the player makes it.
    void Click(int x, int y) {
        SetAppPath(Dir.Path.string());
        CursorX = x, CursorY = y, MouseLeft = -1;
        WorldScoresScreen();
        MouseLeft = 0;
    }
    void Start() {
        SetAppPath(Dir.Path.string());
        ResetGameState();
        MenuCode = "WS";
        WorldReadCounter = 0;
        for (auto& r : WorldScores) r = ScoreRecord{};
        for (auto& m : WorldMarks) m = 0;
        LoadServerFile();
    }
};

[[maybe_unused]] std::string Today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char d[16];
    std::strftime(d, sizeof d, "%Y%m%d", &local);
    return d;
}
}  // namespace

// Two players send their tables to a real FTP server, the server's merge
// runs, and each game then shows both records as new.
TEST(EndToEnd, TwoPlayersSendMergeAndSeeEachOther) {
#ifndef DORVIK_SCORES_EXE
    GTEST_SKIP() << "dorvik-scores is not built";
#else
    TempGameDir server;
    // The account logs in below the FTP root: "Vedov.dvk" and "/Vedov.dvk" differ.
    std::filesystem::path root = server.Path / "ftproot", folder = root / "world scores #1";
    std::filesystem::create_directories(folder / "incoming");
    LocalServer ftp;
    ASSERT_TRUE(StartFtpServerWithLoginFolder(ftp, root.string(), "/world scores #1"));
    CreateSurface(Field, 300, 300);
    CreateSurface(StatusField, 300, 78);
    SetTestConnected(1);
    Game ana("Ana", "3000", Today(), ftp.Port), bo("Bo", "2000", Today(), ftp.Port);

    for (Game* g : {&ana, &bo}) {
        g->Start();
        g->Click(185, 230);  // "SEND MY SCORES" on
        ASSERT_EQ(SendScores, 0);
        g->Click(130, 266);  // "SYNCHRONIZE SCORES"
    }
    ASSERT_EQ(FilesIn(folder / "incoming").size(), 2u);
    const std::string merge = std::string("'") + DORVIK_SCORES_EXE + "' merge '" + folder.string() +
                              "' --min-age 0 --today " + Today() + " > /dev/null";
    ASSERT_EQ(std::system(merge.c_str()), 0) << merge;

    for (Game* g : {&ana, &bo}) {
        g->Start();
        EXPECT_EQ(SendScores, 0);  // the switch was kept in Server.txt
        g->Click(185, 230);        // off: this time only download
        g->Click(130, 266);
        g->Click(0, 0);  // the next pass shows the new table
        EXPECT_EQ(Trim(WorldScores[0].Name) + " " + Trim(WorldScores[0].Score), "Ana 3000");
        EXPECT_EQ(Trim(WorldScores[1].Name) + " " + Trim(WorldScores[1].Score), "Bo 2000");
        EXPECT_EQ(WorldMarks[0], 1);
        EXPECT_EQ(WorldMarks[1], 1);
    }
    EXPECT_EQ(FilesIn(folder / "incoming").size(), 0u);  // nothing sent the second time
    SetTestConnected(-1);
#endif
}
