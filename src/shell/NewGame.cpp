#include "shell/NewGame.h"

#include <cstdio>

#include "maps/MapGen.h"
#include "opponents/TextFile.h"
#include "platform/Clock.h"
#include "shell/GameState.h"
#include "shell/Replay.h"
#include "sound/DirectSoundMod.h"

namespace {
// Nothing of an earlier game may reach into a new one: a battle is decided by
// its seed, its unit files, its clock and its input alone, so a recording of
// it plays back the same.
void ClearBattleState() {
    for (Unit& u : Units) u = Unit{};
    for (Bullet& b : Bullets) b = Bullet{};
    UnitDied = 0;
    LastDistance = LastDirection = 0;
    AliveCount = 0;
    NearestOpponentDistance = 0;
    for (auto& n : StepCount) n = 0;
    for (auto& m : LastStepMark) m = 0;
    for (auto& h : HitHistory) h = 0;
    HitsInHistory = 0;
}
}  // namespace

void NewGame() {
    // The player comes from "DEFAULT". Without that file the game cannot start:
    // the loader has said so, and the menus (and a paused game) stay as they are.
    const Unit previous = Units[0];
    Units[0] = Unit{};  // the file holds no experience: it starts at 0
    if (!LoadUnitFile("DEFAULT")) {
        Units[0] = previous;
        return;
    }
    const Unit player = Units[0];
    ClearBattleState();
    Units[0] = player;

    StopSound(26);
    GamePaused = 0;
    GameRunning = -1;
    MouseLeft = 0;
    SeparationOff = 0;
    // The status bar's per-game counters and the other mechanisms: pick-ups,
    // sheep, acid drops and boosts, blood, snow, the cleaner, the aeroplane.
    ResetBattlefield();

    Unit& p = Units[0];
    p.Facing = 270;
    p.X = 140;
    p.Y = 140;
    LocalDate d = ReplayIsPlaying() ? PlaybackDate() : GetLocalDate();
    char date[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", d.Year % 10000, d.Month % 100, d.Day % 100);
    p.GameDate = date;
    p.Ammo = 20;
    p.Speed = 10;
    p.Health = 100;
    p.Spread = 30;
    p.Melee = 0;
    p.BulletSpeed = 3;
    p.BulletRange = 60;
    p.Recharge = 15;

    HitScore = 0;
    GameMinutes = 0;
    GameSeconds = 0;
    Kills = 0;
    FireMode = 1;
    SpawnCounter = 0;
    StillFireSeconds = 0;
    WaveLeft = WavePending = WaveSize = WaveTimer = 0;

    PlaySound(22, 500);
    if (!ReplayIsPlaying()) {
        ChooseNewGameTerrain();
        StartRecording();
    } else if (ReplayState == ReplayMode::Watching) {
        ShowTerrain(PlaybackTerrain());
    }
}
