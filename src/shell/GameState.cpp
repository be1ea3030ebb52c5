#include "shell/GameState.h"

#include <cmath>
#include <cstring>

#include "battle/Acid.h"
#include "battle/Blood.h"
#include "battle/ScoreInfo.h"
#include "battle/Sheep.h"
#include "battle/Snow.h"
#include "opponents/AirPlane.h"
#include "opponents/Cleaner.h"
#include "opponents/Pickups.h"

Unit Units[MaxUnit + 1];
Bullet Bullets[MaxBullet + 1];

Surface Field, Terain, MenuField, StatusField, LoadPicDC;

Integer GameRunning, GamePaused;
std::string MenuCode;
Integer EnteringName;
std::string LoadingText;
std::string WindowCaption;
Double DegToRad;
Integer DoEventsCounter;

Long CursorX, CursorY;
uint8_t KeyState[256];
Integer MouseLeft, MouseRight, MouseMiddle;
Integer FireMode;
Integer FireModeKeyReleased;
Integer MusicVolume;
Integer ScreenshotNumber;
Integer FieldOffsetX, FieldOffsetY;
Double WorldScroll, WorldScrollOffset;

Integer OptSnow, OptBulletFly, OptBloodFly, OptBloodStays, OptFootSteps, OptDebugInfo, OptScoreInfo, OptAlphaBlend,
    OptKillsInRow, OptFullScreen, OptMono, OptRealMovement;
Integer SoundOff;
Long PlayMinutes, TimesPlayed;
Integer MapsGenerated;

Integer Kills;
Integer HitScore;
Long SkillScore;
Long BonusScore;
Integer UnitDied;
Integer LastDistance, LastDirection;
Integer BoostTimers[5];
Integer AirPlaneActive, BugerActive, ShakeActive;

Integer AliveCount;
Integer NearestOpponentDistance;
Integer SeparationOff;
Integer StepCount[52], LastStepMark[52];

Integer HealthPackActive[10];
Single HealthPackX[10], HealthPackY[10];
Integer CrateActive[10];
Single CrateX[10], CrateY[10];
Integer CrateBullets[10];
Single BugerX, BugerY;

Long Fps, FrameCount;
int64_t LastSecondTick, NextFrameTick;
Integer GameSeconds, GameMinutes, SpawnCounter, StillFireSeconds, WaveLeft, WavePending, WaveSize, WaveTimer;

Integer HitHistory[10], HitsInHistory;

std::string UnitFileValue;
Long LoadedSlot;

Sheep Sheeps[201];

Integer AcidActive[5];
Single AcidX[5], AcidY[5];
Integer AcidKind[5];

Integer DirectionAndDistance(double x1, double y1, double x2, double y2) {
    Integer dir = LastDirection;
    if (x2 > x1 && y1 == y2) dir = 0;
    else if (x1 == x2 && y2 > y1) dir = 90;
    else if (x2 < x1 && y1 == y2) dir = 180;
    else if (x1 == x2 && y2 < y1) dir = 270;
    else if (y2 != y1) {
        Long a = Whole(std::fabs(std::atan((x2 - x1) / (y2 - y1))) * 180.0 / 3.14159265358979323846);
        if (y2 > y1 && x2 < x1) dir = static_cast<Integer>(a + 90);
        else if (y2 > y1 && x2 > x1) dir = static_cast<Integer>(90 - a);
        else if (y2 < y1 && x2 < x1) dir = static_cast<Integer>(270 - a);
        else dir = static_cast<Integer>(a + 270);  // up and to the right
    }
    // Equal points: the division fails and the previous direction stands.
    LastDirection = dir;
    LastDistance = static_cast<Integer>(Whole(std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2))));
    return dir;
}

void ResetGameState() {
    for (auto& u : Units) u = Unit{};
    for (auto& b : Bullets) b = Bullet{};
    GameRunning = GamePaused = 0;
    MenuCode.clear();
    EnteringName = 0;
    LoadingText.clear();
    DoEventsCounter = 0;
    CursorX = CursorY = 0;
    std::memset(KeyState, 0, sizeof KeyState);
    MouseLeft = MouseRight = MouseMiddle = 0;
    FireMode = 0;
    FireModeKeyReleased = 0;
    MusicVolume = 0;
    ScreenshotNumber = 0;
    FieldOffsetX = FieldOffsetY = 0;
    WorldScroll = WorldScrollOffset = 0;
    OptSnow = OptBulletFly = OptBloodFly = OptBloodStays = OptFootSteps = OptDebugInfo = OptScoreInfo =
        OptAlphaBlend = OptKillsInRow = OptFullScreen = OptMono = OptRealMovement = 0;
    SoundOff = 0;
    PlayMinutes = TimesPlayed = 0;
    MapsGenerated = 0;
    Kills = HitScore = 0;
    LastDistance = LastDirection = 0;
    for (auto& t : BoostTimers) t = 0;
    AliveCount = NearestOpponentDistance = SeparationOff = 0;
    for (auto& n : StepCount) n = 0;
    for (auto& m : LastStepMark) m = 0;
    for (auto& h : HitHistory) h = 0;
    HitsInHistory = 0;
    LastSecondTick = Fps = FrameCount = NextFrameTick = 0;
    GameSeconds = GameMinutes = SpawnCounter = StillFireSeconds = WaveLeft = WavePending = WaveSize = WaveTimer = 0;
    UnitFileValue.clear();
    LoadedSlot = 0;
    DegToRad = 4.0 * std::atan(1.0) / 180.0;
    // The mechanisms' own per-game state: pick-ups, sheep, acid drops, the
    // score line's counters, the cleaner's place. The flags of the aeroplane,
    // the cleaner and the boosts are cleared above, so no sound is stopped.
    ResetBattlefield();
}

void ResetBattlefield() {
    ResetPickups();
    ResetSheep();
    ResetAcid();
    ResetBlood();
    ResetSnow();
    ResetCleaner();
    ResetAirPlane();
    ResetScoreInfo();
    SkillScore = 0;
}
