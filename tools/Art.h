// The artwork generator's pieces: every picture is drawn into a surface and
// collected with its file name; Pictures.cpp writes them and the contact sheet.
#pragma once

#include <string>
#include <vector>

#include "Draw.h"
#include "platform/Surface.h"

struct Picture {
    std::string File;  // "Player.jpg"
    Surface Pic;
};
using PictureList = std::vector<Picture>;

// A w x h picture, black (the background of sprite images).
Surface Blank(int w, int h, COLORREF fill = 0);

void DrawSoldiers(PictureList& out);   // Player, AiLVL0..5, Dead, WalkHere, Foot
void DrawCreatures(PictureList& out);  // Ovca, OvcaDead, Cleaner, CleanLine, AirPlane
void DrawEffects(PictureList& out);    // Explosion, BoomDirt, BombIcon, AcidHearth, crates, drugs, cursors
void DrawScreens(PictureList& out);    // logos, menu panel, bars, status strips, small UI pieces
void DrawTerrain(PictureList& out);    // Map01..04.jpg, Map05.bmp

// Soldier colours, shared by the sheets and the help pictures.
struct Uniform {
    Rgb Body, Helmet;
};
Uniform SoldierColours(int level);  // -1 the player, 0..5 opponents
// One soldier at (cx, cy) facing heading (degrees, 0 right, 90 down).
void PaintSoldier(Canvas& cv, float cx, float cy, float headingDeg, const Uniform& u);
// The bomb of the bomb icon, scaled by s, with its top-left at (ox, oy).
void PaintBombIcon(Canvas& cv, float ox, float oy, float s);
