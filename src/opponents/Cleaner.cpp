// The cleaning creature "Buger".
//
// Rules:
// - It first comes 45..90 seconds into a game, then again 60..120 seconds
//   after it has left (counted in frames, so pauses do not bring it sooner).
// - It enters above the field at a random column and crawls straight down at
//   one pixel a frame, swaying a pixel left and right, and leaves below the
//   field about twelve seconds later. BugerActive is -1 from entering to leaving.
// - Its brush sits 20 pixels into its body: every 10 pixels of travel it lays
//   one CleanLine strip (49 x 10, the strips in turn) into the terrain, wiping
//   blood, bodies, footprints and craters from its track.
// - Sound 8 is not a loop, so it is started again every two seconds while the
//   creature is on the field and stopped when it leaves.
// - Hurting what it touches is the units pass's part and being hit is the
//   bullets step's; it cannot be killed.
#include "opponents/Cleaner.h"

#include "graphics/WorkWithMemory.h"
#include "shell/GameState.h"
#include "sound/DirectSoundMod.h"

namespace {

Long CleanerWait = -1;  // frames until the next visit; -1 = not yet chosen
Long CleanerFrame;
Integer CleanRow;
Integer CleanStrip;
Single BugerBaseX;

}  // namespace

void StartCleaner() {
    BugerActive = -1;
    BugerBaseX = static_cast<Single>(Int(Rnd() * 230) + 10);
    BugerX = BugerBaseX;
    BugerY = -64;
    CleanRow = 0;
    CleanerFrame = 0;
    PlaySound(8, BugerX * 10 / 3);
}

void CleanerStep() {
    if (BugerActive != -1) {
        if (CleanerWait < 0) CleanerWait = static_cast<Long>(Int(Rnd() * 1485) + 1485);
        if (--CleanerWait <= 0) {
            CleanerWait = -1;
            StartCleaner();
        }
        if (BugerActive != -1) return;
    }

    CleanerFrame++;
    BugerY += 1;
    BugerX = BugerBaseX + ((CleanerFrame / 8) % 4 == 1 ? 1 : ((CleanerFrame / 8) % 4 == 3 ? -1 : 0));
    while (BugerY + 20 >= CleanRow && CleanRow < 300) {
        BitBlt(Terain, Whole(BugerBaseX), CleanRow, 49, 10, CleanLine, 0, (CleanStrip % CleanLineStrips) * 10,
               SRCCOPY);
        CleanStrip++;
        CleanRow += 10;
    }
    if (CleanerFrame % 66 == 0) PlaySound(8, BugerX * 10 / 3);

    if (BugerY > 300) {
        BugerActive = 0;
        StopSound(8);
        CleanerWait = static_cast<Long>(Int(Rnd() * 1980) + 1980);
        return;
    }
    MaskedDraw(Field, Whole(BugerX), Whole(BugerY), 50, 64, Cleaner, 0, 0, 50, 0);
}

void ResetCleaner() {
    if (BugerActive == -1) StopSound(8);
    BugerActive = 0;
    BugerX = BugerY = 0;  // a new game starts clean; the frame and row are set when it starts
    CleanerWait = -1;
    CleanStrip = 0;
}
