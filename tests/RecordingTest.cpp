// A game is recorded as it is played: playing the recording back must give
// the same battle frame for frame, whatever the effect settings, and the
// recording follows its entry in the score table.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "input/DirectInputMod.h"
#include "maps/MapGen.h"
#include "opponents/GameClock.h"
#include "platform/Image.h"
#include "scores/ReplayFile.h"
#include "scores/ScoreFile.h"
#include "shell/Form1.h"
#include "shell/NewGame.h"
#include "shell/Replay.h"
#include "support/Battle.h"

namespace {
// What a frame of the battle decided: enough to see any drift at once.
std::string State() {
    const Unit& p = Units[0];
    char line[160];
    std::snprintf(line, sizeof line, "%d:%02d s%d k%d b%ld P%.3f,%.3f h%.2f a%d f%d m%d", GameMinutes, GameSeconds,
                  HitScore, Kills, static_cast<long>(BonusScore), p.X, p.Y, p.Health, p.Ammo, p.Facing, FireMode);
    std::string s = line;
    for (int i = 1; i <= MaxUnit; i++)
        if (Units[i].Active != 0) {
            std::snprintf(line, sizeof line, " U%d %.3f,%.3f h%.2f", i, Units[i].X, Units[i].Y, Units[i].Health);
            s += line;
        }
    return s;
}

uint64_t PixelSum(const Surface& s) {
    uint64_t h = 1469598103934665603ull;
    for (COLORREF c : s.Pixels) h = (h ^ c) * 1099511628211ull;
    return h;
}

struct Played {
    std::vector<std::string> States;  // every frame
    std::vector<uint64_t> Pixels;     // every 50th frame
    std::string File;                 // the finished recording
    ScoreRecord Record;
    std::vector<ScoreRecord> Table;   // the score table the game was played against
};

bool Sampled(size_t frame) { return frame % 50 == 25; }

void FreshSurfaces() {
    CreateSurface(Field, 300, 300);
    CreateSurface(Terain, 300, 300);
    CreateSurface(MenuField, 300, 300);
    CreateSurface(StatusField, 300, 78);
}

// The scripted game of the replay test, with a pause in the middle (Escape,
// some passes of the menu loop, Enter) in which the player switches to
// movement relative to the facing and then walks, kills in a row switched off
// later, and the fire-mode key released twice.
Played PlayScriptedGame() {
    BattleReset(20260101);
    GameRunning = 0;
    OptKillsInRow = 0;
    SetTestDate({2025, 11, 7});  // not today: the watched game must take the recorded date
    NewGame();
    SetTestDate({0, 0, 0});
    Fps = 33;
    Played out;
    out.Table.assign(TopScores, TopScores + 11);
    for (int frame = 0; frame < 6000 && GameRunning != 0; frame++) {
        ScriptedInput(frame);
        if (frame == 100 || frame == 300) FireModeKeyReleased = -1;
        TestSetKey(DIK_ESCAPE, frame == 200);
        TestSetKey(DIK_RETURN, frame == 201);
        TestSetKey(DIK_W, frame >= 210 && frame < 240);
        if (frame == 250) OptKillsInRow = 8;  // one setting alone changes
        FrameStep();
        if (frame == 200) {
            EXPECT_NE(GamePaused, 0);
            for (int pass = 0; pass < 40; pass++) {
                RecordPausedPass();
                ClockStep();
            }
            OptRealMovement = 8;
            continue;
        }
        out.States.push_back(State());
        if (Sampled(out.States.size())) out.Pixels.push_back(PixelSum(Field));
    }
    TestReleaseAllKeys();
    OptRealMovement = OptKillsInRow = 0;
    out.File = PendingRecording();
    ReplayData data;
    std::string why;
    EXPECT_TRUE(DecodeReplay(out.File, data, why)) << why;
    out.Record = ParseRecordLine(data.RecordText);
    return out;
}

// Watched against the same score table, so the score line reads the same.
Played Watch(const std::string& file, const std::vector<ScoreRecord>& table) {
    std::copy(table.begin(), table.end(), TopScores);
    Played out;
    ReplayData data;
    std::string why;
    EXPECT_TRUE(DecodeReplay(file, data, why)) << why;
    FreshSurfaces();
    // The player's own input must not reach the recorded battle.
    TestSetKey(DIK_D, true);
    TestSetMouse(5, 5);
    EXPECT_TRUE(BeginPlayback(data, ReplayMode::Watching, why)) << why;
    while (GameRunning != 0) {
        MouseLeft = 0;
        FrameStep();
        out.States.push_back(State());
        if (Sampled(out.States.size())) out.Pixels.push_back(PixelSum(Field));
    }
    TestReleaseAllKeys();
    return out;
}

class Recording : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Dir = new TempGameDir;
        WriteUnitFiles(*Dir);
        Game = new Played(PlayScriptedGame());
    }
    static void TearDownTestSuite() {
        delete Game;
        delete Dir;
        UseTestClock(false);
    }
    static TempGameDir* Dir;
    static Played* Game;
};
TempGameDir* Recording::Dir = nullptr;
Played* Recording::Game = nullptr;
}  // namespace

TEST_F(Recording, WatchingShowsTheGameFrameForFrame) {
    ASSERT_FALSE(Game->File.empty()) << "the game did not end";
    ASSERT_GT(Game->States.size(), 300u);
    EXPECT_LT(Game->File.size(), 100u * 1024);
    // The pause's passes of the menus; each change of the settings, once.
    ReplayData data;
    std::string why;
    ASSERT_TRUE(DecodeReplay(Game->File, data, why)) << why;
    int passes = 0, settings = 0;
    for (const ReplayEvent& e : data.Events) passes += e.Kind == ReplayPausedPass, settings += e.Kind == ReplayOptionsSet;
    EXPECT_EQ(passes, 40);
    EXPECT_EQ(settings, 2);
    const Played watched = Watch(Game->File, Game->Table);
    for (size_t i = 0; i < std::min(watched.States.size(), Game->States.size()); i++)
        ASSERT_EQ(watched.States[i], Game->States[i]) << "frame " << i;
    ASSERT_EQ(watched.States.size(), Game->States.size());
    EXPECT_EQ(watched.Pixels, Game->Pixels);
    EXPECT_EQ(ReplayState, ReplayMode::Off);
    // Watching entered nothing: the pending recording is still the game's own.
    EXPECT_EQ(PendingRecording(), Game->File);
}

TEST_F(Recording, EffectSettingsNeverChangeTheBattle) {
    ReplayData data;
    std::string why;
    ASSERT_TRUE(DecodeReplay(Game->File, data, why)) << why;
    std::vector<ReplayOutcome> outcomes;
    for (Integer v : {Integer{0}, Integer{8}}) {
        OptAlphaBlend = OptBulletFly = OptFootSteps = OptBloodFly = OptBloodStays = OptSnow = OptScoreInfo = v;
        OptMono = OptDebugInfo = v;
        // The player's own scoring and movement settings give way to the recorded ones.
        OptKillsInRow = OptRealMovement = static_cast<Integer>(8 - v);
        SoundOff = v;
        outcomes.push_back(VerifyReplay(data));
        EXPECT_EQ(OptKillsInRow, 8 - v) << "the player's setting is given back";
    }
    FreshSurfaces();
    for (const ReplayOutcome& o : outcomes) {
        ASSERT_TRUE(o.Ended) << o.Why;
        std::string difference;
        EXPECT_TRUE(SameGame(Game->Record, o.Record, difference)) << difference;
        EXPECT_EQ(RecordLine(o.Record), RecordLine(outcomes[0].Record));
    }
    // Cut short, checked right after a whole one: no end of the game is claimed.
    ReplayData cut = data;
    cut.Events.resize(cut.Events.size() / 2);
    cut.Ticks.resize(cut.Ticks.size() / 2);
    const ReplayOutcome shortened = VerifyReplay(cut);
    FreshSurfaces();
    EXPECT_FALSE(shortened.Ended);
    EXPECT_EQ(shortened.Why, "the recording ends before the game does");
    // An edited input is another game.
    for (auto& e : data.Events)
        if (e.Kind == ReplayFrameEvent && (e.Buttons & ReplayMouseLeft)) e.Buttons &= ~ReplayMouseLeft;
    const ReplayOutcome edited = VerifyReplay(data);
    FreshSurfaces();
    std::string difference;
    EXPECT_FALSE(edited.Ended && SameGame(Game->Record, edited.Record, difference));
}

TEST_F(Recording, FileFollowsItsTableEntry) {
    // The game's entry is named and written: its recording lands beside it.
    for (int i = 0; i <= 10; i++) TopScores[i] = ScoreRecord{};
    TopScores[0] = Game->Record;
    TopScores[0].Name = "Ann";
    // A second recording in the folder whose entry is not in the table.
    std::filesystem::create_directories(ReplayFolderPath());
    const std::string stray = ReplayFolderPath() + "/0123456789abcdef.dvr";
    Dir->Write(stray.substr(Dir->Path.string().size() + 1), "x");
    // Files that are not recordings by name stay.
    const std::string other = ReplayFolderPath() + "/notes.txt";
    const std::string others[] = {other, ReplayFolderPath() + "/0123456789abcdef.txt", ReplayFolderPath() + "/my.dvr"};
    for (const std::string& f : others) Dir->Write(f.substr(Dir->Path.string().size() + 1), "kept");
    WriteScoreFile();
    const std::string path = ReplayFilePath(TopScores[0]);
    std::string saved;
    ASSERT_TRUE(ReadWholeFile(path, saved));
    EXPECT_EQ(saved, Game->File);
    EXPECT_TRUE(PendingRecording().empty());
    EXPECT_FALSE(FileExistsOnDisk(stray));
    for (const std::string& f : others) EXPECT_TRUE(FileExistsOnDisk(f)) << f;
    ReplayData data;
    std::string why;
    ASSERT_TRUE(DecodeReplay(saved, data, why)) << why;
    ScoreRecord unnamed = TopScores[0];
    unnamed.Name.clear();
    EXPECT_EQ(data.RecordText, RecordLine(unnamed));

    // Pushed out of the ten by better games into the slot below them: the file goes with it.
    TopScores[10] = TopScores[0];
    for (int i = 0; i < 10; i++) {
        TopScores[i] = Game->Record;
        TopScores[i].Score = std::to_string(90000 + i);
    }
    WriteScoreFile();
    EXPECT_FALSE(FileExistsOnDisk(path));
}

TEST(RecordingFile, RoundTripAndDamage) {
    ReplayData d;
    d.Seed = 0xABCDEF;
    d.Terrain = 3;
    d.Year = 2026, d.Month = 12, d.Day = 8;
    d.LastSecondTick = 5'000'000'000;
    d.NextFrameTick = 5'000'000'030;
    d.UnitFiles = {{"DEFAULT", "NA Player\r\nEND\r\n"}, {"LVL1", std::string(300, 'x')}};
    d.RecordText = "120  K=3  T=01:02";
    // Ten minutes at 33 frames a second: the cursor wanders, keys change.
    int64_t t = d.LastSecondTick;
    for (int f = 0; f < 20000; f++) {
        ReplayEvent e;
        e.Kind = f % 1000 == 999 ? ReplayPausedPass : ReplayFrameEvent;
        e.Keys = static_cast<uint8_t>((f / 40) % 5 == 0 ? ReplayKeyW : 0);
        e.Buttons = static_cast<uint8_t>((f / 20) % 3 == 0 ? ReplayMouseLeft : 0);
        e.X = 150 + static_cast<int>(100 * std::sin(f * 0.013)) + (f * 7919) % 3;
        e.Y = 150 + static_cast<int>(100 * std::cos(f * 0.017)) - (f * 104729) % 3;
        d.Events.push_back(e);
        for (int k = 0; k < 2; k++) d.Ticks.push_back(t += 15 + (f * 31 + k) % 3);
    }
    d.Events.push_back({ReplayOptionsSet, 8, 0, 0, 0});
    const std::string file = EncodeReplay(d);
    EXPECT_LT(file.size(), 100u * 1024);

    ReplayData back;
    std::string why;
    ASSERT_TRUE(DecodeReplay(file, back, why)) << why;
    EXPECT_EQ(back.Seed, d.Seed);
    EXPECT_EQ(back.Terrain, 3);
    EXPECT_EQ(back.Day, 8);
    EXPECT_EQ(back.NextFrameTick, d.NextFrameTick);
    EXPECT_EQ(back.UnitFiles, d.UnitFiles);
    EXPECT_EQ(back.RecordText, d.RecordText);
    EXPECT_EQ(back.Ticks, d.Ticks);
    ASSERT_EQ(back.Events.size(), d.Events.size());
    for (size_t i = 0; i < d.Events.size(); i++) {
        const ReplayEvent &a = d.Events[i], &b = back.Events[i];
        if (a.Kind == ReplayPausedPass) {
            EXPECT_EQ(b.Kind, ReplayPausedPass);
            continue;
        }
        ASSERT_TRUE(a.Kind == b.Kind && a.Keys == b.Keys && a.Buttons == b.Buttons) << i;
        if (a.Kind == ReplayFrameEvent) {
            ASSERT_TRUE(a.X == b.X && a.Y == b.Y) << i;
        }
    }

    // Damage of every kind is a clear "no", never a crash or a half game.
    const size_t eol = file.find('\n');
    std::string other = file;
    other.replace(file.find(GameVersion), std::string(GameVersion).size(), "9.99");
    EXPECT_FALSE(DecodeReplay(other, back, why));
    EXPECT_NE(why.find("version 9.99"), std::string::npos) << why;
    EXPECT_TRUE(DecodeReplay(other, back, why, false)) << why;
    EXPECT_EQ(why, "");  // no reason left over from the refusal before
    EXPECT_EQ(back.Version, "9.99");
    for (const std::string& bad : {file.substr(0, file.size() - 10), file.substr(0, eol + 1),
                                   std::string("DORVIK REPLAY 2 ") + GameVersion + " 10\n", std::string("hello"),
                                   file + "x"}) {
        EXPECT_FALSE(DecodeReplay(bad, back, why));
        EXPECT_FALSE(why.empty());
    }
    std::string flipped = file;
    flipped[eol + 40] = static_cast<char>(flipped[eol + 40] ^ 0x20);
    EXPECT_FALSE(DecodeReplay(flipped, back, why));
}

TEST(RecordingLimits, AGameLeftPausedForDaysIsNotRecorded) {
    TempGameDir dir;
    WriteUnitFiles(dir);
    BattleReset(7);
    GameRunning = 0;
    NewGame();
    ASSERT_EQ(ReplayState, ReplayMode::Recording);
    DropPendingRecording();
    GamePaused = -1;
    for (size_t i = 0; i < ReplayMaxEvents && ReplayState == ReplayMode::Recording; i++) RecordPausedPass();
    EXPECT_EQ(ReplayState, ReplayMode::Off);
    FinishRecording(MakeGameRecord(10));
    ReplayFrameEnd();
    EXPECT_TRUE(PendingRecording().empty());
    GamePaused = 0;
    GameRunning = 0;
}

// The effects' own draws start from the battle's seed as the recording
// begins, whatever the menus drew before: a watched game looks as it was.
TEST(RecordingStart, TheEffectsStartAlikeWhateverTheMenusDrew) {
    TempGameDir dir;
    WriteUnitFiles(dir);
    std::vector<float> next;
    for (int menuDraws : {3, 8}) {
        BattleReset(7);
        GameRunning = 0;
        NewGame();
        for (int i = 0; i < menuDraws; i++) EffectRnd();
        FrameStep();
        next.push_back(EffectRnd());
        ReplayState = ReplayMode::Off;
        GameRunning = 0;
    }
    EXPECT_EQ(next[0], next[1]);
}

TEST(RecordingInput, EveryInputAFrameHoldsIsRecordedAndGivenBack) {
    TempGameDir dir;
    WriteUnitFiles(dir);
    for (int n = 1; n <= 5; n++) {
        Surface map;
        CreateSurface(map, 300, 300, RGB(n, 0, 0));
        ASSERT_TRUE(SaveBmpFile(dir.File("Pictures/Map0" + std::to_string(n) + ".bmp"), map));
    }
    BattleReset(3);
    GameRunning = 0;
    NewGame();
    ASSERT_EQ(ReplayState, ReplayMode::Recording);
    const int terrain = CurrentTerrain;
    struct Input {
        std::vector<int> Keys;
        bool Left, Right, Middle, FireModeKey;
        int X, Y, Facing;  // the player stands at 140,140: the pointer sets the facing
    };
    const Input frames[] = {
        {{DIK_W, DIK_UP}, true, false, false, false, 250, 150, 0},
        {{DIK_A, DIK_LEFT}, false, true, false, false, 150, 250, 90},
        {{DIK_S, DIK_DOWN}, false, false, true, false, 50, 150, 180},
        {{DIK_D, DIK_RIGHT, DIK_Q}, false, false, false, true, 150, 50, 270},
    };
    for (const Input& in : frames) {
        std::fill(std::begin(KeyState), std::end(KeyState), uint8_t{0});
        for (int k : in.Keys) KeyState[k] = 0x80;
        MouseLeft = in.Left ? -1 : 0, MouseRight = in.Right ? -1 : 0, MouseMiddle = in.Middle ? -1 : 0;
        FireModeKeyReleased = in.FireModeKey ? -1 : 0;
        CursorX = in.X, CursorY = in.Y;
        RecordFrameInput();
    }
    FinishRecording(MakeGameRecord(10));
    ReplayFrameEnd();
    ReplayData data;
    std::string why;
    ASSERT_TRUE(DecodeReplay(PendingRecording(), data, why)) << why;
    DropPendingRecording();

    std::fill(std::begin(KeyState), std::end(KeyState), uint8_t{0x80});
    MouseLeft = MouseRight = MouseMiddle = FireModeKeyReleased = -1;
    CurrentTerrain = terrain % 5 + 1;  // another game since
    CreateSurface(Terain, 300, 300, RGB(9, 9, 9));
    ASSERT_TRUE(BeginPlayback(data, ReplayMode::Watching, why)) << why;
    // The watched battle lies on the recorded terrain (the sixth is the one left from before).
    EXPECT_EQ(GetPixel(Terain, 5, 5), static_cast<int32_t>(terrain <= 5 ? RGB(terrain, 0, 0) : RGB(9, 9, 9)));
    const int recorded[] = {DIK_W, DIK_A, DIK_S, DIK_D, DIK_UP, DIK_LEFT, DIK_DOWN, DIK_RIGHT};
    for (const Input& in : frames) {
        ASSERT_TRUE(PlaybackFrameInput());
        for (int k : recorded) {
            const bool held = std::find(in.Keys.begin(), in.Keys.end(), k) != in.Keys.end();
            EXPECT_EQ(KeyState[k], held ? 0x80 : 0) << k;
        }
        EXPECT_EQ(KeyState[DIK_Q], 0);  // not a movement key: never recorded
        EXPECT_EQ(MouseLeft, in.Left ? -1 : 0);
        EXPECT_EQ(MouseRight, in.Right ? -1 : 0);
        EXPECT_EQ(MouseMiddle, in.Middle ? -1 : 0);
        EXPECT_EQ(FireModeKeyReleased, in.FireModeKey ? -1 : 0);
        EXPECT_EQ(std::pair(CursorX, CursorY), std::pair(in.X, in.Y));
        EXPECT_EQ(Units[0].Facing, in.Facing);
    }
    // The recording is over: the game ends and nothing of its input stays held.
    EXPECT_FALSE(PlaybackFrameInput());
    EXPECT_EQ(ReplayState, ReplayMode::Off);
    EXPECT_EQ(GameRunning, 0);
    EXPECT_EQ(KeyState[DIK_W] | KeyState[DIK_RIGHT], 0);
    EXPECT_EQ(MouseLeft | MouseRight | MouseMiddle | FireModeKeyReleased, 0);

    // Without its player file the recording cannot start a game.
    data.UnitFiles.erase(data.UnitFiles.begin());
    EXPECT_FALSE(BeginPlayback(data, ReplayMode::Watching, why));
    EXPECT_EQ(why, "the recording's unit files cannot be read");
    EXPECT_EQ(ReplayState, ReplayMode::Off);
    EXPECT_EQ(GameRunning, 0);
}

// Begun with kills in a row off and movement relative to the facing, kills in
// a row switched on later, and checked with the player's settings the other
// way.
TEST(RecordingStart, AGamePausedBeforeItsFirstFramePlaysBackTheSame) {
    TempGameDir dir;
    WriteUnitFiles(dir);
    BattleReset(20260101);
    GameRunning = 0;
    OptKillsInRow = OptRealMovement = 8;
    NewGame();
    GamePaused = -1;  // the passes of the menus, as the main loop runs them
    for (int pass = 0; pass < 40; pass++) RecordPausedPass(), ClockStep();
    GamePaused = 0;
    for (int frame = 0; frame < 6000 && GameRunning != 0; frame++) {
        if (frame == 350) OptKillsInRow = 0;  // switched back on, the movement left as it was
        ScriptedInput(frame);
        FrameStep();
    }
    ReplayData data;
    std::string why;
    ASSERT_TRUE(DecodeReplay(PendingRecording(), data, why)) << why;
    DropPendingRecording();
    OptKillsInRow = OptRealMovement = 0;
    UseTestClock(true, 5000);  // another machine, whose clock is behind the recorded one
    const ReplayOutcome o = VerifyReplay(data);
    EXPECT_LT(GetTickCount(), 6000u);  // checking a game never waits for its frames
    // The checked game leaves nothing behind: the player's own settings are back.
    EXPECT_FALSE(ReplayIsPlaying());
    EXPECT_EQ(OptRealMovement, 0);
    CreateSurface(Field, 300, 300);
    CreateSurface(Terain, 300, 300);
    CreateSurface(MenuField, 300, 300);
    CreateSurface(StatusField, 300, 78);
    ASSERT_TRUE(o.Ended) << o.Why;
    std::string difference;
    EXPECT_TRUE(SameGame(ParseRecordLine(data.RecordText), o.Record, difference)) << difference;
    EnteringName = 0;
    MenuCode.clear();
}

// A recording notes a setting only when it changes in its own game, whatever
// the game before ended with.
TEST(RecordingStart, EachRecordingNotesOnlyItsOwnChangesOfTheSettings) {
    TempGameDir dir;
    WriteUnitFiles(dir);
    BattleReset(5);
    GameRunning = 0;
    for (Integer changed : {8, 0}) {
        OptKillsInRow = OptRealMovement = 0;
        NewGame();
        FrameStep();
        OptKillsInRow = changed;
        FrameStep();
        FinishRecording(ScoreRecord{});
        ReplayFrameEnd();
        ReplayData data;
        std::string why;
        ASSERT_TRUE(DecodeReplay(PendingRecording(), data, why)) << why;
        DropPendingRecording();
        const auto settings = std::count_if(data.Events.begin(), data.Events.end(),
                                            [](const ReplayEvent& e) { return e.Kind == ReplayOptionsSet; });
        EXPECT_EQ(settings, changed ? 1 : 0) << changed;
    }
    OptKillsInRow = 0;
    GameRunning = 0;
}

namespace {
// A body written by hand after the layout, so the reader's limits can be
// tried one value past each.
struct Body {
    std::string B;
    Body& U(uint64_t v) {
        for (; v >= 0x80; v >>= 7) B += static_cast<char>((v & 0x7F) | 0x80);
        B += static_cast<char>(v);
        return *this;
    }
    Body& S(int64_t v) { return U((static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63)); }
    Body& Text(const std::string& s) {
        U(s.size());
        B += s;
        return *this;
    }
    Body& Raw(const std::string& s) {
        B += s;
        return *this;
    }
};

// Seed, terrain, date, the frame clock and the two settings.
Body Start(int64_t seed = 1, int64_t terrain = 1, int64_t nextFrameTick = 0) {
    Body b;
    b.S(seed).S(terrain).S(2026).S(12).S(8).S(0).S(nextFrameTick).S(0).S(33).S(0).S(8);
    return b;
}
// No unit files, an empty record: what follows is the events.
Body Plain() { return Start().U(0).Text(""); }

std::string Packed(const std::string& body, const std::string& size, const std::string& version = GameVersion) {
    uLongf n = compressBound(static_cast<uLong>(body.size()));
    std::string z(n, '\0');
    compress2(reinterpret_cast<Bytef*>(z.data()), &n, reinterpret_cast<const Bytef*>(body.data()), body.size(), 1);
    z.resize(n);
    return std::string("DORVIK REPLAY 1 ") + version + " " + size + "\n" + z;
}
std::string Packed(const Body& b) { return Packed(b.B, std::to_string(b.B.size())); }

bool Reads(const std::string& file) {
    ReplayData d;
    std::string why;
    return DecodeReplay(file, d, why);
}
bool Reads(const Body& b) { return Reads(Packed(b)); }

std::string Why(const std::string& file) {
    ReplayData d;
    std::string why;
    DecodeReplay(file, d, why, false);
    return why;
}
}  // namespace

TEST(RecordingFile, EveryLimitHoldsAtItsValueAndRefusesOneBeyond) {
    EXPECT_TRUE(Reads(Plain().U(0).U(0)));
    EXPECT_FALSE(Reads(Plain().U(0).U(0).Raw(std::string(1, '\0'))));  // a byte left over
    EXPECT_TRUE(Reads(Start(0xFFFFFF).U(0).Text("").U(0).U(0)));
    EXPECT_FALSE(Reads(Start(0x1000000).U(0).Text("").U(0).U(0)));
    EXPECT_FALSE(Reads(Start(-1).U(0).Text("").U(0).U(0)));
    EXPECT_TRUE(Reads(Start(0, INT32_MIN).U(0).Text("").U(0).U(0)));
    EXPECT_TRUE(Reads(Start(0, INT32_MAX).U(0).Text("").U(0).U(0)));
    EXPECT_FALSE(Reads(Start(0, int64_t{INT32_MAX} + 1).U(0).Text("").U(0).U(0)));
    EXPECT_FALSE(Reads(Start(0, int64_t{INT32_MIN} - 1).U(0).Text("").U(0).U(0)));
    // A ten-byte number is whole; an eleventh byte is damage.
    ReplayData d;
    std::string why;
    ReplayData edges;  // numbers at the edges of a byte's seven bits
    edges.Terrain = 64, edges.Year = -64, edges.Month = 8192, edges.RecordText = std::string(128, 'r');
    ASSERT_TRUE(DecodeReplay(EncodeReplay(edges), d, why)) << why;
    EXPECT_TRUE(d.Terrain == 64 && d.Year == -64 && d.Month == 8192 && d.RecordText == edges.RecordText);
    ASSERT_TRUE(DecodeReplay(Packed(Start(0, 1, INT64_MIN).U(0).Text("").U(0).U(0)), d, why)) << why;
    EXPECT_EQ(d.NextFrameTick, INT64_MIN);
    EXPECT_FALSE(Reads(Start().U(0).Raw(std::string(10, '\x80') + '\0').U(0).U(0)));

    // Unit files: sixteen of them, names of 16 bytes, 64 KB each; the record 512 bytes.
    auto files = [](int count, size_t name, size_t size) {
        Body b = Start().U(count);
        for (int i = 0; i < count; i++) b.Text(std::string(name, 'N')).Text(std::string(size, 'x'));
        return b.Text("").U(0).U(0);
    };
    EXPECT_TRUE(Reads(files(16, 16, 65536)));
    EXPECT_FALSE(Reads(files(17, 1, 1)));
    EXPECT_FALSE(Reads(files(1, 17, 1)));
    EXPECT_FALSE(Reads(files(1, 1, 65537)));
    EXPECT_TRUE(Reads(Start().U(0).Text(std::string(512, 'r')).U(0).U(0)));
    EXPECT_FALSE(Reads(Start().U(0).Text(std::string(513, 'r')).U(0).U(0)));

    // Events: three kinds; the cursor summed from the changes stays within 100,000.
    EXPECT_TRUE(Reads(Plain().U(1).Raw(std::string("\x02\x08\x00", 3)).U(0)));
    EXPECT_FALSE(Reads(Plain().U(1).Raw(std::string("\x03\x08\x00", 3)).U(0)));
    auto cursor = [](int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
        return Plain().U(2).Raw(std::string(3, '\0')).S(x1).S(y1).Raw(std::string(3, '\0')).S(x2).S(y2).U(0);
    };
    ASSERT_TRUE(DecodeReplay(Packed(cursor(60000, -60000, 40000, -40000)), d, why)) << why;
    EXPECT_EQ(d.Events[1].X, 100000);
    EXPECT_EQ(d.Events[1].Y, -100000);
    EXPECT_TRUE(Reads(cursor(-60000, 60000, -40000, 40000)));
    EXPECT_FALSE(Reads(cursor(60000, 0, 40001, 0)));
    EXPECT_FALSE(Reads(cursor(-60000, 0, -40001, 0)));
    EXPECT_FALSE(Reads(cursor(0, 60000, 0, 40001)));
    EXPECT_FALSE(Reads(cursor(0, -60000, 0, -40001)));
    auto paused = [](size_t count) { return Plain().U(count).Raw(std::string(count, '\x01')).U(0); };
    EXPECT_TRUE(Reads(paused(ReplayMaxEvents)));
    EXPECT_FALSE(Reads(paused(ReplayMaxEvents + 1)));

    // Clock readings: steps up to 2^40 either way.
    const int64_t far = int64_t{1} << 40;
    ASSERT_TRUE(DecodeReplay(Packed(Plain().U(0).U(2).S(far).S(-far)), d, why)) << why;
    EXPECT_EQ(d.Ticks, (std::vector<int64_t>{far, 0}));
    EXPECT_FALSE(Reads(Plain().U(0).U(1).S(far + 1)));
    EXPECT_FALSE(Reads(Plain().U(0).U(1).S(-far - 1)));
    auto readings = [](size_t count) { return Plain().U(0).U(count).Raw(std::string(count, '\0')); };
    EXPECT_TRUE(Reads(readings(ReplayMaxTicks)));
    EXPECT_FALSE(Reads(readings(ReplayMaxTicks + 1)));
}

TEST(RecordingFile, TheFirstLineAndTheSizes) {
    const std::string body = Plain().U(0).U(0).B, size = std::to_string(body.size());
    EXPECT_TRUE(Reads(Packed(body, std::string(9 - size.size(), '0') + size)));  // nine digits at most
    EXPECT_EQ(Why(Packed(body, std::string(10 - size.size(), '0') + size)), "the recording is damaged");
    EXPECT_FALSE(Reads(Packed(body, std::to_string(body.size() + 1))));
    EXPECT_FALSE(Reads(Packed(body, std::to_string(body.size() - 1))));
    EXPECT_FALSE(Reads(Packed(body, size + " 1")));
    EXPECT_EQ(Why(Packed(body, std::to_string(ReplayMaxBodyBytes))), "the recording is damaged");
    EXPECT_EQ(Why(Packed(body, std::to_string(ReplayMaxBodyBytes + 1))), "the recording is too large");
    // The whole file up to 4 MB; the first line up to 128 bytes.
    const std::string file = Packed(body, size);
    EXPECT_EQ(Why(file + std::string(ReplayMaxFileBytes - file.size(), 'x')), "the recording is damaged");
    EXPECT_EQ(Why(file + std::string(ReplayMaxFileBytes + 1 - file.size(), 'x')), "the recording is too large");
    const size_t fixed = std::string("DORVIK REPLAY 1  \n").size() + size.size();
    EXPECT_EQ(Why(Packed(body, size, std::string(128 - fixed + 1, 'v'))), "");
    EXPECT_EQ(Why(Packed(body, size, std::string(128 - fixed + 2, 'v'))), "this is not a recording");
    EXPECT_EQ(Why("DORVIK REPLAX 1 " + file.substr(16)), "this is not a recording");
}

TEST(RecordingFile, KeyIsTheDigestOfTheRecordWithoutItsName) {
    EXPECT_EQ(ReplayKeyOfRecordText(""), "cbf29ce484222325");
    EXPECT_EQ(ReplayKeyOfRecordText("a"), "af63dc4c8601ec8c");
    EXPECT_EQ(ReplayKeyOfRecordText("foobar"), "85944171f73967e8");
    ScoreRecord a;
    a.Score = "120  ";
    a.Name = "Ann";
    ScoreRecord b = a;
    b.Name = "Bob";
    EXPECT_EQ(ReplayKey(a), ReplayKey(b));
    b.Name.clear();
    EXPECT_EQ(ReplayKey(a), ReplayKeyOfRecordText(RecordLine(b)));
    b.Score = "121  ";
    EXPECT_NE(ReplayKey(a), ReplayKey(b));
}
