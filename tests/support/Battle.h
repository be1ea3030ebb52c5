// A clean battlefield for the battle tests: state reset, surfaces made, the
// test clock on, the random generator seeded, and unit files on disk.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "battle/Blood.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "shell/GameState.h"
#include "TempDir.h"

inline void BattleReset(uint32_t seed = 1234) {
    ResetGameState();
    UseTestClock(true, 100000);
    TestReleaseAllKeys();
    Randomize(seed);
    CreateSurface(Field, 300, 300);
    CreateSurface(Terain, 300, 300);
    CreateSurface(MenuField, 300, 300);
    CreateSurface(StatusField, 300, 78);
    Fps = 33;
    GameRunning = -1;
}

// The stains a spray leaves on a fresh terrain once its drops have landed.
template <class Spray>
std::vector<COLORREF> BloodStains(Spray spray) {
    CreateSurface(Terain, 300, 300);
    ResetBlood();
    spray();
    for (int f = 0; f < 20; f++) BloodStep();
    return Terain.Pixels;
}

// A living unit with the values of a fresh player.
inline Unit& PlaceUnit(int slot, float x, float y) {
    Unit& u = Units[slot];
    u = Unit{};
    u.Active = -1;
    u.X = x;
    u.Y = y;
    u.Health = 100;
    u.Ammo = 20;
    u.Speed = 10;
    u.Spread = 30;
    u.BulletSpeed = 3;
    u.BulletRange = 60;
    u.Recharge = 15;
    return u;
}

// One key line: key in columns 1-20, a separator, the value from column 22.
inline std::string KeyLine(const std::string& key, const std::string& value) {
    std::string k = key;
    k.resize(20, ' ');
    return k + " " + value + "\r\n";
}

inline void WriteUnitFiles(const TempGameDir& dir) {
    std::string def = KeyLine("NA", "Player") + KeyLine("OM", "20") + KeyLine("DE", "10") + KeyLine("HT", "100") +
                      KeyLine("EL", "30") + KeyLine("EE", "0") + KeyLine("ED", "3") + KeyLine("GN", "60") +
                      KeyLine("EM", "15") + "END\r\n";
    std::string lvl = KeyLine("NA", "Soldier") + KeyLine("OM", "10") + KeyLine("DE", "10") + KeyLine("HT", "20") +
                      KeyLine("EL", "30") + KeyLine("EE", "0") + KeyLine("ED", "3") + KeyLine("GN", "20") +
                      KeyLine("EM", "20") + "END\r\n";
    dir.Write("OtherFiles/DEFAULT.txt", def);
    dir.Write("OtherFiles/LVL1.txt", lvl);
}

inline int LiveOpponents() {
    int n = 0;
    for (int i = 1; i <= MaxUnit; i++)
        if (Units[i].Active != 0) n++;
    return n;
}

// The input of a scripted game, frame by frame: the cursor circles the middle
// of the field, the fire button is held in bursts for the first 50 seconds,
// and the player steps right and back left once. Fed both to the platform's
// test feed and to the state the input module fills, so the script means the
// same before and after the input module reads it.
inline void ScriptedInput(int frame) {
    const double a = frame * 3 * 3.14159265358979323846 / 180;
    const int x = 150 + static_cast<int>(std::lround(60 * std::cos(a)));
    const int y = 150 + static_cast<int>(std::lround(60 * std::sin(a)));
    TestSetMouse(x, y);
    CursorX = x;
    CursorY = y;
    MouseLeft = (frame < 1500 && (frame / 45) % 3 != 2) ? -1 : 0;
    const bool right = frame >= 300 && frame < 330;
    const bool left = frame >= 600 && frame < 630;
    TestSetKey(DIK_D, right);
    TestSetKey(DIK_A, left);
    KeyState[DIK_D] = right ? 0x80 : 0;
    KeyState[DIK_A] = left ? 0x80 : 0;
}
