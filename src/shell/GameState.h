// The shared state of the game. Every subsystem reads and writes these globals
// directly; they are defined once in GameState.cpp and start at zero.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Surface.h"
#include "shell/Basic.h"

// ---------------------------------------------------------------- records

// A soldier on the field. Slot 0 is the player, 1..50 the opponents.
// Speed and BulletRange are decimal text in the game's rules: Doubles here,
// set through TextValue so they hold what the text would.
struct Unit {
    Integer Active = 0;       // -1 while alive in the slot
    Single X = 0, Y = 0;      // top-left of the 20 x 20 sprite
    Single WalkLeft = 0;      // remaining walk-order distance; 0 = no order
    Integer WalkDir = 0;
    Integer WalkToX = 0, WalkToY = 0;
    Integer Facing = 0;       // 0..359
    Integer FireCooldown = 0;
    Integer Reserved1 = 0;
    std::string SpriteName;   // "AiLVL" + level digit
    std::string GameDate;     // player only: "yyyymmdd"
    std::string UnitName;     // unit file key "NA"
    Integer Ammo = 0;         // "OM"
    Double Speed = 0;         // "DE": tenths of a pixel per frame
    Single Health = 0;        // "HT"
    Integer Spread = 0;       // "EL"
    Integer BulletSpeed = 0;  // "ED"
    Double BulletRange = 0;   // "GN"
    Integer Recharge = 0;     // "EM"
    Integer Melee = 0;        // "EE"
    Integer SpeedXP = 0;
    Integer AccuracyXP = 0;
    Integer RechargeXP = 0;
    Integer Reserved2 = 0;
    Integer MeleeXP = 0;
};

// A bullet in flight. Angle holds a Single's value, BX and BY Doubles'.
struct Bullet {
    Integer Life = 0;  // remaining travel; > 0 while flying
    Single Angle = 0;
    Double BX = 0, BY = 0;
    Single DX = 0, DY = 0;
    Integer Speed = 0;
    Integer Owner = 0;
};

constexpr int MaxUnit = 50;
constexpr int MaxBullet = 200;

extern Unit Units[MaxUnit + 1];
extern Bullet Bullets[MaxBullet + 1];

// ------------------------------------------------------- the window's surfaces

extern Surface Field;        // the visible 300 x 300 field
extern Surface Terain;       // terrain of the current map with its marks
extern Surface MenuField;    // menu background
extern Surface StatusField;  // 300 x 78 status bar below the field
extern Surface LoadPicDC;    // work surface used while loading and for screenshots

// ---------------------------------------------------- main loop and menus

extern Integer GameRunning;
extern Integer GamePaused;
extern std::string MenuCode;  // "", "HS", "WS", "OPTIONS", "HELP", "ABOUT"
extern Integer EnteringName;
extern std::string LoadingText;
extern std::string WindowCaption;
extern Double DegToRad;
extern Integer DoEventsCounter;

// ------------------------------------------------------------------ input

extern Long CursorX, CursorY;
extern uint8_t KeyState[256];
extern Integer MouseLeft, MouseRight, MouseMiddle;
extern Integer FireMode;  // 1, 2 or 3 bullets per shot
extern Integer FireModeKeyReleased;
extern Integer MusicVolume;  // 0..100
extern Integer ScreenshotNumber;
extern Integer FieldOffsetX, FieldOffsetY;
extern Double WorldScroll, WorldScrollOffset;

// DirectInput scan codes the game uses.
enum ScanCode : int {
    DIK_ESCAPE = 1, DIK_RETURN = 28, DIK_NUMPADENTER = 156, DIK_ADD = 78, DIK_SUBTRACT = 74,
    DIK_INSERT = 210, DIK_X = 45, DIK_UP = 200, DIK_DOWN = 208, DIK_LEFT = 203, DIK_RIGHT = 205,
    DIK_W = 17, DIK_S = 31, DIK_A = 30, DIK_D = 32, DIK_Q = 16, DIK_LCONTROL = 29, DIK_RCONTROL = 157,
};

// ----------------------------------------------------------------- options
// On/off options: 0 ON, 8 OFF.

extern Integer OptSnow, OptBulletFly, OptBloodFly, OptBloodStays, OptFootSteps, OptDebugInfo, OptScoreInfo,
    OptAlphaBlend, OptKillsInRow, OptFullScreen, OptMono, OptRealMovement;
extern Integer SoundOff;  // 8 when MusicVolume is 0
extern Long PlayMinutes, TimesPlayed;
extern Integer MapsGenerated;

// ------------------------------------------------- battle-wide scalars

extern Integer Kills;
extern Integer HitScore;
extern Long SkillScore;  // set by the status bar; final score = HitScore + SkillScore
extern Long BonusScore;  // per-game bonus points (kills in a row)
extern Integer UnitDied;
extern Integer LastDistance, LastDirection;
extern Integer BoostTimers[5];  // frame counters of the drug effects
extern Integer AirPlaneActive, BugerActive, ShakeActive;

// ------------------------------------------- units pass, clock, training

extern Integer AliveCount;
extern Integer NearestOpponentDistance;
extern Integer SeparationOff;
extern Integer StepCount[52], LastStepMark[52];

extern Integer HealthPackActive[10];
extern Single HealthPackX[10], HealthPackY[10];
extern Integer CrateActive[10];
extern Single CrateX[10], CrateY[10];
extern Integer CrateBullets[10];
extern Single BugerX, BugerY;  // top-left of the cleaning creature

extern Long Fps, FrameCount;
// Milliseconds of the tick count, 64-bit so they never wrap.
extern int64_t LastSecondTick, NextFrameTick;
extern Integer GameSeconds, GameMinutes, SpawnCounter, StillFireSeconds, WaveLeft, WavePending, WaveSize,
    WaveTimer;

extern Integer HitHistory[10], HitsInHistory;

extern std::string UnitFileValue;
extern Long LoadedSlot;

// ------------------------------------------------------- sheep and drugs

struct Sheep {
    Integer Active = 0;  // -1 while alive
    Single X = 0, Y = 0;
    Integer Speed = 0;
    Integer Health = 0;
    Integer Dir = 0;     // heading in degrees
    Integer Frame = 0;   // walking frame
    Integer Timer = 0;   // frames until the next change of mind
};
extern Sheep Sheeps[201];  // slots 0..20 are used

extern Integer AcidActive[5];
extern Single AcidX[5], AcidY[5];
extern Integer AcidKind[5];

// ----------------------------------------------------------- helpers

// Direction from point 1 to point 2 in whole degrees (0 right, 90 down), also
// left in LastDirection; the rounded distance goes to LastDistance. Two equal
// points keep the previous direction.
Integer DirectionAndDistance(double x1, double y1, double x2, double y2);

// Resets every global to its start-of-program value (tests).
void ResetGameState();
// Clears the per-game state of the battlefield mechanisms (new game): pickups,
// sheep, drugs, blood, snow, the cleaner, the plane and bombs, kills in a row,
// the bonus and the score line.
void ResetBattlefield();
