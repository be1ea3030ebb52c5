// The score server file: what it names, and what it refuses to name.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"
#include "worldscores/FTPmod.h"
#include "worldscores/ServerFile.h"

namespace {
std::string Line(const std::string& key, const std::string& value) {
    std::string l = key;
    l.resize(20, ' ');
    return l + "=" + value + "\r\n";
}

std::string FileWith(const std::string& key, const std::string& value) {
    return Line("FTP HOST", "scores.community-server.example.org") + Line(key, value) + "END\r\n";
}
}  // namespace

TEST(ServerFile, ShippedFileNamesNoServerAndSendsNothing) {
    ScoreServerSettings shipped = ParseServerFile(ServerFileText(ScoreServerSettings{}));
    EXPECT_EQ(shipped.Host, "");
    EXPECT_EQ(shipped.User, "trumol4");
    EXPECT_EQ(shipped.Password, "zededor");
    EXPECT_EQ(shipped.VersionUrl, "");
    EXPECT_EQ(shipped.SendScores, 8);
    EXPECT_EQ(ParseServerFile("").Host, "");
}

TEST(ServerFile, ReadsLongValuesPastTheUnitFileColumns) {
    std::string text = Line("FTP HOST", "scores.community-server.example.org") + Line("FTP PORT", "2121") +
                       Line("FTP ACCOUNT", "dorvik player") + Line("FTP PASSWORD", "p@ss:word#1") +
                       Line("VERSION FILE URL", "https://www.community-server.example.org/dorvik/NewVer.txt") +
                       Line("SEND MY SCORES", "0") + "END\r\n" + Line("FTP HOST", "after.end.example");
    ScoreServerSettings s = ParseServerFile(text);
    EXPECT_EQ(s.Host, "scores.community-server.example.org");
    EXPECT_EQ(s.Port, 2121);
    EXPECT_EQ(s.User, "dorvik player");
    EXPECT_EQ(s.Password, "p@ss:word#1");
    EXPECT_EQ(s.VersionUrl, "https://www.community-server.example.org/dorvik/NewVer.txt");
    EXPECT_EQ(s.SendScores, 0);
    EXPECT_EQ(ParseServerFile(Line("FTP HOST", "[::1]") + "END").Host, "[::1]");
    EXPECT_EQ(ParseServerFile(Line("FTP HOST", "[::]") + "END").Host, "[::]");  // the shortest literal
    EXPECT_EQ(ParseServerFile(Line("FTP HOST", "[fe80::af09:F]") + "END").Host, "[fe80::af09:F]");
    EXPECT_EQ(ParseServerFile(Line("FTP HOST", "[fe80::g]") + "END").Host, "");
    // Every letter and digit at the ends of its range.
    for (const char* host : {"[A0:af:F9::1]", "az.AZ-09"}) EXPECT_EQ(ParseServerFile(Line("FTP HOST", host)).Host, host);
}

TEST(ServerFile, HostileValuesLeaveNoServerSet) {
    for (const char* host : {"evil.example/x", "user@evil.example", "a b.example", "-x.example", ".x.example", "x.example-", "a..b", "[::1",
                             "host.example:21", "\x7f"})
        EXPECT_EQ(ParseServerFile(FileWith("FTP HOST", host)).Host, "") << host;
    EXPECT_EQ(ParseServerFile(FileWith("FTP HOST", std::string(300, 'a'))).Host, "");  // never cut to fit
    for (const char* port : {"0", "65536", "99999999999", "21x", "-21", "2 1", "000021"}) {
        ScoreServerSettings s = ParseServerFile(FileWith("FTP PORT", port));
        EXPECT_EQ(s.Host, "") << port;
        EXPECT_EQ(s.Port, 21) << port;
    }
    // A CR ends the line, so no FTP command can ride along in the account;
    // other control characters make the account unusable.
    EXPECT_EQ(ParseServerFile(FileWith("FTP ACCOUNT", "x\rDELE Vedov.dvk")).User, "x");
    EXPECT_EQ(ParseServerFile(FileWith("FTP ACCOUNT", "x\ty")).Host, "");
    // Values up to 255 characters are taken whole; longer ones are refused, never cut.
    EXPECT_EQ(ParseServerFile(FileWith("FTP ACCOUNT", std::string(255, 'u'))).User, std::string(255, 'u'));
    EXPECT_EQ(ParseServerFile(FileWith("FTP ACCOUNT", std::string(256, 'u'))).Host, "");
    EXPECT_EQ(ParseServerFile(FileWith("FTP PASSWORD", std::string("pw\0x", 4))).Host, "");
    EXPECT_EQ(ParseServerFile(FileWith("FTP PASSWORD", "pw\tx")).Host, "");
    EXPECT_EQ(ParseServerFile(FileWith("FTP PORT", "65535")).Port, 65535);
    EXPECT_EQ(ParseServerFile(FileWith("FTP PORT", "1")).Port, 1);
}

TEST(ServerFile, OnlyPlainWebAddressesAreAsked) {
    for (const char* url : {"file:///etc/passwd", "ftp://a.example/v.txt", "http://", "http://a b.example/",
                            "http://user:pw@evil.example/", "gopher://a.example", "http://a.example:0/",
                            "http://a.example:x/", "javascript:alert(1)", "http://\xC3\xA9.example/"})
        EXPECT_EQ(ParseServerFile(FileWith("VERSION FILE URL", url)).VersionUrl, "") << url;
    EXPECT_EQ(ParseServerFile(FileWith("VERSION FILE URL", "HTTP://a.example:8080/v?x=1")).VersionUrl,
              "HTTP://a.example:8080/v?x=1");
    EXPECT_EQ(ParseServerFile(FileWith("VERSION FILE URL", "https://[::1]:8443/v")).VersionUrl,
              "https://[::1]:8443/v");
    // A bad address costs only the version check, not the server.
    EXPECT_NE(ParseServerFile(FileWith("VERSION FILE URL", "file:///x")).Host, "");
}

TEST(ServerFile, TheSendSwitchChangesOnlyItsOwnLine) {
    std::string text = "# my server\r\n" + Line("FTP HOST", "my.example") + Line("SEND MY SCORES", "8") +
                       Line("SEND MY SCORES", "8") + "END\r\nnotes after the end\r\n";
    std::string on = ServerFileWithSend(text, 0);
    EXPECT_EQ(on, "# my server\r\n" + Line("FTP HOST", "my.example") + Line("SEND MY SCORES", "0") +
                      "END\r\nnotes after the end\r\n");
    EXPECT_EQ(ParseServerFile(on).SendScores, 0);
    EXPECT_EQ(ParseServerFile(ServerFileWithSend(on, 8)).SendScores, 8);
    // A file without the line, or without "END", gets both.
    EXPECT_EQ(ServerFileWithSend(Line("FTP HOST", "my.example"), 0),
              Line("FTP HOST", "my.example") + Line("SEND MY SCORES", "0") + "END\r\n");
    EXPECT_EQ(ParseServerFile(ServerFileWithSend("", 0)).SendScores, 0);
    // A hand-set line a column further in is the same switch.
    EXPECT_EQ(ServerFileWithSend(" SEND MY SCORES     =8\r\nEND\r\n", 0), Line("SEND MY SCORES", "0") + "END\r\n");
}

// What the game starts with is what the file in the player's folder names.
TEST(ServerFile, StartUpTakesEveryValueFromTheFile) {
    TempGameDir dir;
    dir.Write("OtherFiles/Server.txt", Line("FTP HOST", "scores.example") + Line("FTP PORT", "2121") +
                                           Line("FTP ACCOUNT", "ana") + Line("FTP PASSWORD", "s3cret") +
                                           Line("VERSION FILE URL", "http://scores.example/NewVer.txt") +
                                           Line("SEND MY SCORES", "0") + "END\r\n");
    LoadServerFile();
    EXPECT_EQ(ScoreServerHost, "scores.example");
    EXPECT_EQ(ScoreServerPort, 2121);
    EXPECT_EQ(ScoreServerUser, "ana");
    EXPECT_EQ(ScoreServerPassword, "s3cret");
    EXPECT_EQ(VersionFileUrl, "http://scores.example/NewVer.txt");
    EXPECT_EQ(SendScores, 0);
    std::filesystem::remove(dir.File("OtherFiles/Server.txt"));
    LoadServerFile();  // no file: the shipped defaults
    EXPECT_EQ(ScoreServerHost, "");
    EXPECT_EQ(ScoreServerPassword, "zededor");
    EXPECT_EQ(SendScores, 8);
}
