#include "opponents/Training.h"

#include <algorithm>

#include "shell/GameState.h"
#include "sound/DirectSoundMod.h"

namespace {
void LevelUp() { PlaySound(7, 10.0 / 3 * 145); }
}  // namespace

bool MovementKeyHeld() {
    static constexpr int Keys[] = {DIK_W, DIK_UP, DIK_S, DIK_DOWN, DIK_A, DIK_LEFT, DIK_D, DIK_RIGHT};
    for (int k : Keys)
        if (KeyState[k] != 0) return true;
    return false;
}

void TrainAccuracy(Integer hit) {
    if (MovementKeyHeld()) return;
    Unit& p = Units[0];
    // Entry 0 is never written, so at most nine of the last shots count.
    for (int k = 9; k >= 2; k--) HitHistory[k] = HitHistory[k - 1];
    HitHistory[1] = hit == -1 ? 1 : 0;
    HitsInHistory = 0;
    for (int k = 0; k <= 9; k++)
        if (HitHistory[k] == 1) HitsInHistory++;
    if (HitHistory[1] == 1) p.AccuracyXP = static_cast<Integer>(p.AccuracyXP + HitsInHistory);
    if (p.AccuracyXP >= 100) {
        if (p.Spread >= 0) {
            p.AccuracyXP = 0;
            p.Spread = static_cast<Integer>(p.Spread - 3);
            LevelUp();
        }
        p.AccuracyXP = std::min<Integer>(p.AccuracyXP, 100);
    }
}

void TrainRecharge() {
    if (MovementKeyHeld()) return;
    Unit& p = Units[0];
    if (MouseLeft != 0 && p.Ammo > 0) StillFireSeconds = static_cast<Integer>(StillFireSeconds + 1);
    else StillFireSeconds = 0;
    p.RechargeXP = static_cast<Integer>(Whole(p.RechargeXP + StillFireSeconds / 5.0));
    if (p.RechargeXP > 99 && p.Recharge > 4) {
        p.Recharge = static_cast<Integer>(p.Recharge - 1);
        p.RechargeXP = 0;
        StillFireSeconds = 0;
        LevelUp();
    }
    if (p.RechargeXP > 99) p.RechargeXP = 100;
}

void TrainBulletSpeed() {
    if (MovementKeyHeld()) return;
    Unit& p = Units[0];
    // The nearest distance becomes the closeness; the next units pass resets it.
    NearestOpponentDistance = static_cast<Integer>(100 - NearestOpponentDistance);
    p.SpeedXP = static_cast<Integer>(p.SpeedXP + IDiv(NearestOpponentDistance, 20));
    if (p.SpeedXP >= 100 && p.BulletSpeed <= 13) {
        p.SpeedXP = 0;
        p.BulletSpeed = static_cast<Integer>(p.BulletSpeed + 1);
        p.BulletRange = TextValue(p.BulletRange + 10);
        p.Speed = TextValue(p.Speed + 0.5);
        LevelUp();
    }
    if (p.SpeedXP > 99) p.SpeedXP = 100;
}

void TrainMelee(Integer n) {
    if (MovementKeyHeld() || n <= 0) return;
    Unit& p = Units[0];
    p.MeleeXP = static_cast<Integer>(p.MeleeXP + n);
    if (p.MeleeXP >= 100 && p.Melee <= 10) {
        p.Melee = static_cast<Integer>(p.Melee + 1);
        p.MeleeXP = 0;
        LevelUp();
    }
    // At the top level the counter would otherwise run up without end.
    p.MeleeXP = std::min<Integer>(p.MeleeXP, 100);
}
