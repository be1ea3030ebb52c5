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
