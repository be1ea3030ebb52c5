#include "graphics/WorkWithMemory.h"

#include <string>

#include "battle/StatusBar.h"
#include "platform/Image.h"
#include "shell/Basic.h"
#include "shell/GameState.h"
#include "shell/Loading.h"

Surface MainLogo, Loading, Logo, SliderMenu, SliderDrag, Layer, LayerScore, Check, ScoreUpDown, Help1, Help2, Help3,
    CursorMenu, MainMenu, EnterText, Player, AiLVL0, AiLVL1, AiLVL2, AiLVL3, AiLVL4, AiLVL5, StatusHealth,
    StatusAmmo, StatusAccuracy, StatusRecharge, StatusBulletSpeed, StatusMelee, Health, Ammo, Acid, AcidHearth,
    BombIcon, BoomDirt, Explosion, AirPlane, Cleaner, CleanLine, Dead, CursorFire, Foot, BulletsOut, Ovca, OvcaDead,
    WalkHere, InRowBar, LogoFull;

const PictureRow PictureTable[47] = {
    {"\\Pictures\\MainLogo.jpg", &MainLogo},
    {"\\Pictures\\Loading.jpg", &Loading},
    {"\\Pictures\\Logo.jpg", &Logo},
    {"\\Pictures\\SliderMenu.jpg", &SliderMenu},
    {"\\Pictures\\SliderDrag.jpg", &SliderDrag},
    {"\\Pictures\\Layer.jpg", &Layer},
    {"\\Pictures\\LayerScore.jpg", &LayerScore},
    {"\\Pictures\\Check.jpg", &Check},
    {"\\Pictures\\ScoreUpDown.jpg", &ScoreUpDown},
    {"\\Pictures\\Help1.jpg", &Help1},
    {"\\Pictures\\Help2.jpg", &Help2},
    {"\\Pictures\\Help3.jpg", &Help3},
    {"\\Pictures\\CursorMenu.jpg", &CursorMenu},
    {"\\Pictures\\MainMenu.jpg", &MainMenu},
    {"\\Pictures\\EnterText.jpg", &EnterText},
    {"\\Pictures\\Player.jpg", &Player},
    {"\\Pictures\\AiLVL0.jpg", &AiLVL0},
    {"\\Pictures\\AiLVL1.jpg", &AiLVL1},
    {"\\Pictures\\AiLVL2.jpg", &AiLVL2},
    {"\\Pictures\\AiLVL3.jpg", &AiLVL3},
    {"\\Pictures\\AiLVL4.jpg", &AiLVL4},
    {"\\Pictures\\AiLVL5.jpg", &AiLVL5},
    {"\\Pictures\\StatusHealth.jpg", &StatusHealth},
    {"\\Pictures\\StatusAmmo.jpg", &StatusAmmo},
    {"\\Pictures\\StatusAccuracy.jpg", &StatusAccuracy},
    {"\\Pictures\\StatusRecharge.jpg", &StatusRecharge},
    {"\\Pictures\\StatusBulletSpeed.jpg", &StatusBulletSpeed},
    {"\\Pictures\\StatusMelee.jpg", &StatusMelee},
    {"\\Pictures\\Health.jpg", &Health},
    {"\\Pictures\\Ammo.jpg", &Ammo},
    {"\\Pictures\\Acid.jpg", &Acid},
    {"\\Pictures\\AcidHearth.jpg", &AcidHearth},
    {"\\Pictures\\BombIcon.jpg", &BombIcon},
    {"\\Pictures\\BoomDirt.jpg", &BoomDirt},
    {"\\Pictures\\Explosion.jpg", &Explosion},
    {"\\Pictures\\AirPlane.jpg", &AirPlane},
    {"\\Pictures\\Cleaner.jpg", &Cleaner},
    {"\\Pictures\\CleanLine.jpg", &CleanLine},
    {"\\Pictures\\Dead.jpg", &Dead},
    {"\\Pictures\\CursorFire.jpg", &CursorFire},
    {"\\Pictures\\Foot.jpg", &Foot},
    {"\\Pictures\\BulletsOut.jpg", &BulletsOut},
    {"\\Pictures\\Ovca.jpg", &Ovca},
    {"\\Pictures\\OvcaDead.jpg", &OvcaDead},
    {"\\Pictures\\WalkHere.jpg", &WalkHere},
    {"\\Pictures\\InRowBar.jpg", &InRowBar},
    {"\\Pictures\\LogoFull.jpg", &LogoFull},
};

MemoryStatus MemStatus;

void LoadPictures() {
    MemStatus = QueryMemoryStatus();
    Randomize();
    int n = static_cast<int>(Int(Rnd() * 5)) + 1;
    // A missing file leaves a surface empty: drawing from it shows nothing.
    LoadPictureFile(GamePath("\\Pictures\\Map0" + std::to_string(n) + ".bmp"), Terain);
    LoadPictureFile(GamePath("\\Pictures\\StatusBar.jpg"), StatusField);
    // Taken now: the score screens' details panel draws over StatusField
    // before a game (or a watched one) draws its first status bar.
    SetStatusBackground();
    bool first = true;
    for (const PictureRow& row : PictureTable) {
        LoadPictureFile(GamePath(row.File), *row.Target);
        // MainLogo and Loading are the loading screen's own pictures: the
        // first step follows Loading.
        if (!first) LoadingProgress();
        first = false;
    }
}

void FreePictures() {
    for (const PictureRow& row : PictureTable) FreeSurface(*row.Target);
}

void MaskedDraw(Surface& dst, int x, int y, int w, int h, const Surface& src, int imageX, int imageY, int maskX,
                int maskY) {
    BitBlt(dst, x, y, w, h, src, maskX, maskY, SRCAND);
    BitBlt(dst, x, y, w, h, src, imageX, imageY, SRCPAINT);
}
