// Saves the settings, the score table and the terrain maps over and over with
// the game's own routines, to be killed at random moments by kill_saves.sh.
// Every start first reads the files back as the game's start does and checks
// them against a journal of the saves begun and ended: each file must be the
// complete old or the complete new version, readable without the template.
//
//   dorvik_savekill GAME JOURNAL --init    one whole round, then a list of the folder
//   dorvik_savekill GAME JOURNAL           check, then save until killed
//   dorvik_savekill GAME JOURNAL --check   check only
//   dorvik_savekill GAME JOURNAL --whole   check only that every file is whole (after
//                                          killing the game itself, whose new maps are random)
// A check appends one line to JOURNAL.results:
//   check interrupted=<n> new=<n> files=<n> lost=<n> leftovers=<n> debris=<n> cut=<temporary files> [what]
// (interrupted: saves begun and not ended; new: of those, the files found new).
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "maps/MapGen.h"
#include "menus/Options.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "platform/Window.h"
#include "scores/ScoreFile.h"
#include "scores/TopScoreList.h"
#include "shell/Form1.h"
#include "shell/GameState.h"

namespace fs = std::filesystem;

namespace {
std::string Game, Journal;

// The settings file's values in file order.
Integer* const SmallSettings[] = {&OptBloodFly,   &OptBloodStays,   &OptBulletFly,  &OptDebugInfo, &OptScoreInfo,
                                  &OptSnow,       &OptMono,         &MusicVolume,   &OptFootSteps, &MapsGenerated,
                                  &OptFullScreen, &OptRealMovement, &OptAlphaBlend, &OptKillsInRow};

uint64_t Fnv(const void* data, size_t n, uint64_t h = 1469598103934665603ull) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; i++) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

uint64_t SettingsHash() {
    uint64_t h = Fnv(&PlayMinutes, sizeof PlayMinutes);
    h = Fnv(&TimesPlayed, sizeof TimesPlayed, h);
    for (Integer* v : SmallSettings) h = Fnv(v, sizeof *v, h);
    return h;
}

// The table's file as the game writes it.
uint64_t TableHash(const ScoreRecord* entries) {
    const std::string text = ScoreFileText(entries);
    return Fnv(text.data(), text.size());
}

// The picture as the game loads it; 0 when it cannot be loaded.
uint64_t PictureHash(const std::string& path) {
    Surface s;
    if (!LoadPictureFile(path, s)) return 0;
    uint64_t h = Fnv(&s.Width, sizeof s.Width);
    h = Fnv(&s.Height, sizeof s.Height, h);
    return Fnv(s.Pixels.data(), s.Pixels.size() * sizeof s.Pixels[0], h);
}

std::string MapName(int k) { return "Pictures/Map0" + std::to_string(k) + ".bmp"; }

// Appends one line with a single write, so a kill never leaves half a line.
void Note(const std::string& line) {
    int fd = open(Journal.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    const std::string l = line + "\n";
    if (write(fd, l.data(), l.size()) < 0) std::perror("journal");
    close(fd);
}
void Begin(const std::string& file, uint64_t h) { Note("begin " + file + " " + std::to_string(h)); }
void End(const std::string& file) { Note("end " + file); }

// ------------------------------------------------------------------ check

struct Expect {
    uint64_t Confirmed = 0, Pending = 0;
    bool HasPending = false;
};

std::set<std::string> OwnFiles;

std::map<std::string, Expect> ReadJournal() {
    std::map<std::string, Expect> e;
    std::ifstream in(Journal);
    std::string word, file;
    while (in >> word >> file) {
        if (word == "own") {
            OwnFiles.insert(file);
            continue;
        }
        Expect& x = e[file];
        if (word == "begin") {
            in >> x.Pending;
            x.HasPending = true;
        } else if (word == "end") {
            x.Confirmed = x.Pending;
            x.HasPending = false;
        } else if (word == "found") {
            in >> x.Confirmed;
            x.HasPending = false;
        }
    }
    return e;
}

int CountStrangers(std::string* names = nullptr) {
    int n = 0;
    for (const char* folder : {"", "OtherFiles", "Pictures"})
        for (const auto& entry : fs::directory_iterator(Game + "/" + folder)) {
            if (entry.is_directory()) continue;
            std::string rel = fs::relative(entry.path(), Game).string();
            if (!OwnFiles.count(rel)) {
                n++;
                if (names) *names += (names->empty() ? "" : ",") + rel;
            }
        }
    return n;
}

// The start's reading: what each file holds, as the game reads it.
std::map<std::string, uint64_t> ReadEverything(std::string& trouble) {
    std::map<std::string, uint64_t> found;
    std::vector<std::string> lines;
    if (ReadTextLines(GamePath("\\OtherFiles\\Options.txt"), lines) && lines.size() >= 16) {
        LoadSaveOptions(false);
        found["OtherFiles/Options.txt"] = SettingsHash();
    } else {
        trouble += " Options.txt-unreadable";
    }
    std::string data;
    static ScoreRecord table[101];
    if (ReadWholeFile(GamePath("\\AtopDv118.dvk"), data) && ParseScoreFile(data, table)) {
        found["AtopDv118.dvk"] = Fnv(data.data(), data.size());
    } else {
        trouble += " AtopDv118.dvk-unreadable";
    }
    for (int k = 1; k <= 4; k++) {
        uint64_t h = PictureHash(Game + "/" + MapName(k));
        if (h)
            found[MapName(k)] = h;
        else
            trouble += " " + MapName(k) + "-unreadable";
    }
    return found;
}

// Whole files as the game writes them: sixteen settings lines, a score table
// that reads, and 300 x 300 maps of exactly a 24-bit bitmap's size.
void CheckWhole(const std::map<std::string, uint64_t>& found, int& files, int& lost, std::string& trouble) {
    std::vector<std::string> lines;
    files += 6;
    if (found.count("OtherFiles/Options.txt")) {
        ReadTextLines(GamePath("\\OtherFiles\\Options.txt"), lines);
        std::string data;
        ReadWholeFile(GamePath("\\OtherFiles\\Options.txt"), data);
        if (lines.size() != 16 || data.size() < 2 || data.substr(data.size() - 2) != "\r\n") {
            lost++;
            trouble += " Options.txt-cut";
        }
    }
    for (int k = 1; k <= 4; k++) {
        std::error_code ec;
        if (found.count(MapName(k)) && fs::file_size(Game + "/" + MapName(k), ec) != 54 + 900 * 300) {
            lost++;
            trouble += " " + MapName(k) + "-cut";
        }
    }
    lost += 6 - static_cast<int>(found.size());
}

void Check(bool wholeOnly) {
    auto expect = ReadJournal();
    std::string cut;
    const int leftovers = CountStrangers(&cut);
    RemoveInterruptedSaves();  // as the start does
    const int debris = CountStrangers();
    std::string trouble;
    auto found = ReadEverything(trouble);
    int interrupted = 0, fresh = 0, files = 0, lost = 0;
    if (wholeOnly) {
        CheckWhole(found, files, lost, trouble);
        expect.clear();
    }
    for (auto& [file, x] : expect) {
        files++;
        if (x.HasPending) interrupted++;
        auto f = found.find(file);
        if (f == found.end()) {
            lost++;
            continue;
        }
        if (f->second == x.Confirmed) {
        } else if (x.HasPending && f->second == x.Pending) {
            fresh++;
        } else {
            lost++;
            trouble += " " + file + "-neither-old-nor-new";
        }
        Note("found " + file + " " + std::to_string(f->second));
    }
    // The start itself: the score table through the game's reader, which
    // would fall back to the template (and keep a ".bak") if it failed.
    ScoreReadCounter = 0;
    EnterScore(0);
    if (fs::exists(Game + "/AtopDv118.dvk.bak")) {
        lost++;
        trouble += " template-used";
    }
    std::FILE* r = std::fopen((Journal + ".results").c_str(), "a");
    if (r) {
        std::fprintf(r, "check interrupted=%d new=%d files=%d lost=%d leftovers=%d debris=%d cut=%s%s\n", interrupted,
                     fresh, files, lost, leftovers, debris, cut.c_str(), trouble.c_str());
        std::fclose(r);
    }
}

// ------------------------------------------------------------------ saves

void SaveSettings(Long round) {
    PlayMinutes = round;
    TimesPlayed = round * 3;
    for (size_t i = 0; i < std::size(SmallSettings); i++)
        *SmallSettings[i] = static_cast<Integer>((round * 7 + static_cast<Long>(i) * 13) % 30000);
    OptFootSteps = round % 2 ? 8 : 0;  // the reader allows only 0 and 8 here
    OptFullScreen = 8;
    MapsGenerated = 1;
    Begin("OtherFiles/Options.txt", SettingsHash());
    LoadSaveOptions(true);
    End("OtherFiles/Options.txt");
}

void SaveScore(Long round) {
    Units[0].GameDate = "20261208";
    Kills = static_cast<Integer>(round % 500);
    EnterScore(1000 + round);  // always the best so far: placed at the top
    YourName = "round " + std::to_string(round);
    ScoreRecord expected[101];
    std::copy(std::begin(TopScores), std::end(TopScores), expected);
    expected[NewEntryIndex].Name = "Round " + std::to_string(round);
    Begin("AtopDv118.dvk", TableHash(expected));
    TestSetKey(DIK_RETURN, true);
    EnterScore(0);  // the name entry's pass: Enter saves the table
    TestSetKey(DIK_RETURN, false);
    End("AtopDv118.dvk");
}

// The maps of a round come out the same wherever they are made: the test
// clock stands still and the generator's random numbers start from the round.
void GenerateFor(Long round, const std::string& folder) {
    SetAppPath(folder);
    Randomize(static_cast<uint32_t>(round));
    MapsGenerated = 0;
    GenerateMaps();
    SetAppPath(Game);
}

void SaveMaps(Long round, const std::string& scratch) {
    GenerateFor(round, scratch);  // what the real run will write
    for (int k = 1; k <= 4; k++) Begin(MapName(k), PictureHash(scratch + "/" + MapName(k)));
    Begin("OtherFiles/Options.txt", SettingsHash());  // the generator saves the settings last
    GenerateFor(round, Game);
    for (int k = 1; k <= 4; k++) End(MapName(k));
    End("OtherFiles/Options.txt");
}

std::string MakeScratch() {
    const std::string scratch = Journal + ".scratch";
    fs::create_directories(scratch + "/Pictures");
    fs::create_directories(scratch + "/OtherFiles");
    for (int k = 1; k <= 4; k++) {
        const std::string photo = "Pictures/Map0" + std::to_string(k) + ".jpg";
        fs::copy_file(Game + "/" + photo, scratch + "/" + photo, fs::copy_options::skip_existing);
    }
    return scratch;
}

void Round(Long round, const std::string& scratch) {
    SaveSettings(round);
    SaveScore(round);
    SaveMaps(round, scratch);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: dorvik_savekill GAME JOURNAL [--init|--check]\n");
        return 2;
    }
    Game = fs::absolute(argv[1]).string();
    Journal = fs::absolute(argv[2]).string();
    const std::string mode = argc > 3 ? argv[3] : "";
    SetAppPath(Game);
    UseTestClock(true, 5000);
    CreateSurface(Field, 300, 300);
    CreateSurface(Terain, 300, 300);
    const std::string scratch = MakeScratch();

    if (mode == "--init") {
        ScoreReadCounter = 0;
        EnterScore(0);  // the first start: the table comes from the template
        Round(1, scratch);
        for (const char* folder : {"", "OtherFiles", "Pictures"})
            for (const auto& entry : fs::directory_iterator(Game + "/" + folder))
                if (!entry.is_directory()) Note("own " + fs::relative(entry.path(), Game).string());
        return 0;
    }
    Check(mode == "--whole");
    if (mode == "--check" || mode == "--whole") return 0;
    // Rounds go on from the settings just read.
    for (Long round = PlayMinutes + 1;; round++) Round(round, scratch);
}
