// A clean battlefield for the tests of its mechanisms: fresh state, a black
// field over grass, and sprites whose image is one colour with an opaque mask.
#pragma once

#include <gtest/gtest.h>

#include "battle/ScoreInfo.h"
#include "battle/StatusBar.h"
#include "menus/MenuEffects.h"
#include "shell/GameState.h"

constexpr COLORREF Grass = RGB(0, 90, 0);

// A sheet w x h of one colour whose mask cell lies maskX / maskY away, black.
inline void Sprite(Surface& s, int w, int h, COLORREF colour, int maskX, int maskY) {
    CreateSurface(s, w + maskX, h + maskY, colour);
    for (int y = maskY; y < h + maskY; y++)
        for (int x = maskX; x < w + maskX; x++) SetPixel(s, x, y, 0);
}

struct Battlefield : ::testing::Test {
    void SetUp() override {
        ResetGameState();
        ResetBattlefield();
        Randomize(7);
        CreateSurface(Field, 300, 300);
        CreateSurface(Terain, 300, 300, Grass);
        Unit& p = Units[0];
        p.Active = -1;
        p.X = p.Y = 140;
        p.Spread = 30;
        p.Recharge = 15;
        p.BulletSpeed = 3;
        p.BulletRange = 60;
        p.Health = 90;
    }
};
