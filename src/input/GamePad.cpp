#include "input/GamePad.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "input/DirectInputMod.h"
#include "platform/Gamepad.h"
#include "shell/GameState.h"

namespace {
constexpr float DeadZone = 0.25f;  // a stick at rest
constexpr float WalkAt = 0.4f;     // deflection that holds a walking key
constexpr float PullAt = 0.5f;     // trigger travel that presses it

struct PadKey {
    int Dik, Vk;
};
constexpr PadKey Keys[] = {{DIK_W, 87}, {DIK_A, 65}, {DIK_S, 83}, {DIK_D, 68}, {DIK_RETURN, 13}, {DIK_ESCAPE, 27}};
bool Held[6];
bool FireHeld = false, BombHeld = false, ClickHeld = false;

PadState Pad;
// The cursor is the pad's from a push of the right stick until the mouse moves.
bool Aiming = false, AimInGame = false;
double AimX = 0, AimY = 0;  // in a game: from the soldier's middle; in the menus: the cursor
Long PadX = 0, PadY = 0;    // the cursor the pad gave last
int MouseX = INT_MIN, MouseY = INT_MIN;

bool Playing() { return GameRunning && !GamePaused; }

void Button(bool& held, bool now, int button) {
    if (now == held) return;
    held = now;
    if (now)
        Field_MouseDown(button);
    else
        Field_MouseUp(button);
}
}  // namespace

void GamePadCursor(int mouseX, int mouseY) {
    ReadGamepad(Pad);
    if (mouseX != MouseX || mouseY != MouseY || !Pad.Connected) Aiming = false;
    MouseX = mouseX;
    MouseY = mouseY;
    const Unit& p = Units[0];
    const bool inGame = Playing();
    if (Aiming && inGame != AimInGame) {
        // Into or out of a game: the cursor stays where it is.
        AimInGame = inGame;
        AimX = inGame ? PadX - (p.X + 10) : PadX;
        AimY = inGame ? PadY - (p.Y + 10) : PadY;
    }
    if (std::hypot(Pad.RightX, Pad.RightY) > DeadZone) {
        if (!Aiming) {
            AimX = CursorX;
            AimY = CursorY;
        }
        Aiming = true;
        AimInGame = inGame;
        if (inGame) {
            AimX = Pad.RightX * PadAimReach;
            AimY = Pad.RightY * PadAimReach;
        } else {
            AimX = std::clamp(AimX + Pad.RightX * PadMenuSpeed, 0.0, 299.0);
            AimY = std::clamp(AimY + Pad.RightY * PadMenuSpeed, 0.0, 299.0);
        }
    }
    if (!Aiming) return;
    // Within the field, as the clipped mouse would be.
    const double x = AimInGame ? p.X + 10 + AimX : AimX, y = AimInGame ? p.Y + 10 + AimY : AimY;
    CursorX = PadX = std::clamp<Long>(Whole(x), 0, 299);
    CursorY = PadY = std::clamp<Long>(Whole(y), 0, 299);
}

void GamePadButtons() {
    const bool want[6] = {Pad.LeftY<-WalkAt, Pad.LeftX<-WalkAt, Pad.LeftY> WalkAt, Pad.LeftX> WalkAt, Pad.Start,
                          Pad.Back};
    for (int i = 0; i < 6; i++) {
        if (want[i]) KeyState[Keys[i].Dik] = 0x80;
        if (want[i] == Held[i]) continue;
        Held[i] = want[i];
        if (want[i])
            Field_KeyDown(Keys[i].Vk);
        else
            Field_KeyUp(Keys[i].Vk);
    }
    Button(FireHeld, Pad.RightTrigger > PullAt, 1);
    Button(BombHeld, Pad.LeftTrigger > PullAt || Pad.RightShoulder, 2);
    // A clicks in the menus; a press held on into a game is released as usual.
    Button(ClickHeld, Pad.A && (ClickHeld || !Playing()), 1);
}
