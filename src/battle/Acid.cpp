// Drugs ("acid"): drops on the field and their timed effects on the player.
//
// Rules:
// - The death check leaves a drop on the dead unit's head; its kind 0..3 is
//   drawn at random and shows as that kind's Acid cell. Five drops fit on the
//   field; a sixth replaces the oldest.
// - The player takes a drop by walking over it (centres less than 10 pixels
//   apart): sound 27, and the kind's effect runs for its time in
//   BoostTimers(kind), counted down once a frame. Taking the same kind again
//   starts its time afresh.
//     0 "Shakes" (bad, 10 s): the hands tremble, every shot scatters over the
//       full 30 degrees of a recruit however well the player has trained.
//     1 "Rush"   (good, 15 s): the gun recharges twice as fast.
//     2 "Mend"   (good, 12 s): 5 health a second up to full health.
//     3 "Bane"   (bad, 8 s): 3 health a second is lost, but never below 10.
//   Good kinds sound 31/32 when taken, bad ones 28/29, and the drug's name
//   rises over the player for a second and a half, green or red.
// - While any effect lasts the heart beats (sound 36, a loop) and its
//   AcidHearth icon shows at the bottom right: the heart for Mend, lightning
//   for Rush, the spiral eye for the bad ones; with several running the icons
//   take turns a second each, and they blink in the last three seconds. It
//   sits at (270, 270), or at (240, 270) when the bomb icon is there. When the
//   last effect ends the heartbeat stops.
#include "battle/Acid.h"

#include <algorithm>
#include <iterator>

#include "graphics/WorkWithMemory.h"
#include "opponents/AirPlane.h"
#include "shell/GameState.h"
#include "sound/DirectSoundMod.h"

namespace {

Long AcidAge[5];
Long AcidCounter;
Long AcidFrame;
Integer LabelKind, LabelTimer;  // the name of the drug just taken
constexpr const char* AcidNames[4] = {"Shakes!", "Rush!", "Mend!", "Bane!"};

bool AnyEffect() {
    for (int k = 0; k < 4; k++)
        if (BoostTimers[k] > 0) return true;
    return false;
}

void TakeDrop(int j) {
    int kind = AcidKind[j] & 3;
    AcidActive[j] = 0;
    bool wasBeating = AnyEffect();
    BoostTimers[kind] = AcidDuration[kind];
    PlaySound(27, AcidX[j] * 10 / 3);
    switch (kind) {
        case 0: PlaySound(28, 500); break;
        case 1: PlaySound(31, 500); break;
        case 2: PlaySound(32, 500); break;
        default: PlaySound(29, 500); break;
    }
    if (!wasBeating) PlaySound(36, 500);
    LabelKind = static_cast<Integer>(kind);
    LabelTimer = 50;
}

void DrawLabel() {
    if (LabelTimer <= 0) return;
    LabelTimer--;
    const Unit& p = Units[0];
    bool good = LabelKind == 1 || LabelKind == 2;
    Field.FontSize = 8;
    Field.FontBold = true;
    Field.TextColour = good ? RGB(90, 255, 90) : RGB(255, 70, 60);
    TextOut(Field, Whole(p.X) - 4, Whole(p.Y) - 14 - (50 - LabelTimer) / 4, AcidNames[LabelKind & 3]);
    Field.FontBold = false;
}

void RunEffects() {
    Unit& p = Units[0];
    bool ran = AnyEffect();
    if (p.Active) {
        if (BoostTimers[1] > 0 && p.FireCooldown > 0) p.FireCooldown--;
        Single full = static_cast<Single>(p.BulletSpeed * 30);
        if (BoostTimers[2] > 0 && p.Health < full) {
            p.Health += 5.0f / 33;
            if (p.Health > full) p.Health = full;
        }
        if (BoostTimers[3] > 0 && p.Health > 10) {
            p.Health = std::max(p.Health - 3.0f / 33, 10.0f);
        }
    }
    for (int k = 0; k < 4; k++)
        if (BoostTimers[k] > 0) BoostTimers[k]--;
    if (ran && !AnyEffect()) StopSound(36);
}

void DrawHeart() {
    int running[4], n = 0, left = 0;
    for (int k = 0; k < 4; k++)
        if (BoostTimers[k] > 0) {
            running[n++] = k;
            left = std::max<int>(left, BoostTimers[k]);
        }
    if (n == 0) return;
    if (left < 100 && (AcidFrame / 5) % 2) return;  // blinks before it wears off
    static constexpr int Icon[] = {2, 1, 0, 2};  // eye, lightning, heart, eye
    int cell = Icon[running[(AcidFrame / 33) % n]];
    int x = Units[0].Ammo >= BombCost ? 240 : 270;
    MaskedDraw(Field, x, 270, 30, 30, AcidHearth, cell * 30, 0, cell * 30, 30);
}

}  // namespace

void SpawnAcid(double x, double y) {
    int j = 0;
    for (int i = 0; i < 5; i++) {
        if (AcidActive[i] != -1) {
            j = i;
            break;
        }
        if (AcidAge[i] < AcidAge[j]) j = i;
    }
    auto inField = [](double v) { return static_cast<Single>(std::clamp(v, 0.0, 293.0)); };
    AcidActive[j] = -1;
    AcidX[j] = inField(x + 7);
    AcidY[j] = inField(y + 1);
    AcidKind[j] = static_cast<Integer>(Int(Rnd() * 4));
    AcidAge[j] = ++AcidCounter;
}

void AcidStep() {
    AcidFrame++;
    const Unit& p = Units[0];
    for (int j = 0; j < 5; j++) {
        if (AcidActive[j] != -1) continue;
        if (p.Active) {
            DirectionAndDistance(p.X + 10, p.Y + 10, AcidX[j] + 3, AcidY[j] + 3);
            if (LastDistance < 10) {
                TakeDrop(j);
                continue;
            }
        }
        BitBlt(Field, Whole(AcidX[j]), Whole(AcidY[j]), 7, 7, Acid, (AcidKind[j] & 3) * 7, 0, SRCCOPY);
    }
    RunEffects();
    DrawHeart();
    DrawLabel();
}

void ResetAcid() {
    bool beating = AnyEffect();
    auto clear = [](auto& all) { std::fill(std::begin(all), std::end(all), 0); };
    clear(AcidActive), clear(AcidKind), clear(AcidX), clear(AcidY), clear(AcidAge);
    clear(BoostTimers);
    AcidCounter = AcidFrame = 0;
    LabelTimer = 0;
    if (beating) StopSound(36);
}
