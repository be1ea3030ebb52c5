// Every picture of the game as a surface, loaded once at start-up.
#pragma once

#include "platform/Files.h"
#include "platform/Surface.h"

extern Surface MainLogo, Loading, Logo, SliderMenu, SliderDrag, Layer, LayerScore, Check, ScoreUpDown, Help1,
    Help2, Help3, CursorMenu, MainMenu, EnterText, Player, AiLVL0, AiLVL1, AiLVL2, AiLVL3, AiLVL4, AiLVL5,
    StatusHealth, StatusAmmo, StatusAccuracy, StatusRecharge, StatusBulletSpeed, StatusMelee, Health, Ammo, Acid,
    AcidHearth, BombIcon, BoomDirt, Explosion, AirPlane, Cleaner, CleanLine, Dead, CursorFire, Foot, BulletsOut,
    Ovca, OvcaDead, WalkHere, InRowBar, LogoFull;

// The 47 surfaces in load order with their file names (rows 3..49).
struct PictureRow {
    const char* File;  // "\Pictures\MainLogo.jpg"
    Surface* Target;
};
extern const PictureRow PictureTable[47];

extern MemoryStatus MemStatus;

void LoadPictures();
void FreePictures();

// Mask cell AND-copied, then the image cell OR-copied to the same place.
void MaskedDraw(Surface& dst, int x, int y, int w, int h, const Surface& src, int imageX, int imageY, int maskX,
                int maskY);

// Cell counts of the sheets whose width the drawing code chooses; the artwork
// generator draws exactly these.
constexpr int HealthCells = 4;       // Health.jpg: 7 x 7 cells side by side (animation)
constexpr int AmmoCells = 4;         // Ammo.jpg: 9 x 7 cells side by side (animation)
constexpr int AcidCells = 4;         // Acid.jpg: 7 x 7, one cell per kind of drug
constexpr int OvcaFrames = 8;        // Ovca.jpg: 23 x 16 cells, frames 0-3 walk right, 4-7 walk left; mask row y = 17
constexpr int DeadVariants = 4;      // Dead.jpg: 20 x 20 stacked at y = 0, 20, 40, 60; mask at x = 20
constexpr int CleanLineStrips = 4;   // CleanLine.jpg: 49 x 10 strips stacked vertically
constexpr int BulletsOutCell = 10;   // BulletsOut.jpg: 30 x 11, one bullet per 10 pixels; mask at y = 11
constexpr int InRowBarWidth = 300;   // InRowBar.jpg: 300 x 3
