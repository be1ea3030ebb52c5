#include "battle/Acid.h"
#include "battle/Blood.h"
#include "battle/Bullets.h"
#include "battle/Sheep.h"
#include "battle/Snow.h"
#include "battle/ScoreInfo.h"
#include "battle/StatusBar.h"
#include "graphics/WorkWithMemory.h"
#include "input/DirectInputMod.h"
#include "opponents/AImod.h"
#include "opponents/AirPlane.h"
#include "opponents/Cleaner.h"
#include "opponents/GameClock.h"
#include "opponents/Pickups.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "shell/Replay.h"

// One frame of the battle. The order of the steps is also the order of the
// layers: later steps draw over earlier ones.
void FrameStep() {
    if (ReplayIsPlaying()) {
        // A recorded battle: its own input, never the player's.
        if (!PlaybackFrameInput()) return;
    } else {
        UpdateCursor();
        ReadKeyboard();
        if (GamePaused) return;  // Escape: the field stays as the last frame left it
        RecordFrameInput();
    }

    // With blending half of the last frame stays visible, so moving sprites
    // leave fading trails.
    int dx = 0, dy = 0;
    if (ShakeActive) {
        dx = static_cast<int>(Int(Rnd() * 2)) - 1;
        dy = static_cast<int>(Int(Rnd() * 2)) - 1;
    }
    if (OptAlphaBlend == 0) BlendBlit(Terain, dx, dy, 300, 300, Field, 0, 0, 300, 300, 50);
    else BitBlt(Field, dx, dy, 300, 300, Terain, 0, 0, SRCCOPY);

    if (OptBulletFly == 0) LineTo(Field, CursorX, CursorY);  // the cursor trail

    HealthPickupsStep();
    AmmoPickupsStep();
    MoveBullets();
    SheepStep();
    UpdateUnits();
    AcidStep();
    if (OptBloodFly == 0 || OptBloodStays == 0) BloodStep();
    CleanerStep();
    if (OptSnow == 0) SnowStep();
    ExplosionsStep();
    FireModeIndicator();
    AirPlaneAndBombs(-1, 0, 0, 0);
    ScoreInfoLine();
    StatusBarStep();

    MaskedDraw(Field, CursorX - 4, CursorY - 4, 9, 9, CursorFire, 0, 0, 9, 0);

    PresentForm();
    ClockStep();
    ReplayFrameEnd();

    // The window's events are handled every second frame.
    DoEventsCounter++;
    if (DoEventsCounter >= 2) DoEventsCounter = 0;
    if (DoEventsCounter == 0) DoEvents();
}
