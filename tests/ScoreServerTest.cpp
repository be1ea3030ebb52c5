// The score server's tool: what it accepts from players, how it merges, and
// that a crash at any point loses nothing. Uploads are made by the game's own
// score-file writer and the output is read by the game's own world reader.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include "scores/ScoreFile.h"
#include "server/Merge.h"
#include "server/Upload.h"
#include "support/TempDir.h"
#include "worldscores/TopWorldScore.h"

namespace fs = std::filesystem;

namespace {
ScoreRecord Rec(int score, const std::string& name, const std::string& date = "20261208") {
    std::string s = std::to_string(score);
    s.resize(5, ' ');
    return ParseRecordLine(s + "K=12  T=03:15 A=3  R=1  B=2  M=0  MH=150 MA=15  TP=4    HD=" + date +
                           "?????????? N=" + name);
}

// A local score table as the game writes it; unused entries stay empty.
std::string Upload(std::vector<ScoreRecord> filled) {
    ScoreRecord entries[ScoreEntries];
    for (size_t i = 0; i < filled.size(); i++) entries[i] = filled[i];
    return ScoreFileText(entries);
}

std::string Why(const std::string& data) {
    std::vector<ScoreRecord> out;
    return CheckUpload(data, "20261209", out);
}

struct ServerDir {
    fs::path Path;
    ServerDir() {
        char tmpl[] = "/tmp/dorvik-server-XXXXXX";
        Path = mkdtemp(tmpl);
        fs::create_directories(Path / "incoming");
    }
    ~ServerDir() { fs::remove_all(Path); }
    void Put(const std::string& name, const std::string& data) const {
        std::ofstream(Path / "incoming" / name, std::ios::binary) << data;
    }
    std::string Read(const std::string& rel) const {
        std::ifstream f(Path / rel, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    std::vector<std::string> List(const std::string& sub) const {
        std::vector<std::string> names;
        for (auto& e : fs::directory_iterator(Path / sub)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Runs the real program; exit status, output in out.
    int Merge(const std::string& extra = "", std::string* out = nullptr, const std::string& env = "") const {
        std::string cmd =
            env + " " DORVIK_SCORES_EXE " merge " + Path.string() + " --today 20261208 --min-age 0 " + extra + " 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        std::string text;
        char buf[512];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
        int status = pclose(p);
        if (out) *out = text;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

// The world table as the game reads it.
void GameReads(const std::string& worldFile) {
    TempGameDir game;
    game.Write("Vedov.dvk", worldFile);
    WorldReadCounter = 0;
    UploadsByAll = -1;
    LastUpdateText.clear();
    for (auto& r : WorldScores) r = ScoreRecord{};
    ReadWorldFile();
}
}  // namespace

TEST(ScoreUpload, TablesAsTheGameWritesThemAreAccepted) {
    std::vector<ScoreRecord> out;
    std::string name36(36, 'x');
    EXPECT_EQ(CheckUpload(Upload({Rec(900, "Mira"), Rec(120, "<b>x</b>"), Rec(7, name36)}), "20261209", out), "");
    ASSERT_EQ(out.size(), 3u);  // empty entries are no records
    EXPECT_EQ(out[0].Score, "900  ");
    EXPECT_EQ(out[2].Name, std::string(35, 'x'));  // the game's reader keeps 35

    // The clean template: eleven blank 120-character records.
    std::string blank(85, ' ');
    for (auto [col, key] : std::vector<std::pair<int, std::string>>{{6, "K="},
                                                                    {11, " T="},
                                                                    {19, " A="},
                                                                    {24, " R="},
                                                                    {29, " B="},
                                                                    {34, " M="},
                                                                    {39, " MH="},
                                                                    {46, " MA="},
                                                                    {53, " TP="},
                                                                    {62, "HD="},
                                                                    {73, "??????????"},
                                                                    {83, " N="}})
        blank.replace(col - 1, key.size(), key);
    std::string temp;
    for (int i = 0; i < 11; i++) temp += ScrambleText(blank + std::string(35, ' '), ScoreMask) + "\r\n";
    out.clear();
    EXPECT_EQ(CheckUpload(temp + "END\r\n", "20261209", out), "");
    EXPECT_TRUE(out.empty());
    // Entries the game never read are written short, and read and written
    // again as scrambles of the keys: still empty entries, not damage.
    ScoreRecord entries[ScoreEntries];
    ParseScoreFile(ScoreFileText(entries), entries);
    entries[0] = Rec(300, "Ann");
    EXPECT_EQ(CheckUpload(ScoreFileText(entries), "20261209", out), "");
    EXPECT_EQ(out.size(), 1u);
}

TEST(ScoreUpload, AnythingElseIsRejectedWithAReason) {
    std::string good = Upload({Rec(900, "Mira")});
    auto withRecord = [](const std::string& line) {
        ScoreRecord entries[ScoreEntries];
        std::string text = ScoreFileText(entries);
        return ScrambleText(line, ScoreMask) + text.substr(text.find("\r\n"));
    };
    std::string line = RecordLine(Rec(900, "Mira"));
    auto edit = [&](size_t col, const std::string& with) {
        return withRecord(line.substr(0, col - 1) + with + line.substr(col - 1 + with.size()));
    };
    const std::pair<std::string, std::string> cases[] = {
        {"empty", ""},
        {"no END", good.substr(0, good.size() - 5)},
        {"data after END", good + "x"},
        {"LF line ends",
         [&] {
             std::string s;
             for (char c : good)
                 if (c != '\r') s += c;
             return s;
         }()},
        {"NUL in a record", good.substr(0, 3) + std::string(1, '\0') + good.substr(4)},
        {"ten records", good.substr(good.find("\r\n") + 2)},
        {"twelve records", good.substr(0, good.find("\r\n") + 2) + good},
        {"unscrambled", ScrambleText(good.substr(0, good.find("\r\n")), ScoreMask) + good.substr(good.find("\r\n"))},
        {"too large", good + std::string(70000, 'x')},
        {"score of six digits", withRecord("123456" + line.substr(5))},
        {"score 0", edit(1, "0    ")},
        {"negative kills", edit(8, "-1 ")},
        {"leading zero", edit(8, "012")},
        {"blank inside a number", edit(1, "9 9  ")},
        {"seconds past 59", edit(14, "03:75")},
        {"no such day", withRecord(RecordLine(Rec(900, "Mira", "20260230")))},
        {"dated after tomorrow", withRecord(RecordLine(Rec(900, "Mira", "20261210")))},
        {"moved key", edit(62, "HX=")},
        {"no name", withRecord(RecordLine(Rec(900, "")))},
        {"control character in the name", withRecord(RecordLine(Rec(900, "Mi\tra")))},
        {"name longer than the game keeps", withRecord(line + std::string(33, 'x'))},  // 37
    };
    EXPECT_EQ(Why(good), "");
    EXPECT_EQ(Why(withRecord(RecordLine(Rec(900, "Mira", "20261209")))), "");  // a day ahead: time zones
    for (auto& [what, data] : cases) {
        std::vector<ScoreRecord> out{Rec(1, "kept")};
        EXPECT_NE(CheckUpload(data, "20261209", out), "") << what;
        EXPECT_EQ(out.size(), 1u) << what;
    }
}

TEST(ScoreMerge, BestFiveHundredOnePerPlayerDateAndScore) {
    std::vector<ScoreRecord> table = {Rec(500, "Old"), Rec(300, "Ann")};
    MergeRecords(table, {Rec(300, "New"), Rec(500, "Old"), Rec(500, "Old", "20261207"), Rec(900, "Top")});
    std::vector<std::string> names;
    for (auto& r : table) names.push_back(r.Name + "/" + r.Date.substr(6));
    // Equal scores keep their order of arrival; the same game counts once.
    EXPECT_EQ(names, (std::vector<std::string>{"Top/08", "Old/08", "Old/07", "Ann/08", "New/08"}));

    // Many records (pruned as they come) give what one sort of all gives.
    std::vector<ScoreRecord> many;
    for (int i = 0; i < 20000; i++) many.push_back(Rec((i * 7919) % 5000 + 1, "P" + std::to_string(i % 3000)));
    table.clear();
    MergeRecords(table, many);
    ASSERT_EQ(table.size(), WorldKeep);
    for (size_t i = 1; i < table.size(); i++) ASSERT_GE(std::stoi(table[i - 1].Score), std::stoi(table[i].Score));
    // Four records of each score 1..5000, two of them the same player: three
    // of each count, so 166 scores and two of the 167th fill the table.
    EXPECT_EQ(std::count_if(table.begin(), table.end(), [](auto& r) { return r.Score == "5000 "; }), 3);
    EXPECT_EQ(table.back().Score, "4834 ");
}

TEST(ScoreServer, MergesUploadsIntoATableTheGameReads) {
    ServerDir s;
    s.Put("20261208-1.dvk", Upload({Rec(900, "Mira"), Rec(120, "<script>alert(1)</script>")}));
    s.Put("20261208-2.dvk", Upload({Rec(950, "Zo\xEB"), Rec(900, "Mira")}));  // Mira's game again
    s.Put("20261208-3.dvk",
          "\x7F"
          "ELF\x01\x02 binary");
    std::string out;
    ASSERT_EQ(s.Merge("", &out), 0) << out;
    EXPECT_EQ(s.List("done"), (std::vector<std::string>{"20261208-1.dvk", "20261208-2.dvk"}));
    EXPECT_EQ(s.List("rejected"), (std::vector<std::string>{"20261208-3.dvk"}));
    EXPECT_TRUE(s.List("incoming").empty());
    EXPECT_NE(s.Read("merge.log").find("rejected 20261208-3.dvk: line 1 does not end with CR LF"), std::string::npos);

    GameReads(s.Read("Vedov.dvk"));
    EXPECT_EQ(UploadsByAll, 2);
    EXPECT_EQ(LastUpdateText, "08.12.2026");
    EXPECT_EQ(WorldScores[0].Name, "Zo\xEB");
    EXPECT_EQ(WorldScores[1].Name, "Mira");
    EXPECT_EQ(WorldScores[2].Name, "<script>alert(1)</script>");
    EXPECT_EQ(WorldScores[3].Score, "");

    std::string page = s.Read("default.htm");
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("Zo\xC3\xAB"), std::string::npos);  // UTF-8

    // A run with nothing new changes nothing; new uploads add to the count.
    std::string before = s.Read("Vedov.dvk");
    ASSERT_EQ(s.Merge(), 0);
    EXPECT_EQ(s.Read("Vedov.dvk"), before);
    s.Put("20261209-1.dvk", Upload({Rec(100, "Late")}));
    ASSERT_EQ(s.Merge("--today 20261209"), 0);
    GameReads(s.Read("Vedov.dvk"));
    EXPECT_EQ(UploadsByAll, 3);
    EXPECT_EQ(LastUpdateText, "09.12.2026");
    EXPECT_EQ(WorldScores[3].Name, "Late");
}

TEST(ScoreServer, AnUnreadableUploadCountCountsFromNothing) {
    WorldTable t;
    ASSERT_TRUE(ParseWorldFile("END\r\nmany\r\n01.12.2026\r\n", t));
    EXPECT_EQ(t.Uploads, 0);
    ASSERT_TRUE(ParseWorldFile("END\r\n41  \r\n01.12.2026\r\n", t));  // padded, as the game writes it
    EXPECT_EQ(t.Uploads, 41);
    EXPECT_EQ(t.LastUpdate, "01.12.2026");
}

TEST(ScoreServer, ACrashAnywhereIsFinishedByTheNextRun) {
    auto prepare = [](const ServerDir& s) {
        WorldTable full;
        full.Uploads = 40;
        full.LastUpdate = "01.12.2026";
        for (int i = 0; i < 500; i++) full.Records.push_back(Rec(1500 - i, "Old" + std::to_string(i)));
        std::ofstream(s.Path / "Vedov.dvk", std::ios::binary) << WorldFileText(full);
        s.Put("a", Upload({Rec(100, "x")}));
        s.Put("c", Upload({Rec(5000, "Best"), Rec(1495, "Old5"), Rec(1200, "Mid")}));
        s.Put("d", "rubbish");
    };
    ServerDir clean;
    prepare(clean);
    ASSERT_EQ(clean.Merge(), 0);
    GameReads(clean.Read("Vedov.dvk"));
    EXPECT_EQ(UploadsByAll, 42);
    EXPECT_EQ(WorldScores[0].Name, "Best");
    EXPECT_EQ(WorldScores[6].Name, "Old5");  // once, not twice
    EXPECT_EQ(WorldScores[7].Name, "Old6");
    EXPECT_EQ(WorldScores[499].Name, "Old497");
    for (std::string step : {"batch", "table", "page", "move"}) {
        ServerDir s;
        prepare(s);
        EXPECT_EQ(s.Merge("", nullptr, "DORVIK_SCORES_CRASH_AT=" + step), 70) << step;
        std::string out;
        EXPECT_EQ(s.Merge("", &out), 0) << step << out;
        EXPECT_EQ(s.Read("Vedov.dvk"), clean.Read("Vedov.dvk")) << step;
        EXPECT_EQ(s.Read("default.htm"), clean.Read("default.htm")) << step;
        EXPECT_EQ(s.List("done"), clean.List("done")) << step;
        EXPECT_EQ(s.List("rejected"), clean.List("rejected")) << step;
        EXPECT_FALSE(fs::exists(s.Path / "merge.batch")) << step;
    }
}

TEST(ScoreServer, HostileFilesAndExitCodes) {
    ServerDir s;
    std::ofstream(s.Path / "secret") << "not for players";
    fs::create_symlink(s.Path / "secret", s.Path / "incoming" / "link");
    ASSERT_EQ(mkfifo((s.Path / "incoming" / "fifo").c_str(), 0644), 0);  // must not hang the run
    std::ofstream(s.Path / "incoming" / "huge", std::ios::binary) << std::string(10 << 20, 'x');
    s.Put("bad\nname", "rubbish");
    s.Put("\xD3lafur", Upload({Rec(10, "\xD3lafur")}));  // "Ó" scrambles to NUL
    ASSERT_EQ(s.Merge(), 0);
    EXPECT_EQ(s.List("rejected"), (std::vector<std::string>{"bad\nname", "fifo", "huge", "link"}));
    EXPECT_EQ(s.List("done"), (std::vector<std::string>{"\xD3lafur"}));
    EXPECT_EQ(s.Read("secret"), "not for players");
    std::string log = s.Read("merge.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 5);  // one line per rejection and one summary

    // Young uploads wait for the next run.
    s.Put("young", Upload({Rec(10, "y")}));
    ASSERT_EQ(s.Merge("--min-age 3600"), 0);
    EXPECT_EQ(s.List("incoming"), (std::vector<std::string>{"young"}));

    // Another merge holds the lock.
    int fd = open((s.Path / ".merge.lock").c_str(), O_RDWR);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    EXPECT_EQ(s.Merge(), 3);
    close(fd);

    // A damaged table is left alone, and so are the uploads.
    std::ofstream(s.Path / "Vedov.dvk") << "49-50-\r\n";
    std::string out;
    EXPECT_EQ(s.Merge("", &out), 1);
    EXPECT_NE(out.find("damaged"), std::string::npos);
    EXPECT_EQ(s.List("incoming"), (std::vector<std::string>{"young"}));

    EXPECT_EQ(s.Merge("--today 20261332"), 2);
    EXPECT_EQ(system(DORVIK_SCORES_EXE " --help | grep -q '^Usage: dorvik-scores merge FOLDER'"), 0);
    EXPECT_EQ(WEXITSTATUS(system(DORVIK_SCORES_EXE " >/dev/null 2>&1")), 2);
}

// default.htm as a real browser builds it: Debian's chromium, headless.
TEST(ScoreServerPage, BrowserShowsTheRowsAndNamesAsText) {
    if (access("/usr/bin/chromium", X_OK) != 0) GTEST_SKIP() << "no /usr/bin/chromium";
    ServerDir s;
    s.Put("1", Upload({Rec(700, "<b>x</b>"), Rec(650, "<script>document.write(1)</script>"), Rec(90, "Zo\xEB & co")}));
    s.Put("2", Upload({Rec(800, "Mira"), Rec(650, "<img src=x onerror=alert(1)>")}));
    ASSERT_EQ(s.Merge(), 0);

    fs::path profile = s.Path / "profile";
    fs::create_directories(profile);
    std::string cmd =
        "timeout 30 /usr/bin/chromium --headless --no-sandbox --disable-gpu --disable-quic "
        "--no-first-run --disable-background-networking --disable-component-update --disable-sync "
        "--user-data-dir=" +
        profile.string() + " --dump-dom file://" + (s.Path / "default.htm").string() + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    std::string dom;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) dom.append(buf, n);
    ASSERT_EQ(pclose(p), 0);

    // The serialised DOM writes text with < > & escaped: a name that had become
    // an element or run as a script would show here as markup or be missing.
    std::vector<std::vector<std::string>> rows;
    std::regex row("<tr>(.*?)</tr>"), cell("<td[^>]*>(.*?)</td>");
    for (auto r = std::sregex_iterator(dom.begin(), dom.end(), row); r != std::sregex_iterator(); ++r) {
        std::string inner = (*r)[1];
        std::vector<std::string> cells;
        for (auto c = std::sregex_iterator(inner.begin(), inner.end(), cell); c != std::sregex_iterator(); ++c)
            cells.push_back((*c)[1]);
        if (!cells.empty()) rows.push_back(cells);
    }
    using Row = std::vector<std::string>;
    ASSERT_EQ(rows.size(), 5u) << dom;
    EXPECT_EQ(rows[0], (Row{"1", "800", "Mira", "12", "03:15", "08.12.2026"}));
    EXPECT_EQ(rows[1], (Row{"2", "700", "&lt;b&gt;x&lt;/b&gt;", "12", "03:15", "08.12.2026"}));
    EXPECT_EQ(rows[2][2], "&lt;script&gt;document.write(1)&lt;/script&gt;");
    EXPECT_EQ(rows[3][2], "&lt;img src=x onerror=alert(1)&gt;");
    EXPECT_EQ(rows[4], (Row{"5", "90", "Zo\xC3\xAB &amp; co", "12", "03:15", "08.12.2026"}));
    EXPECT_EQ(dom.find("<b>"), std::string::npos);
    EXPECT_EQ(dom.find("<img"), std::string::npos);
    EXPECT_NE(dom.find("name=\"viewport\""), std::string::npos);
}
