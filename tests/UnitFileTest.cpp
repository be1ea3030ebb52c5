// The unit files: fixed columns, "END", the line limit, and the loader.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string_view>
#include <thread>

#include "opponents/KeyFile.h"
#include "opponents/TextFile.h"
#include "platform/Window.h"
#include "shell/GameState.h"
#include "support/TempDir.h"
#include "support/UnitFiles.h"

namespace {
class UnitFile : public ::testing::Test {
protected:
    TempGameDir Dir;
    void SetUp() override { ResetGameState(); }
    void Write(const std::string& name, const std::string& text) { Dir.Write("OtherFiles/" + name + ".txt", text); }
    std::string Value(const std::string& name, const std::string& key) {
        ReadUnitFileKey("otherfiles", name, key);
        return UnitFileValue;
    }
};
}  // namespace

TEST_F(UnitFile, ColumnsKeysAndEnd) {
    Write("COLS", UnitLine("  OM", "12") +                           // leading blanks in the key column
                      UnitLine("om", "99") +                         // keys are case-sensitive
                      UnitLine("NA", "  Padded name   ") +           // value trimmed
                      UnitLine("GN", std::string(25, '7')) +         // cut at column 41
                      UnitLine("EL", "1") + UnitLine("EL", "2") +    // the last one wins ...
                      "END\r\n" + UnitLine("EL", "3") +              // ... before "END"
                      UnitLine("ED", "4"));
    EXPECT_EQ(Value("COLS", "OM"), "12");
    EXPECT_EQ(Value("COLS", " OM "), "12");
    EXPECT_EQ(Value("COLS", "NA"), "Padded name");
    EXPECT_EQ(Value("COLS", "GN"), std::string(20, '7'));
    EXPECT_EQ(Value("COLS", "EL"), "2");
    // A missing key (and one after "END") keeps the previous value.
    EXPECT_EQ(Value("COLS", "ED"), "2");
    // "END" must be the whole line.
    Write("ENDS", "END \n" + UnitLine("OM", "5") + "ENDX\n" + UnitLine("EM", "6"));
    EXPECT_EQ(Value("ENDS", "OM"), "5");
    EXPECT_EQ(Value("ENDS", "EM"), "6");
}

TEST_F(UnitFile, ReadsAtMost5001Lines) {
    std::string text;
    for (int i = 0; i < 5000; i++) text += "filler\n";
    Write("LONG", text + UnitLine("OM", "5000") + UnitLine("EM", "5001"));
    EXPECT_EQ(Value("LONG", "OM"), "5000");  // line 5000 counted from 0 is read
    UnitFileValue = "before";
    EXPECT_EQ(Value("LONG", "EM"), "before");
    // The key reader keeps the same limit for files handed to it whole.
    const auto lines = KeyFileLines(text + UnitLine("OM", "5000") + UnitLine("EM", "5001"));
    std::string v;
    EXPECT_TRUE(KeyFileValue(lines, "OM", 20, v));
    EXPECT_FALSE(KeyFileValue(lines, "EM", 20, v));
}

TEST_F(UnitFile, LoaderFillsTheFirstFreeSlot) {
    Write("LVL1", UnitLine("NA", "Grunt") + UnitLine("OM", "30") + UnitLine("DE", "7.5") + UnitLine("HT", "42.5") +
                      UnitLine("EL", "2.5") + UnitLine("EE", "3.5") + UnitLine("ED", "2") + UnitLine("GN", "45") +
                      UnitLine("EM", "20") + "END\n");
    Units[0].Active = -1;
    Units[1].Active = -1;
    Units[2].X = 33;
    EXPECT_TRUE(LoadUnitFile("LVL1"));
    EXPECT_EQ(LoadedSlot, 2);
    const Unit& u = Units[2];
    EXPECT_EQ(u.Active, -1);
    EXPECT_EQ(u.UnitName, "Grunt");
    EXPECT_EQ(u.Ammo, 30);
    EXPECT_FLOAT_EQ(u.Speed, 7.5f);
    EXPECT_FLOAT_EQ(u.Health, 42.5f);
    EXPECT_EQ(u.Spread, 2);  // halves round to even
    EXPECT_EQ(u.Melee, 4);
    EXPECT_EQ(u.BulletSpeed, 2);
    EXPECT_FLOAT_EQ(u.BulletRange, 45);
    EXPECT_EQ(u.Recharge, 20);
    EXPECT_EQ(u.X, 33);  // the callers place the unit

    // The last slot is a slot too.
    for (auto& s : Units) s.Active = -1;
    Units[50].Active = 0;
    EXPECT_TRUE(LoadUnitFile("LVL1"));
    EXPECT_EQ(LoadedSlot, 50);
    EXPECT_EQ(Units[50].UnitName, "Grunt");

    // Every slot taken: 51 and nothing changes.
    Units[50].UnitName = "kept";
    EXPECT_TRUE(LoadUnitFile("LVL1"));
    EXPECT_EQ(LoadedSlot, 51);
    EXPECT_EQ(Units[50].UnitName, "kept");
    EXPECT_TRUE(LoadUnitFile("NOSUCHUNIT"));  // not even looked for
    EXPECT_EQ(LoadedSlot, 51);
}

TEST_F(UnitFile, MissingKeysAndBadNumbers) {
    // A first line "END": every field gets what the last search left, which is
    // empty in a fresh run; an empty or non-numeric value leaves a number as it was.
    Write("EMPTY", "END\n" + UnitLine("OM", "5"));
    Units[0].Ammo = 8;
    Units[0].Health = 3;
    Units[0].UnitName = "old";
    EXPECT_TRUE(LoadUnitFile("EMPTY"));
    EXPECT_EQ(Units[0].UnitName, "");
    EXPECT_EQ(Units[0].Ammo, 8);
    EXPECT_EQ(Units[0].Health, 3);

    // A missing key stores the previous key's value.
    Write("GAPS", UnitLine("NA", "Gappy") + UnitLine("OM", "11") + UnitLine("EL", "x") + UnitLine("EE", "32767.5") + UnitLine("ED", "32767") +
                      UnitLine("EM", "70000") +
                      "END\n");
    Units[1].Active = 0;
    Units[1].Spread = 6;
    Units[1].Recharge = 9;
    EXPECT_TRUE(LoadUnitFile("GAPS"));
    EXPECT_EQ(LoadedSlot, 1);
    EXPECT_EQ(Units[1].Ammo, 11);
    EXPECT_FLOAT_EQ(Units[1].Speed, 11);   // "DE" missing: "OM"'s value
    EXPECT_FLOAT_EQ(Units[1].Health, 11);  // "HT" missing as well
    EXPECT_EQ(Units[1].Spread, 6);         // "x" is no number
    EXPECT_EQ(Units[1].Recharge, 9);       // too large for its field
    EXPECT_EQ(Units[1].BulletSpeed, 32767);  // the largest that fits
    EXPECT_EQ(Units[1].Melee, 0);            // rounds to 32768: too large
    Write("LOW", UnitLine("OM", "-32768.5") + "END\n");
    EXPECT_TRUE(LoadUnitFile("LOW"));
    EXPECT_EQ(Units[LoadedSlot].Ammo, -32768);  // a half rounds to even: it just fits
}

TEST_F(UnitFile, MissingFileShowsOneMessageAndLeavesTheSlotFree) {
    const int before = TestMessageBoxCount();
    EXPECT_FALSE(LoadUnitFile("NOSUCHUNIT"));
    EXPECT_EQ(TestMessageBoxCount(), before + 1);
    EXPECT_NE(TestLastMessageBoxText().find("NOSUCHUNIT"), std::string::npos);
    EXPECT_EQ(Units[0].Active, 0);
    EXPECT_EQ(LoadedSlot, 0);
    // Asked again (a spawn every second): no second box.
    EXPECT_FALSE(LoadUnitFile("NOSUCHUNIT"));
    EXPECT_EQ(TestMessageBoxCount(), before + 1);
    // The key reader keeps the last value.
    UnitFileValue = "same";
    EXPECT_FALSE(ReadUnitFileKey("otherfiles", "NOSUCHUNIT", "NA"));
    EXPECT_EQ(UnitFileValue, "same");
}

// The unit file is a pipe. Once the loader has opened it, its name leads to a
// different unit, so a second reading would show; after "END" the pipe offers
// 4 MB more, of which the loader may take no more than its buffer.
TEST_F(UnitFile, OneReadPerLoadEndingAtEnd) {
    const std::string path = Dir.File("OtherFiles/PIPED.txt");
    const std::string other = Dir.File("OtherFiles/other");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    Dir.Write("OtherFiles/other", UnitLine("NA", "Second") + UnitLine("EM", "1") + "END\n");
    std::signal(SIGPIPE, SIG_IGN);
    size_t tail = 0;
    std::thread writer([&] {
        int fd = open(path.c_str(), O_WRONLY);  // waits for the loader
        std::rename(other.c_str(), path.c_str());
        const std::string head = OddDefaultFile(), filler(4096, 'x');
        bool ok = write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size());
        for (int i = 0; ok && i < 1024; i++) {  // until the loader hangs up
            ok = write(fd, filler.data(), filler.size()) > 0;
            if (ok) tail += filler.size();
        }
        close(fd);
    });
    EXPECT_TRUE(LoadUnitFile("PIPED"));
    writer.join();
    std::signal(SIGPIPE, SIG_DFL);
    EXPECT_EQ(Units[0].UnitName, "Rookie");
    EXPECT_EQ(Units[0].Recharge, 99);
    EXPECT_LT(tail, 256u * 1024);
}
