#include "opponents/GameClock.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "battle/Sheep.h"
#include "battle/StatusBar.h"
#include "graphics/WorkWithMemory.h"
#include "menus/Options.h"
#include "opponents/AirPlane.h"
#include "opponents/TextFile.h"
#include "opponents/Training.h"
#include "platform/Clock.h"
#include "scores/TopScoreList.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "shell/Replay.h"
#include "sound/DirectSoundMod.h"

namespace {
// Sounds of the timeline play at the middle of the field's right half.
constexpr double ClockSoundPos = 10.0 / 3 * 145;

Integer WaveSizeAt(int minute) {
    switch (minute) {
        case 3: return 5;
        case 6: return 10;
        case 9: return 15;
        case 12: return 20;
        case 15: return 25;
        case 18: return 35;
        default: return 0;
    }
}

// Where a wave opponent enters, by the count still to place; others keep
// their place on the circle.
bool WaveEntry(int left, Single& x, Single& y) {
    switch (left) {
        case 1: x = 20, y = -20; return true;
        case 3: x = 90, y = 320; return true;
        case 4: x = 110, y = 320; return true;
        case 5: x = 130, y = -20; return true;
        case 7: x = 170, y = -20; return true;
        case 8: x = 190, y = 320; return true;
        case 9: x = 210, y = 320; return true;
        case 11: x = 280, y = -20; return true;
        default: return false;
    }
}

// Play statistics stop at their largest value instead of wrapping negative.
Long AddStatistic(Long total, Long more) {
    return static_cast<Long>(std::clamp<int64_t>(int64_t{total} + more, std::numeric_limits<Long>::min(),
                                                 std::numeric_limits<Long>::max()));
}

void EndOfGame() {
    Unit& p = Units[0];
    p.Health = 0;
    DrawStatusBar();
    GamePaused = 0;
    GameRunning = 0;
    CopyPicture(MenuField, Field);
    BlendBlit(MainMenu, 15, 15, 270, 270, MenuField, 0, 0, 270, 270, 60);
    const Long score = HitScore + SkillScore;
    if (ReplayIsPlaying()) {
        // A recording played back enters nothing and counts no game.
        PlaybackGameEnded(MakeGameRecord(score));
        ResumeLoop(26, -1);
        return;
    }
    FinishRecording(MakeGameRecord(score));
    EnterScore(score);
    ResumeLoop(26, -1);
    TimesPlayed = AddStatistic(TimesPlayed, 1);
    PlayMinutes = AddStatistic(PlayMinutes, GameMinutes + (GameSeconds > 29 ? 1 : 0));
    LoadSaveOptions(true);
}

void PerSecondRules() {
    TrainRecharge();

    GameSeconds = static_cast<Integer>(GameSeconds + 1);
    SpawnCounter = static_cast<Integer>(SpawnCounter + 1);
    if (GameSeconds == 60) {
        GameSeconds = 0;
        GameMinutes = static_cast<Integer>(GameMinutes + 1);
    }

    if (GameMinutes < 1 && SpawnCounter == 2) {
        SpawnTick();
        SpawnCounter = 0;
    }
    if (GameMinutes > 0 && SpawnCounter == 3) {
        SpawnTick();
        SpawnCounter = 0;
    }
    if (GameMinutes > 10 && SpawnCounter == 2) {
        SpawnTick();
        SpawnCounter = 0;
    }
    if (GameMinutes > 20 && SpawnCounter == 1) {
        SpawnTick();
        SpawnCounter = 0;
    }
    if (WaveTimer > 0 && SpawnCounter == 2) {
        SpawnTick();
        SpawnCounter = 0;
    }

    // Regeneration up to full health; anything above full drains away.
    Unit& p = Units[0];
    const int full = p.BulletSpeed * 30;
    if (p.Health < full && p.Active != 0) {
        p.Health += 1;
    } else {
        p.Health -= 2;
        if (p.Health > 2 * full) p.Health -= 6;
    }

    if (GameSeconds == 0 && WaveSizeAt(GameMinutes) > 0) {
        WavePending = -1;
        WaveSize = WaveSizeAt(GameMinutes);
    }
    if (GameSeconds == 57 && WaveSizeAt(GameMinutes + 1) > 0) PlaySound(37, ClockSoundPos);

    if (WavePending == -1) {
        AirPlaneAndBombs(0, 0, 0, -1);
        WaveTimer = 60;
        WaveLeft = WaveSize;
        WavePending = 0;
        WaveSize = 0;
    }
    if (WaveTimer > 0) WaveTimer = static_cast<Integer>(WaveTimer - 1);
}
}  // namespace

void ClockStep() {
    if (GameRunning && !GamePaused && (FrameCount == 1 || FrameCount == 15)) DrawStatusBar();

    const int64_t now = static_cast<int64_t>(BattleTick());
    if (now - 1000 >= LastSecondTick) {
        LastSecondTick = now;
        Fps = FrameCount;
        FrameCount = 0;
        if (GameRunning == -1 && GamePaused == 0) PerSecondRules();
    }
    FrameCount++;
    // Sleep until the next frame is due rather than spinning a core.
    BattleWaitUntil(static_cast<uint64_t>(std::max<int64_t>(NextFrameTick, 0)));
    NextFrameTick = static_cast<int64_t>(BattleTick() + 30);
}

void SpawnTick() {
    if (GamePaused != 0) return;
    if (Units[0].Active == 0) EndOfGame();

    if (GameMinutes < 21 && SheepCount() < 2 * GameMinutes) SpawnSheep();

    if (WaveLeft <= 0 && WaveTimer <= 0 && AliveCount > SpawnCap(GameMinutes)) return;

    const Unit& p = Units[0];
    const Integer P = p.BulletSpeed;
    do {
        SpawnOpponent();
        const Long s = LoadedSlot;
        // No free slot: this opponent is simply not placed.
        const bool placed = s >= 0 && s <= MaxUnit && Units[s].Active != 0;
        if (!placed) {
            if (WaveLeft > 0) WaveLeft = static_cast<Integer>(WaveLeft - 1);
            continue;
        }
        Unit& u = Units[s];
        // Level, range, recharge and health all come from the player below.
        u.Ammo = 10;
        u.Speed = 10;
        u.Spread = 30;
        if (WaveLeft > 0) {
            WaveEntry(WaveLeft, u.X, u.Y);
            u.Speed = Int(Rnd() * 5) + 7;
            u.Ammo = static_cast<Integer>(Whole(Int(Rnd() * 10) + 8));
            WaveLeft = static_cast<Integer>(WaveLeft - 1);
        }
        (void)Rnd();
        u.BulletSpeed = static_cast<Integer>(Whole(Rnd() * (P - 3) + 3));
        if (P < 5 && GameMinutes > 2) u.BulletSpeed = static_cast<Integer>(u.BulletSpeed + 2);
        u.BulletRange = TextValue(p.BulletRange - Rnd() * 20);
        u.Recharge = p.Recharge;
        u.Health = static_cast<Single>((Rnd() * 3 + 1) * (P * 3));
        u.SpriteName = "AiLVL" + StrInt(IDiv(u.BulletSpeed - 3, 2));
    } while (WaveLeft > 0);
}

void SpawnOpponent() {
    if (GamePaused == -1) return;
    RandomizeFrom(BattleTick());
    const double a = Int(Rnd() * 359) + 1;
    if (!LoadUnitFile("LVL1")) {
        LoadedSlot = MaxUnit + 1;
        return;
    }
    if (LoadedSlot == 0) {
        // The player's slot was free (the player is dead).
        if (!LoadUnitFile("DEFAULT")) LoadedSlot = MaxUnit + 1;
        return;
    }
    if (LoadedSlot > MaxUnit) return;
    Unit& u = Units[LoadedSlot];
    u.X = static_cast<Single>(std::cos(a * DegToRad) * 210 + 140);
    u.Y = static_cast<Single>(std::sin(a * DegToRad) * 210 + 140);
    u.Speed = TextValue(u.Speed - Int(Rnd() * 3));
}

int SpawnCap(int minute) {
    if (minute <= 15) return minute + 4;
    if (minute == 16) return 30;
    if (minute == 17) return 40;
    if (minute == 18) return 51;
    return 49;
}
