// The score server replays every uploaded game before its record enters the
// world table (dorvik-scores merge --verify), and the exchange sends the
// recordings with the table. The recordings are made by playing a scripted
// game through the game's routines; the server is the real program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <utime.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/Net.h"
#include "server/Merge.h"
#include "server/Verified.h"
#include "support/Recording.h"
#include "support/Servers.h"
#include "worldscores/FTPmod.h"
#include "worldscores/ScoreScreens.h"
#include "worldscores/TopWorldScore.h"
#include "worldscores/WatchGame.h"
#include "shell/Form1.h"

namespace fs = std::filesystem;

namespace {
std::string ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void WriteFile(const fs::path& p, const std::string& data) { std::ofstream(p, std::ios::binary) << data; }

ScoreRecord Named(ScoreRecord r, const std::string& name) {
    r.Name = name;
    return r;
}

std::string TableOf(const ScoreRecord& r) {
    ScoreRecord entries[ScoreEntries];
    entries[0] = r;
    return ScoreFileText(entries);
}

std::string Reencoded(const std::string& bytes, void (*edit)(ReplayData&)) {
    ReplayData d;
    std::string why;
    EXPECT_TRUE(DecodeReplay(bytes, d, why, false)) << why;
    edit(d);
    return EncodeReplay(d);
}

// A served folder and the shipped unit files the server replays with.
struct Server {
    TempGameDir Game;  // OtherFiles/DEFAULT.txt and LVL1.txt as the players have them
    fs::path Folder = Game.Path / "served";
    Server() {
        WriteUnitFiles(Game);
        fs::create_directories(Folder / "incoming");
    }
    // A table upload "<stem>.dvk", with a recording under the record's key when given.
    void Upload(const std::string& stem, const ScoreRecord& r, const std::string& recording = "") const {
        if (!recording.empty()) WriteFile(Folder / "incoming" / RecordingUploadName(stem, ReplayKey(r)), recording);
        WriteFile(Folder / "incoming" / (stem + ".dvk"), TableOf(r));
    }
    int Merge(const std::string& extra, const std::string& env = "") const {
        const std::string cmd = env + " '" DORVIK_SCORES_EXE "' merge '" + Folder.string() +
                                "' --today 20261208 --min-age 0 " + extra + " > /dev/null 2>&1";
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Verify() const { return "--verify --game '" + Game.Path.string() + "'"; }
    WorldTable World() const {
        WorldTable t;
        EXPECT_TRUE(ParseWorldFile(ReadFile(Folder / "Vedov.dvk"), t));
        return t;
    }
    // The page's row of a player, or "" when none.
    std::string Row(const std::string& name) const {
        const std::string page = ReadFile(Folder / "default.htm");
        size_t at = page.find("<td class=\"name\">" + name + "</td>");
        if (at == std::string::npos) return "";
        return page.substr(page.rfind("<tr>", at), page.find("</tr>", at) - page.rfind("<tr>", at));
    }
    std::string Log() const { return ReadFile(Folder / "merge.log"); }
};

bool Marked(const std::string& row) { return row.find("&#10003;") != std::string::npos; }
}  // namespace

TEST(VerifiedScores, OnlyAGameThatReplaysToItsRecordEnters) {
    const RecordedGame& game = GenuineRecording();
    ASSERT_FALSE(game.Bytes.empty());
    ASSERT_GT(std::stoi(game.Record.Score), 0);
    Server s;
    ScoreRecord higher = game.Record;
    higher.Score = std::to_string(std::stoi(game.Record.Score) + 1000);
    higher.Score.resize(5, ' ');
    // The forgeries come first, so the genuine game is replayed after them.
    // Unit files other than the shipped ones are refused even when the change
    // (here after "END") leaves the battle as it was.
    s.Upload("0", Named(game.Record, "Mod"),
             Reencoded(game.Bytes, [](ReplayData& d) { d.UnitFiles[0].second += "HT                   1000\r\n"; }));
    s.Upload("a", Named(game.Record, "Ed"), Reencoded(game.Bytes, [](ReplayData& d) {
                 for (ReplayEvent& e : d.Events) e.Buttons &= ~ReplayMouseLeft;  // never fired
             }));
    s.Upload("b", Named(game.Record, "Vera"), Reencoded(game.Bytes, [](ReplayData& d) { d.Version = "1.21"; }));
    s.Upload("c", Named(game.Record, "Cut"), game.Bytes.substr(0, game.Bytes.size() / 2));
    // Frames far beyond the game's time would cost the server, even though the
    // replay ends when the player dies.
    s.Upload("c2", Named(game.Record, "Long"),
             Reencoded(game.Bytes, [](ReplayData& d) { d.Events.resize(d.Events.size() + 100000, d.Events.back()); }));
    s.Upload("d", Named(higher, "Sly"), game.Bytes);
    ScoreRecord another = Named(game.Record, "Nora");
    another.TimesPlayed = "7    ";  // another game: no upload has its recording
    s.Upload("e", another);
    s.Upload("f", Named(game.Record, "Ana"), game.Bytes);
    s.Upload("g", Named(game.Record, "Copy"), game.Bytes);  // Ana's public recording under another name
    ASSERT_EQ(s.Merge(s.Verify()), 0);

    const WorldTable world = s.World();
    ASSERT_EQ(world.Records.size(), 1u) << s.Log();
    EXPECT_EQ(world.Records[0].Name, "Ana");
    EXPECT_EQ(Trim(world.Records[0].Score), Trim(game.Record.Score));
    EXPECT_TRUE(Marked(s.Row("Ana")));
    // The record as the game reads it from the world table names the served recording.
    EXPECT_EQ(ReadFile(s.Folder / "replays" / (ReplayKey(world.Records[0]) + ".dvr")), game.Bytes);

    const std::string log = s.Log();
    for (auto [upload, reason] : {std::pair{"0.dvk", "unit files"},
                                  {"a.dvk", ""},
                                  {"b.dvk", "version 1.21"},
                                  {"c.dvk", "damaged"},
                                  {"c2.dvk", "more frames"},
                                  {"d.dvk", "score"},
                                  {"e.dvk", "no recording"},
                                  {"g.dvk", "under the name Ana"}}) {
        size_t at = log.find(std::string(" of ") + upload + ": ");
        ASSERT_NE(at, std::string::npos) << upload << "\n" << log;
        EXPECT_NE(log.substr(at, log.find('\n', at) - at).find(reason), std::string::npos) << log;
    }
    EXPECT_TRUE(fs::is_empty(s.Folder / "incoming"));  // the recordings went with their tables
    EXPECT_TRUE(fs::exists(s.Folder / "done" / RecordingUploadName("f", ReplayKey(game.Record))));
}

TEST(VerifiedScores, UnverifiedRecordsStayUnmarkedAndMarksSurviveACrash) {
    const RecordedGame& game = GenuineRecording();
    Server s;
    // Without --verify a record enters without a recording, unmarked.
    s.Upload("a", Named(game.Record, "Nora"));
    ASSERT_EQ(s.Merge(""), 0);
    EXPECT_EQ(s.World().Records.size(), 1u);
    EXPECT_NE(s.Row("Nora"), "");
    EXPECT_FALSE(Marked(s.Row("Nora")));

    // A verifying run that dies after writing the table is finished by the
    // next run: the mark and the served recording are there.
    s.Upload("b", Named(game.Record, "Ana"), game.Bytes);
    EXPECT_EQ(s.Merge(s.Verify(), "DORVIK_SCORES_CRASH_AT=table"), 70);
    ASSERT_EQ(s.Merge(s.Verify()), 0);
    EXPECT_TRUE(Marked(s.Row("Ana")));
    EXPECT_FALSE(Marked(s.Row("Nora")));
    EXPECT_EQ(s.World().Records.size(), 2u);
    EXPECT_TRUE(fs::exists(s.Folder / "replays" / (ReplayKey(game.Record) + ".dvr")));

    // A recording whose table never came is rejected once that table can no
    // longer be arriving; a young one waits.
    const fs::path orphan = s.Folder / "incoming" / RecordingUploadName("x", ReplayKey(game.Record));
    const fs::path young = s.Folder / "incoming" / RecordingUploadName("y", ReplayKey(game.Record));
    WriteFile(orphan, game.Bytes);
    WriteFile(young, game.Bytes);
    struct utimbuf old {
        std::time(nullptr) - OrphanRecordingSeconds, std::time(nullptr) - OrphanRecordingSeconds
    };
    utime(orphan.c_str(), &old);
    ASSERT_EQ(s.Merge(s.Verify()), 0);
    EXPECT_TRUE(fs::exists(s.Folder / "rejected" / orphan.filename()));
    EXPECT_TRUE(fs::exists(young));
    EXPECT_TRUE(Marked(s.Row("Ana")));
}

namespace {
std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
}  // namespace

// One player plays and sends, the server replays and admits the game, and a
// second game folder downloads the table, shows the game and fetches its
// recording, which plays there to the same record.
TEST(EndToEnd, AGameIsSentReplayedByTheServerAndFetchedByAnotherPlayer) {
#ifndef DORVIK_SCORES_EXE
    GTEST_SKIP() << "dorvik-scores is not built";
#else
    TempGameDir serverSide;
    const fs::path root = serverSide.Path / "ftproot", folder = root / "world scores";
    fs::create_directories(folder / "incoming");
    LocalServer ftp;
    ASSERT_TRUE(StartFtpServerWithLoginFolder(ftp, root.string(), "/world scores"));
    SetTestConnected(1);

    // The player: a game played to its end, entered in the table as "Ana".
    TempGameDir ana;
    WriteUnitFiles(ana);
    ana.Write("AtopDv118.dvk", ScoreFileText(std::vector<ScoreRecord>(ScoreEntries).data()));
    ScoreReadCounter = 0;
    PlayScriptedGameToItsEnd();
    ASSERT_EQ(EnteringName, True);
    YourNameTextInput("Ana");
    TestSetKey(DIK_RETURN, true);
    NameEntryStep();
    TestSetKey(DIK_RETURN, false);
    const ScoreRecord played = TopScores[NewEntryIndex];
    ASSERT_EQ(played.Name, "Ana");
    ASSERT_TRUE(fs::exists(ana.Path / "Replays" / (ReplayKey(played) + ".dvr")));

    ScoreServerHost = "127.0.0.1";
    ScoreServerPort = ftp.Port;
    VersionFileUrl.clear();
    SendScores = 0;
    SynchronizeScores();
    std::vector<std::string> sent = Names(folder / "incoming");
    ASSERT_EQ(sent.size(), 2u);
    const std::string table = sent[0].ends_with(".dvk") ? sent[0] : sent[1], stem = UploadStem(table);
    const std::string recording = RecordingUploadName(stem, ReplayKey(played));
    EXPECT_EQ(sent[0] == table ? sent[1] : sent[0], recording);
    const std::string log = ReadFile(ftp.Log);  // the recording is stored before its table
    ASSERT_NE(log.find(table), std::string::npos) << log;
    EXPECT_LT(log.find(recording), log.find(table));
    SynchronizeScores();  // the table again, its recording not
    EXPECT_EQ(Names(folder / "incoming").size(), 3u);

    const std::string merge = "'" DORVIK_SCORES_EXE "' merge '" + folder.string() +
                              "' --min-age 0 --today 20261208"
                              " --verify --game '" +
                              ana.Path.string() + "' > /dev/null";
    ASSERT_EQ(std::system(merge.c_str()), 0) << merge;
    // The table sent again without the recording refers to the game admitted.
    EXPECT_EQ(ReadFile(folder / "merge.log").find("rejected the record"), std::string::npos)
        << ReadFile(folder / "merge.log");

    // Another player downloads the table and sees the game, marked verified.
    TempGameDir bo;
    bo.Write("OtherFiles/Temp2.txt", "END\r\n0\r\n01.01.2026\r\n");
    ResetGameState();
    SendScores = 8;
    SynchronizeScores();
    MenuCode = "WS";
    WorldReadCounter = 0;
    WorldScoresScreen();
    const ScoreRecord shown = WorldScores[0];
    EXPECT_EQ(shown.Name, "Ana");
    EXPECT_EQ(Trim(shown.Score), Trim(played.Score));
    const std::string page = bo.Read("OtherFiles/Default.htm");
    const size_t row = page.find(">Ana</td>");
    ASSERT_NE(row, std::string::npos);
    EXPECT_NE(page.substr(row, page.find("</tr>", row) - row).find("&#10003;"), std::string::npos);

    // Its recording, named by the record as the game read it, plays to it.
    FtpSession session;
    ASSERT_TRUE(FtpConnect(session, "127.0.0.1", ftp.Port, ScoreServerUser, ScoreServerPassword));
    ASSERT_TRUE(FtpGetFile(session, "replays/" + ReplayKey(shown) + ".dvr", bo.File("watch.dvr"), false));
    FtpClose(session);
    ReplayData data;
    std::string why;
    ASSERT_TRUE(DecodeReplay(bo.Read("watch.dvr"), data, why)) << why;
    const ReplayOutcome outcome = VerifyReplay(data);
    EXPECT_TRUE(outcome.Ended);
    EXPECT_TRUE(SameGame(shown, outcome.Record, why)) << why;

    // And the other player watches it from the world table, to its end.
    UseTestClock(true, 900000);
    ASSERT_TRUE(WatchWorldEntry(WorldPick, shown)) << WorldPick.Message;
    EXPECT_EQ(ReplayState, ReplayMode::Watching);
    while (GameRunning != 0) FrameStep();
    EXPECT_EQ(ReplayState, ReplayMode::Off);
    EXPECT_EQ(StrInt(HitScore + SkillScore), Trim(shown.Score));
    EXPECT_EQ(StrInt(Kills), Trim(shown.Kills));
    UseTestClock(false);
    SetTestConnected(-1);
#endif
}
