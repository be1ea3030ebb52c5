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

// Holes in a checkerboard through a Sprite's picture: where (x + y) is odd the
// mask is white and the picture black, so what lies below shows through and a
// picture drawn a pixel off shows at once.
inline void CheckerboardHoles(Surface& s, int w, int h, int maskX, int maskY) {
    for (int y = 0; y < h; y++)
        for (int x = (y + 1) % 2; x < w; x += 2) {
            SetPixel(s, x, y, 0);
            SetPixel(s, maskX + x, maskY + y, RGB(255, 255, 255));
        }
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
