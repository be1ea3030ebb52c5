// The world table file, its screen arithmetic and the exchange against real
// local servers.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <vector>

#include "platform/Net.h"
#include "platform/Window.h"
#include "shell/GameState.h"
#include "support/Servers.h"
#include "support/TempDir.h"
#include "worldscores/FTPmod.h"
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
}

TEST(WorldTable, AFullTableStillReadsItsTrailer) {
    TempGameDir dir;
    Reset();
    std::string file;
    for (int i = 0; i <= 500; i++) file += NumberCodeText(Record(std::to_string(9000 - i), "P", "20261205"), true) + "\r\n";
    dir.Write("Vedov.dvk", file + "END\r\n1234\r\n05.12.2026\r\n");
    ReadWorldFile();
    EXPECT_EQ(Trim(WorldScores[500].Score), "8500");
    EXPECT_EQ(UploadsByAll, 1234);
    EXPECT_EQ(LastUpdateText, "05.12.2026");
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
    for (auto [text, newer] : {std::pair{"1.22 stable", false}, {"1.2 beta", false}, {"1.3", true}}) {
        std::ofstream(web / "NewVer.txt") << text << "\r\n";
        EXPECT_EQ(CheckNewVersion(), newer) << text;
    }
    EXPECT_EQ(TestMessageBoxCount(), boxes + 2);  // the notice and the question, once
    EXPECT_NE(TestLastMessageBoxText().find("download it now"), std::string::npos);
    // A failed download uses the copy already on disk.
    VersionFileUrl = "http://127.0.0.1:" + std::to_string(http.Port) + "/missing.txt";
    EXPECT_TRUE(CheckNewVersion());
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
}
