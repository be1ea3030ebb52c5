#include "shell/Replay.h"

#include <algorithm>
#include <utility>

#include "graphics/WorkWithMemory.h"
#include "input/DirectInputMod.h"
#include "maps/MapGen.h"
#include "opponents/GameClock.h"
#include "opponents/TextFile.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/GameFolders.h"
#include "platform/Window.h"
#include "scores/ScoreFile.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "shell/NewGame.h"

ReplayMode ReplayState = ReplayMode::Off;

namespace {
// The unit files a battle reads.
constexpr const char* RecordedUnitFiles[] = {"DEFAULT", "LVL1"};

ReplayData Recording;    // the battle being recorded, or the one played back
bool RecordingBegun = false;  // the first event fixed the starting state
bool Finishing = false;       // the game ended in the frame being run
size_t NextEvent = 0, NextTick = 0;
uint8_t LastOptions[2] = {0, 0};
std::string Pending, PendingKey;  // the finished recording waiting for its entry

// What playing back changed of the player's own settings, to give back.
Integer SavedKillsInRow = 0, SavedRealMovement = 0;
uint64_t WatchNextTick = 0;
ScoreRecord PlaybackRecord;
bool PlaybackEnded = false;

// The movement keys a frame's input holds, and their bits in the recording.
constexpr std::pair<int, uint8_t> RecordedKeys[] = {
    {DIK_W, ReplayKeyW},   {DIK_A, ReplayKeyA},       {DIK_S, ReplayKeyS},       {DIK_D, ReplayKeyD},
    {DIK_UP, ReplayKeyUp}, {DIK_LEFT, ReplayKeyLeft}, {DIK_DOWN, ReplayKeyDown}, {DIK_RIGHT, ReplayKeyRight}};

uint8_t KeyBits() {
    uint8_t bits = 0;
    for (auto [dik, bit] : RecordedKeys)
        if (KeyState[dik] != 0) bits |= bit;
    return bits;
}

void SetKeys(uint8_t bits) {
    std::fill(std::begin(KeyState), std::end(KeyState), uint8_t{0});
    for (auto [dik, bit] : RecordedKeys)
        if (bits & bit) KeyState[dik] = 0x80;
}

// The starting state is taken at the first event, so whatever ran between
// the new game and its first frame is part of it.
void BeginEvents() {
    if (RecordingBegun) return;
    RecordingBegun = true;
    Recording.Seed = RndState();
    // The effects start alike too, so a recording looks as the game did.
    RandomizeEffects(Recording.Seed);
    Recording.LastSecondTick = LastSecondTick;
    Recording.NextFrameTick = NextFrameTick;
    Recording.FrameCount = FrameCount;
    Recording.Fps = Fps;
    Recording.OptKillsInRow = OptKillsInRow;
    Recording.OptRealMovement = OptRealMovement;
    LastOptions[0] = static_cast<uint8_t>(OptKillsInRow);
    LastOptions[1] = static_cast<uint8_t>(OptRealMovement);
}

// A game left paused for days would outgrow what a reader accepts: such a
// game is simply not recorded.
bool RecordingFull() {
    if (Recording.Events.size() + 2 < ReplayMaxEvents && Recording.Ticks.size() + 16 < ReplayMaxTicks) return false;
    ReplayState = ReplayMode::Off;
    Recording = ReplayData{};
    return true;
}

void RecordOptionsIfChanged() {
    const uint8_t k = static_cast<uint8_t>(OptKillsInRow), m = static_cast<uint8_t>(OptRealMovement);
    if (k == LastOptions[0] && m == LastOptions[1]) return;
    LastOptions[0] = k, LastOptions[1] = m;
    ReplayEvent e;
    e.Kind = ReplayOptionsSet;
    e.Keys = k;
    e.Buttons = m;
    Recording.Events.push_back(e);
}

void ApplyStartingState(const ReplayData& d) {
    Randomize(d.Seed);
    RandomizeEffects(d.Seed);
    LastSecondTick = d.LastSecondTick;
    NextFrameTick = d.NextFrameTick;
    FrameCount = d.FrameCount;
    Fps = d.Fps;
    OptKillsInRow = static_cast<Integer>(d.OptKillsInRow);
    OptRealMovement = static_cast<Integer>(d.OptRealMovement);
}

// The battle's course never depends on pictures: while verifying nothing is
// drawn at all.
void DropSurfaces() {
    for (Surface* s : {&Field, &Terain, &MenuField, &StatusField}) FreeSurface(*s);
}
}  // namespace

uint64_t BattleTick() {
    if (ReplayIsPlaying()) {
        if (NextTick < Recording.Ticks.size()) return static_cast<uint64_t>(Recording.Ticks[NextTick++]);
        // A recording that runs out of clock ends the battle at the next frame.
        NextEvent = Recording.Events.size();
        return Recording.Ticks.empty() ? 0 : static_cast<uint64_t>(Recording.Ticks.back());
    }
    const uint64_t t = GetTickCount();
    if (ReplayState == ReplayMode::Recording && RecordingBegun && GameRunning != 0)
        Recording.Ticks.push_back(static_cast<int64_t>(t));
    return t;
}

void BattleWaitUntil(uint64_t tick) {
    if (ReplayState == ReplayMode::Verifying) return;
    if (ReplayState == ReplayMode::Watching) {
        // A pause in the recorded game is no battle to watch: passed at once.
        if (GamePaused) return;
        // Watching keeps the pace the game was played at, by the real clock.
        WaitUntilTickPasses(WatchNextTick);
        WatchNextTick = GetTickCount() + 30;
        return;
    }
    WaitUntilTickPasses(tick);
}

void StartRecording() {
    if (ReplayIsPlaying()) return;
    ReplayState = ReplayMode::Recording;
    Recording = ReplayData{};
    RecordingBegun = false;
    Finishing = false;
    const LocalDate d = GetLocalDate();
    Recording.Year = d.Year, Recording.Month = d.Month, Recording.Day = d.Day;
    Recording.Terrain = CurrentTerrain;
    for (const char* name : RecordedUnitFiles) {
        std::string text;
        if (ReadWholeFile(ResolveCase(AppPath() + "/otherfiles/" + name + ".txt"), text) &&
            text.size() <= ReplayMaxUnitFileBytes)
            Recording.UnitFiles.emplace_back(name, std::move(text));
    }
}

void RecordFrameInput() {
    if (ReplayState != ReplayMode::Recording || RecordingFull()) return;
    BeginEvents();
    RecordOptionsIfChanged();
    ReplayEvent e;
    e.Kind = ReplayFrameEvent;
    e.Keys = KeyBits();
    e.Buttons = static_cast<uint8_t>((MouseLeft ? ReplayMouseLeft : 0) | (MouseRight ? ReplayMouseRight : 0) |
                                     (MouseMiddle ? ReplayMouseMiddle : 0) |
                                     (FireModeKeyReleased ? ReplayFireModeKey : 0));
    e.X = CursorX;
    e.Y = CursorY;
    Recording.Events.push_back(e);
}

void RecordPausedPass() {
    if (ReplayState != ReplayMode::Recording || GameRunning == 0 || RecordingFull()) return;
    BeginEvents();
    ReplayEvent e;
    e.Kind = ReplayPausedPass;
    Recording.Events.push_back(e);
}

void FinishRecording(const ScoreRecord& record) {
    if (ReplayState != ReplayMode::Recording) return;
    ScoreRecord r = record;
    r.Name.clear();
    Recording.RecordText = RecordLine(r);
    PendingKey = ReplayKey(r);
    Finishing = true;
}

void ReplayFrameEnd() {
    // The frame in which the game ended runs to its end as it did when played.
    if (ReplayState == ReplayMode::Recording && Finishing) {
        Finishing = false;
        ReplayState = ReplayMode::Off;
        Pending = EncodeReplay(Recording);
        Recording = ReplayData{};
    }
    if (ReplayIsPlaying() && GameRunning == 0) StopPlayback();
}

const std::string& PendingRecording() { return Pending; }
// Its key is set anew before the next recording is pending.
void DropPendingRecording() { Pending.clear(); }

std::string ReplayFolderPath() { return ResolveCase(PlayerDataPath() + "/" + ReplayFolderName); }
std::string ReplayFilePath(const ScoreRecord& entry) {
    return ReplayFolderPath() + "/" + ReplayKey(entry) + ReplayExtension;
}

void SaveAndPruneRecordings(const ScoreRecord* entries) {
    std::vector<std::string> keep;
    for (int i = 0; i < 10; i++)
        if (!entries[i].Score.empty()) keep.push_back(ReplayKey(entries[i]) + ReplayExtension);
    const std::string folder = ReplayFolderPath();
    if (!Pending.empty() && std::find(keep.begin(), keep.end(), PendingKey + ReplayExtension) != keep.end()) {
        if (MakeFolder(folder) && WriteFileAtomic(folder + "/" + PendingKey + ReplayExtension, Pending))
            DropPendingRecording();
    }
    for (const std::string& name : FilesInFolder(folder)) {
        const bool recording = name.size() == 16 + std::string_view(ReplayExtension).size() &&
                               name.ends_with(ReplayExtension);
        if (recording && std::find(keep.begin(), keep.end(), name) == keep.end())
            DeleteFileIfThere(folder + "/" + name);
    }
}

bool BeginPlayback(const ReplayData& data, ReplayMode mode, std::string& why) {
    if (mode != ReplayMode::Watching && mode != ReplayMode::Verifying) return false;
    if (data.Version != GameVersion) {
        why = "the recording is of version " + data.Version + ", this is " + GameVersion;
        return false;
    }
    Recording = data;
    NextEvent = NextTick = 0;
    PlaybackEnded = false;
    PlaybackRecord = ScoreRecord{};
    SavedKillsInRow = OptKillsInRow;
    SavedRealMovement = OptRealMovement;
    ReplayState = mode;
    if (mode == ReplayMode::Verifying) DropSurfaces();
    SetUnitFileSource(&Recording.UnitFiles);
    NewGame();
    if (GameRunning == 0) {
        why = "the recording's unit files cannot be read";
        StopPlayback();
        return false;
    }
    ApplyStartingState(Recording);
    WatchNextTick = GetTickCount();
    why.clear();
    return true;
}

bool PlaybackFrameInput() {
    while (NextEvent < Recording.Events.size()) {
        const ReplayEvent& e = Recording.Events[NextEvent++];
        if (e.Kind == ReplayPausedPass) {
            // The clock ran on in the menus while the game was paused.
            GamePaused = -1;
            ClockStep();
            GamePaused = 0;
            continue;
        }
        if (e.Kind == ReplayOptionsSet) {
            OptKillsInRow = e.Keys;
            OptRealMovement = e.Buttons;
            continue;
        }
        SetKeys(e.Keys);
        MouseLeft = (e.Buttons & ReplayMouseLeft) ? -1 : 0;
        MouseRight = (e.Buttons & ReplayMouseRight) ? -1 : 0;
        MouseMiddle = (e.Buttons & ReplayMouseMiddle) ? -1 : 0;
        FireModeKeyReleased = (e.Buttons & ReplayFireModeKey) ? -1 : 0;
        CursorX = e.X;
        CursorY = e.Y;
        FaceThePointer();
        return true;
    }
    // The recording is over before the game ended (it was left from the menu).
    StopPlayback();
    return false;
}

int PlaybackTerrain() { return Recording.Terrain; }
LocalDate PlaybackDate() { return {Recording.Year, Recording.Month, Recording.Day}; }

void PlaybackGameEnded(const ScoreRecord& record) {
    PlaybackRecord = record;
    PlaybackEnded = true;
}

void StopPlayback() {
    if (!ReplayIsPlaying()) return;
    ReplayState = ReplayMode::Off;
    GameRunning = 0;
    GamePaused = 0;
    SetUnitFileSource(nullptr);
    std::fill(std::begin(KeyState), std::end(KeyState), uint8_t{0});
    MouseLeft = MouseRight = MouseMiddle = 0;
    FireModeKeyReleased = 0;
    OptKillsInRow = SavedKillsInRow;
    OptRealMovement = SavedRealMovement;
    // The recorded clock is not this one (another run, another machine):
    // the frame pacing goes on from now, or it would wait for a time that
    // may be hours away.
    LastSecondTick = NextFrameTick = static_cast<int64_t>(GetTickCount());
}

ReplayOutcome VerifyReplay(const ReplayData& data) {
    ReplayOutcome out;
    if (!BeginPlayback(data, ReplayMode::Verifying, out.Why)) return out;
    while (GameRunning != 0 && !GamePaused) FrameStep();
    StopPlayback();
    out.Ended = PlaybackEnded;
    out.Record = PlaybackRecord;
    if (!out.Ended) out.Why = "the recording ends before the game does";
    return out;
}

bool SameGame(const ScoreRecord& a, const ScoreRecord& b, std::string& difference) {
    const std::pair<const char*, std::pair<const std::string*, const std::string*>> fields[] = {
        {"score", {&a.Score, &b.Score}},           {"kills", {&a.Kills, &b.Kills}},
        {"time", {&a.Time, &b.Time}},              {"accuracy", {&a.Accuracy, &b.Accuracy}},
        {"recharge", {&a.Recharge, &b.Recharge}},  {"bullet speed", {&a.BulletSpeed, &b.BulletSpeed}},
        {"melee", {&a.Melee, &b.Melee}},           {"maximum health", {&a.MaxHealth, &b.MaxHealth}},
        {"maximum ammunition", {&a.MaxAmmo, &b.MaxAmmo}}, {"date", {&a.Date, &b.Date}},
    };
    for (const auto& [name, values] : fields) {
        if (Trim(*values.first) != Trim(*values.second)) {
            difference = std::string(name) + " " + Trim(*values.first) + " is " + Trim(*values.second) + " in the replay";
            return false;
        }
    }
    difference.clear();
    return true;
}
