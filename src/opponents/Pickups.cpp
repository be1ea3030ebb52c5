// Health packs and ammunition crates on the field.
//
// Rules:
// - The death check drops them at the dead unit's top-left (x, y); they land on
//   its body: the pack on the left half, the crate on the right, both kept
//   inside the field so a drop from a unit killed while still entering can be
//   reached.
// - A crate holds the unit's remaining bullets; a unit that died with none
//   leaves no crate (an empty crate would only click and vanish).
// - Ten of each fit on the field. When the table is full the newest drop
//   replaces the oldest one still lying there: fresh drops are where the fight
//   is, so the player always sees what the last kill left.
// - Taking them is the units pass's business; these steps only draw them. Both
//   pictures hold HealthCells / AmmoCells frames of a gentle glint, each drop at
//   its own phase.
#include "opponents/Pickups.h"

#include <algorithm>

#include "graphics/WorkWithMemory.h"
#include "shell/GameState.h"

namespace {

Long HealthPackAge[10], CrateAge[10];
Long DropCounter;
Long PickupFrame;

// A free slot, or the oldest one when all ten are taken.
int DropSlot(const Integer* active, const Long* age) {
    int oldest = 0;
    for (int j = 0; j < 10; j++) {
        if (active[j] != -1) return j;
        if (age[j] < age[oldest]) oldest = j;
    }
    return oldest;
}

Single InField(double v, int size) {
    return static_cast<Single>(std::clamp(v, 0.0, 300.0 - size));
}

int GlintCell(int j, int cells) { return static_cast<int>((PickupFrame / 6 + j * 3) % cells); }

}  // namespace

void SpawnHealthPack(double x, double y) {
    int j = DropSlot(HealthPackActive, HealthPackAge);
    HealthPackActive[j] = -1;
    HealthPackX[j] = InField(x + 2, 7);
    HealthPackY[j] = InField(y + 7, 7);
    HealthPackAge[j] = ++DropCounter;
}

void SpawnCrate(double x, double y, int bullets) {
    if (bullets < 1) return;
    int j = DropSlot(CrateActive, CrateAge);
    CrateActive[j] = -1;
    CrateX[j] = InField(x + 10, 9);
    CrateY[j] = InField(y + 7, 7);
    CrateBullets[j] = static_cast<Integer>(bullets);
    CrateAge[j] = ++DropCounter;
}

void HealthPickupsStep() {
    PickupFrame++;
    for (int j = 0; j < 10; j++) {
        if (HealthPackActive[j] != -1) continue;
        BitBlt(Field, Whole(HealthPackX[j]), Whole(HealthPackY[j]), 7, 7, Health, GlintCell(j, HealthCells) * 7, 0,
               SRCCOPY);
    }
}

void AmmoPickupsStep() {
    for (int j = 0; j < 10; j++) {
        if (CrateActive[j] != -1) continue;
        BitBlt(Field, Whole(CrateX[j]), Whole(CrateY[j]), 9, 7, Ammo, GlintCell(j, AmmoCells) * 9, 0, SRCCOPY);
    }
}

void ResetPickups() {
    for (int j = 0; j < 10; j++) {
        HealthPackActive[j] = CrateActive[j] = CrateBullets[j] = 0;
        HealthPackX[j] = HealthPackY[j] = CrateX[j] = CrateY[j] = 0;
        HealthPackAge[j] = CrateAge[j] = 0;
    }
    DropCounter = 0;
    PickupFrame = 0;
}
