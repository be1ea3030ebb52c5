// The local score table: ranking, the record's columns, name entry and the
// scrambled file with its restore and backup.
#include <gtest/gtest.h>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string_view>
#include <vector>

#include "platform/Files.h"
#include "platform/Window.h"
#include "scores/NameText.h"
#include "scores/ScoreFile.h"
#include "scores/TopScoreList.h"
#include "shell/GameState.h"

namespace fs = std::filesystem;

namespace {
std::vector<int> Sounds;
std::vector<double> SoundPlaces;
void RecordSound(int id, double position) {
    Sounds.push_back(id);
    SoundPlaces.push_back(position);
}

class ScoreTable : public ::testing::Test {
protected:
    std::string Dir;
    void SetUp() override {
        ResetGameState();
        char tmpl[] = "/tmp/scoretable-XXXXXX";
        Dir = mkdtemp(tmpl);
        SetAppPath(Dir);
        for (auto& e : TopScores) e = ScoreRecord{};
        ScoreReadCounter = 0;
        NewEntryIndex = 0;
        YourName.clear();
        Sounds.clear();
        PlayScoreSound = RecordSound;
        TestReleaseAllKeys();
        CreateSurface(Field, 300, 300);
    }
    void TearDown() override {
        TestReleaseAllKeys();
        fs::remove_all(Dir);
    }
    std::string File() const { return Dir + "/AtopDv118.dvk"; }
    std::string Bytes(const std::string& path) const {
        std::string d;
        ReadWholeFile(path, d);
        return d;
    }
    void Put(const std::string& path, const std::string& data) const {
        fs::create_directories(fs::path(path).parent_path());
        ASSERT_TRUE(WriteFileAtomic(path, data));
    }
    // Scores 900, 800 ... 100, 50 named P0..P9 and 40 in the overflow slot.
    void FillTable() {
        const int scores[11] = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50, 40};
        for (int i = 0; i < 11; i++) {
            TopScores[i].Score = std::to_string(scores[i]);
            TopScores[i].Score.resize(5, ' ');
            TopScores[i].Name = "P" + std::to_string(i);
        }
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (int i = 0; i < 11; i++) out.push_back(RecordLine(TopScores[i]));
        return out;
    }
    void PressEnter() {
        TestSetKey(DIK_RETURN, true);
        EnterScore(0);
        TestSetKey(DIK_RETURN, false);
    }
};

TEST_F(ScoreTable, EqualScoreGoesBelowAndPushesTheRestDown) {
    FillTable();
    EnterScore(600);
    EXPECT_EQ(NewEntryIndex, 4);
    EXPECT_EQ(EnteringName, True);
    EXPECT_EQ(MenuCode, "HS");
    EXPECT_EQ(TopScores[3].Name, "P3");
    EXPECT_EQ(TopScores[4].Score, "600  ");
    for (int i = 5; i <= 10; i++) EXPECT_EQ(TopScores[i].Name, "P" + std::to_string(i - 1)) << i;
    EXPECT_EQ(Sounds, (std::vector<int>{34, 46}));
}

TEST_F(ScoreTable, BeatingOnlyTheOverflowEntryShowsTheScreenAndChangesNothing) {
    FillTable();
    auto before = Lines();
    EnterScore(45);
    EXPECT_EQ(MenuCode, "HS");
    EXPECT_EQ(NewEntryIndex, 10);
    EXPECT_EQ(EnteringName, False);
    EXPECT_TRUE(Sounds.empty());
    EXPECT_EQ(Lines(), before);
    MenuCode.clear();
    EnterScore(30);  // not even the overflow entry beaten: no screen at all
    EXPECT_EQ(MenuCode, "");
    EXPECT_EQ(Lines(), before);
}

TEST_F(ScoreTable, FirstGameOnAnEmptyTableAndZeroScores) {
    EnterScore(0);
    EXPECT_EQ(MenuCode, "");
    EXPECT_EQ(EnteringName, False);
    EnterScore(120);
    EXPECT_EQ(NewEntryIndex, 0);
    EXPECT_EQ(EnteringName, True);
    EXPECT_EQ(TopScores[0].Score, "120  ");
    EXPECT_EQ(Sounds, (std::vector<int>{33, 46}));
    // Place 7 plays the third fanfare.
    ResetGameState();
    FillTable();
    Sounds.clear();
    EnterScore(250);
    EXPECT_EQ(NewEntryIndex, 7);
    EXPECT_EQ(Sounds, (std::vector<int>{35, 46}));
}

TEST_F(ScoreTable, NegativeScoresInTheFileCountAsZero) {
    // A damaged table whose lower entries hold negative scores: a game that
    // scored nothing must not be ranked above them.
    FillTable();
    for (int i = 5; i < 11; i++) TopScores[i].Score = "-7   ";
    Put(File(), ScoreFileText(TopScores));
    EnterScore(0);
    EXPECT_EQ(EnteringName, False);
    EXPECT_EQ(MenuCode, "");
    EXPECT_EQ(Sounds, std::vector<int>{});
    EnterScore(1);  // while a real score still beats them
    EXPECT_EQ(NewEntryIndex, 5);
}

TEST_F(ScoreTable, RecordColumnsAndPaddings) {
    Units[0].Spread = 30;
    Units[0].Recharge = 15;
    Units[0].BulletSpeed = 3;
    Units[0].Melee = 0;
    Units[0].GameDate = "20261208";
    Kills = 7;
    TimesPlayed = 12;
    GameMinutes = 3;
    GameSeconds = 7;
    EnterScore(7);
    TopScores[0].Name = "Mcdonald";
    EXPECT_EQ(RecordLine(TopScores[0]),
              "7    K=7   T=03:07 A=0  R=0  B=0  M=0  MH=90  MA=15  TP=12   HD=20261208?????????? N=Mcdonald");

    // A trained player, a negative kill count and wide numbers that need no blanks.
    ResetGameState();
    for (auto& e : TopScores) e = ScoreRecord{};
    Units[0].Spread = 7;
    Units[0].Recharge = 5;
    Units[0].BulletSpeed = 12;
    Units[0].Melee = 11;
    Units[0].GameDate = "20270131";
    Kills = -3;
    TimesPlayed = 1234;
    GameMinutes = 21;
    GameSeconds = 45;
    EnterScore(12345);
    TopScores[0].Name = "X";
    std::string line = RecordLine(TopScores[0]);
    EXPECT_EQ(line, "12345K=0   T=21:45 A=8  R=10 B=9  M=11 MH=360 MA=165 TP=1234 HD=20270131?????????? N=X");
    ScoreRecord back = ParseRecordLine(line);
    EXPECT_EQ(RecordLine(back), line);
    EXPECT_EQ(ParseRecordLine(line + "  ").Name, "X");  // blanks after a name are padding
}

TEST(ScoreFileLines, EveryLineEndCountsOnceEmptyLinesToo) {
    const std::string_view data = "a\n\nb\r\n\r\nc\r";
    std::vector<std::string_view> lines;
    for (size_t pos = 0; pos < data.size();) lines.push_back(NextTextLine(data, pos));
    EXPECT_EQ(lines, (std::vector<std::string_view>{"a", "", "b", "", "c"}));
    // A last line without its end: read, and then nothing more.
    size_t pos = 0;
    EXPECT_EQ(NextTextLine("ab", pos), "ab");
    EXPECT_EQ(pos, 2u);
    EXPECT_EQ(NextTextLine("ab", pos), "");
    EXPECT_EQ(pos, 2u);
    const std::string_view cut = std::string_view("c\r\n").substr(0, 2);  // the data ends at the CR
    pos = 0;
    EXPECT_EQ(NextTextLine(cut, pos), "c");
    EXPECT_EQ(pos, 2u);
    pos = 0;
    EXPECT_EQ(NextTextLine("c\r\n", pos), "c");  // a CR LF that ends the data is one line end
    EXPECT_EQ(pos, 3u);
}

TEST_F(ScoreTable, EachPlaceHasItsFanfare) {
    // Places 1-3, 4-6 and 7-10 each have their own, and every place the score music.
    const int fanfare[10] = {33, 33, 33, 34, 34, 34, 35, 35, 35, 35};
    for (int j = 0; j < 10; j++) {
        FillTable();
        EnteringName = False;
        Sounds.clear();
        SoundPlaces.clear();
        EnterScore(static_cast<Long>(ScoreValue(j)) + 1);  // just above entry j
        EXPECT_EQ(NewEntryIndex, j);
        EXPECT_EQ(Sounds, (std::vector<int>{fanfare[j], 46})) << "place " << j + 1;
        EXPECT_EQ(SoundPlaces, (std::vector<double>{500, 500})) << "place " << j + 1;  // in the middle
    }
}

TEST_F(ScoreTable, BlanksPadEachColumnToItsWidth) {
    // Score and times played to 5 characters, kills to 3, ratings to 2.
    const std::tuple<int, const char*, const char*> widths[] = {
        {9, "9    ", "9  "},     {10, "10   ", "10 "},  {99, "99   ", "99 "},    {100, "100  ", "100"},
        {999, "999  ", "999"},   {1000, "1000 ", "1000"}, {9999, "9999 ", "9999"}, {10000, "10000", "10000"},
    };
    for (auto [v, five, three] : widths) {
        ResetGameState();
        for (auto& e : TopScores) e = ScoreRecord{};
        const int rating = v < 10 ? 9 : 10;
        Units[0].Spread = (10 - rating) * 3;
        Units[0].Recharge = 15 - rating;
        Units[0].BulletSpeed = rating + 3;
        Units[0].Melee = rating;
        Units[0].GameDate = "20261208";
        TimesPlayed = v;
        Kills = v;
        GameMinutes = 10;
        GameSeconds = 9;
        EnterScore(v);
        const ScoreRecord& e = TopScores[0];
        EXPECT_EQ(e.Score, five) << v;
        EXPECT_EQ(e.TimesPlayed, five) << v;
        EXPECT_EQ(e.Kills, three) << v;
        const std::string r = rating == 9 ? "9 " : "10";
        EXPECT_EQ(e.Accuracy + e.Recharge + e.BulletSpeed + e.Melee, r + r + r + r) << v;
        EXPECT_EQ(e.Time, "10:09");
        EXPECT_EQ(e.Date, "20261208");
    }
}

TEST_F(ScoreTable, NameCasingEnterKeysAndTheEmptyName) {
    EnterScore(120);
    YourNameTextInput("mcDONALD");
    EnterScore(0);
    EXPECT_EQ(TopScores[0].Name, "Mcdonald");
    EXPECT_FALSE(FileExistsOnDisk(File()));
    TestSetKey(DIK_NUMPADENTER, true);  // the keypad Enter does not end the entry
    EnterScore(0);
    EXPECT_EQ(EnteringName, True);
    TestReleaseAllKeys();
    PressEnter();
    EXPECT_EQ(EnteringName, False);
    std::string data = Bytes(File());
    ScoreRecord read[11];
    ASSERT_TRUE(ParseScoreFile(data, read));
    EXPECT_EQ(read[0].Name, "Mcdonald");

    // Nothing typed, only blanks, or the last letter typed in the pass of Enter.
    const char* cases[3][2] = {{"", "I'm stupid"}, {"   ", "I'm stupid"}, {"zed", "Zed"}};
    for (auto& c : cases) {
        ResetGameState();
        for (auto& e : TopScores) e = ScoreRecord{};
        EnterScore(120);
        YourNameTextInput(c[0]);
        PressEnter();
        EXPECT_EQ(TopScores[0].Name, c[1]) << '"' << c[0] << '"';
    }
}

TEST_F(ScoreTable, NameBoxTypingAndLengths) {
    YourNameTextInput("ab\tc\x7f\xC2\x80\xC2\x9F");  // controls are not typed, nor C1 controls
    EXPECT_EQ(YourName, "abc");
    YourNameKeyDown(8);
    YourNameKeyDown(65);
    EXPECT_EQ(YourName, "ab");
    YourName.clear();
    YourNameTextInput("\xC3\xA9lan \xE2\x82\xAC \xD0\x96");  // "élan € Ж": Ж has no ANSI code
    EXPECT_EQ(YourName, "\xE9lan \x80 ?");
    YourName.clear();
    YourNameTextInput("x\x80y\xC3(z");  // broken sequences are dropped, what follows kept
    EXPECT_EQ(YourName, "xy(z");

    YourName.clear();
    EnterScore(120);
    std::string forty;
    for (int i = 0; i < 40; i++) forty += static_cast<char>(i % 2 ? 'A' + i % 26 : 'a' + i % 26);
    YourNameTextInput(forty.c_str());
    EXPECT_EQ(YourName.size(), 36u);
    EnterScore(0);
    ASSERT_EQ(TopScores[0].Name.size(), 36u);
    EXPECT_EQ(TopScores[0].Name[0], 'A');
    EXPECT_EQ(TopScores[0].Name[1], 'b');
    PressEnter();
    for (auto& e : TopScores) e = ScoreRecord{};
    ScoreReadCounter = 0;
    ReadScoreFile();
    EXPECT_EQ(TopScores[0].Name.size(), 35u);
}

TEST_F(ScoreTable, AccentedFirstLettersAndOnesThatWouldSplitTheLine) {
    EnterScore(120);
    YourNameTextInput("\xC3\xA9LAN");  // élan
    EnterScore(0);
    EXPECT_EQ(TopScores[0].Name, "\xC9lan");
    // Þ and Ù scramble to CR and LF: the first letter stays lower case.
    YourName.clear();
    YourNameTextInput("\xC3\xBE\xC3\x93R");  // þÓR
    EnterScore(0);
    EXPECT_EQ(TopScores[0].Name, "\xFE\xF3r");
    PressEnter();
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(File(), lines));
    EXPECT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines.back(), "END");
}

TEST_F(ScoreTable, FullTableRoundTripsByteForByte) {
    for (int i = 0; i < 11; i++) {
        ScoreRecord& e = TopScores[i];
        e.Score = std::to_string(9000 - i * 700);
        e.Score.resize(5, ' ');
        e.Kills = std::to_string(10 + i) + " ";
        e.Time = "0" + std::to_string(i % 10) + ":3" + std::to_string(i % 6);
        e.Accuracy = e.Recharge = e.BulletSpeed = e.Melee = std::to_string(i % 10) + " ";
        e.MaxHealth = "120";
        e.MaxAmmo = "45 ";
        e.TimesPlayed = std::to_string(100 + i) + "  ";
        e.Date = "2026120" + std::to_string(i % 10);
        e.Name = i == 3 ? std::string(35, 'z') : "Player \xD3" + std::to_string(i);  // Ó scrambles to NUL
    }
    WriteScoreFile();
    std::string first = Bytes(File());
    EXPECT_EQ(first.substr(0, 5), ScrambleText("9000 ", 0xD3));
    EXPECT_EQ(first.substr(first.size() - 5), "END\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator{}), 1);  // no temporary left

    for (auto& e : TopScores) e = ScoreRecord{};
    ScoreReadCounter = 0;
    ReadScoreFile();
    EXPECT_EQ(TopScores[3].Name, std::string(35, 'z'));
    WriteScoreFile();
    EXPECT_EQ(Bytes(File()), first);
}

TEST_F(ScoreTable, UnscrambledFileReadsAsGarbageWithoutHarm) {
    FillTable();
    std::string plain;
    for (auto& l : Lines()) plain += l + "\r\n";
    plain += "END\r\n";
    Put(File(), plain);
    for (auto& e : TopScores) e = ScoreRecord{};
    EnterScore(100);
    for (int i = 0; i < 10; i++) EXPECT_NE(TopScores[i].Name.substr(0, 1), "P");
    EXPECT_EQ(NewEntryIndex, 0);  // the garbage scores count 0
    EXPECT_EQ(TopScores[0].Score, "100  ");
}

TEST_F(ScoreTable, MissingFileIsRestoredFromTheTemplate) {
    ScoreRecord empty[11];
    std::string clean = ScoreFileText(empty);
    Put(Dir + "/OtherFiles/Temp.txt", clean);
    FillTable();
    ReadScoreFile();
    EXPECT_EQ(Bytes(File()), clean);
    EXPECT_EQ(TopScores[0].Name, "");
    EXPECT_FALSE(FileExistsOnDisk(File() + ".bak"));
}

TEST_F(ScoreTable, DamagedFileIsKeptAsABackupBeforeTheRestore) {
    ScoreRecord empty[11];
    std::string clean = ScoreFileText(empty);
    Put(Dir + "/OtherFiles/Temp.txt", clean);
    auto damageAndRead = [&](const std::string& bytes) {
        Put(File(), bytes);
        ScoreReadCounter = 0;
        ReadScoreFile();
        EXPECT_EQ(Bytes(File()), clean);
    };
    // Three records and no end: reading runs past the end of the file.
    std::string damaged = ScoreFileText(empty).substr(0, 3 * 87);
    damageAndRead(damaged);
    EXPECT_EQ(Bytes(File() + ".bak"), damaged);
    damageAndRead("other damage");
    EXPECT_EQ(Bytes(File() + ".bak"), damaged);  // an existing backup is never overwritten
    EXPECT_EQ(Bytes(File() + ".bak2"), "other damage");
    damageAndRead(damaged);  // the same table is not kept twice
    EXPECT_FALSE(FileExistsOnDisk(File() + ".bak3"));

    // Without a template the damaged file stays where it is.
    fs::remove(Dir + "/OtherFiles/Temp.txt");
    Put(File(), "x");
    ScoreReadCounter = 0;
    ReadScoreFile();
    EXPECT_EQ(Bytes(File()), "x");
    EXPECT_EQ(Bytes(File() + ".bak3"), "x");

    // A damaged template is copied once; its copy is not kept as the player's.
    Put(Dir + "/OtherFiles/Temp.txt", "bad template");
    Put(File(), "y");
    ScoreReadCounter = 0;
    ReadScoreFile();
    EXPECT_EQ(Bytes(File()), "bad template");
    EXPECT_EQ(Bytes(File() + ".bak4"), "y");
    EXPECT_FALSE(FileExistsOnDisk(File() + ".bak5"));
}

TEST_F(ScoreTable, FileIsReadOnlyEveryTenThousandCalls) {
    auto tableWith = [](const char* score) {
        ScoreRecord t[11];
        t[0].Score = score;
        return ScoreFileText(t);
    };
    Put(File(), tableWith("500  "));
    ReadScoreFile();
    EXPECT_EQ(TopScores[0].Score, "500  ");
    Put(File(), tableWith("600  "));
    for (int i = 0; i < 9999; i++) ReadScoreFile();
    EXPECT_EQ(TopScores[0].Score, "500  ");
    ReadScoreFile();
    EXPECT_EQ(TopScores[0].Score, "600  ");
}
}  // namespace

namespace {
// Text through the system's own converters, to hold the game's table against.
std::string Converted(const char* to, const char* from, const std::string& text) {
    iconv_t cd = iconv_open(to, from);
    std::string out(16, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size(), outLeft = out.size();
    char* at = out.data();
    const bool ok = iconv(cd, &in, &inLeft, &at, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    return ok ? out.substr(0, out.size() - outLeft) : "";
}
}  // namespace

// Names are Windows-1252 bytes: typed and drawn text is UTF-8, and the first
// letter's case follows the Unicode one where the other case has a byte too.
TEST(NameText, WindowsAnsiBothWaysAndItsCases) {
    locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    ASSERT_NE(unicode, nullptr);
    char32_t cp[256] = {};
    std::map<char32_t, int> byteOf;
    for (int b = 1; b < 256; b++) {
        const std::string u32 = Converted("UTF-32LE", "CP1252", std::string(1, static_cast<char>(b)));
        if (u32.size() == 4) std::memcpy(&cp[b], u32.data(), 4), byteOf[cp[b]] = b;
    }
    ASSERT_EQ(byteOf.size(), 250u);  // five bytes have no character
    auto byteFor = [&](char32_t c, int otherwise) {
        auto it = byteOf.find(c);
        return std::string(1, static_cast<char>(it == byteOf.end() ? otherwise : it->second));
    };
    for (int b = 0; b < 256; b++) {
        const std::string ansi(1, static_cast<char>(b));
        const std::string utf8 = cp[b] ? Converted("UTF-8", "CP1252", ansi) : "?";
        EXPECT_EQ(AnsiToUtf8(ansi), utf8) << b;
        std::string typed;
        AppendUtf8AsAnsi(typed, utf8.c_str(), 4);
        const bool control = cp[b] < 0x20 || cp[b] == 0x7F;
        EXPECT_EQ(typed, !cp[b] ? "?" : control ? "" : ansi) << b;
        EXPECT_EQ(AnsiUCase(ansi), cp[b] ? byteFor(towupper_l(cp[b], unicode), b) : ansi) << b;
        EXPECT_EQ(AnsiLCase(ansi), cp[b] ? byteFor(towlower_l(cp[b], unicode), b) : ansi) << b;
    }
    freelocale(unicode);
    // C1 controls are not typed; characters without a byte become '?'; the box stops at its length.
    std::string typed;
    for (char32_t c = 0x80; c < 0xA0; c++) {
        const std::string u32(reinterpret_cast<const char*>(&c), 4);
        AppendUtf8AsAnsi(typed, Converted("UTF-8", "UTF-32LE", u32).c_str(), 9);
    }
    EXPECT_EQ(typed, "");
    AppendUtf8AsAnsi(typed, "\xC4\x80\xEF\xBF\xBD\xF0\x9F\x98\x80z\xC3\xA9", 4);  // Ā, U+FFFD, an emoji
    EXPECT_EQ(typed, "???z");
    typed.clear();
    AppendUtf8AsAnsi(typed, "\xEF\xBFz\xC3", 9);  // a character cut short is no character
    EXPECT_EQ(typed, "z");
}
