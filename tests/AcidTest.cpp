// Drugs: taking a drop, each effect's start, length and end, the heart icon.
#include <algorithm>
#include <cmath>
#include <tuple>

#include "battle/Acid.h"
#include "graphics/WorkWithMemory.h"
#include "input/PlayerControl.h"
#include "support/Battlefield.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"

namespace {

struct AcidTest : Battlefield {
    // A drop of the kind at the player's feet, taken in one step.
    static void Take(int kind) {
        SpawnAcid(Units[0].X, Units[0].Y);
        for (int j = 0; j < 5; j++)
            if (AcidActive[j] == -1) AcidKind[j] = static_cast<Integer>(kind);
        AcidStep();
    }
};

TEST_F(AcidTest, ADropIsTakenByWalkingOverItAndItsEffectLastsItsTime) {
    Units[0].Health = 50;
    SpawnAcid(20, 20);  // far from the player
    AcidStep();
    EXPECT_EQ(AcidActive[0], -1);
    Units[0].X = 17;
    Units[0].Y = 14;
    AcidKind[0] = 2;
    AcidStep();
    EXPECT_EQ(AcidActive[0], 0);
    EXPECT_EQ(BoostTimers[2], AcidDuration[2] - 1);
    for (int f = 1; f < AcidDuration[2]; f++) AcidStep();
    for (int k = 0; k < 4; k++) EXPECT_EQ(BoostTimers[k], 0);
    EXPECT_FLOAT_EQ(Units[0].Health, 90);  // mended up to full, no further

    for (int k = 0; k < 5; k++) SpawnAcid(k * 30, 0);
    SpawnAcid(0, 250);  // a sixth replaces the oldest
    EXPECT_FLOAT_EQ(AcidY[0], 251);
    SpawnAcid(0, 260);  // and a seventh the next oldest
    EXPECT_FLOAT_EQ(AcidY[1], 261);
    EXPECT_FLOAT_EQ(AcidY[0], 251);

    // Drops dropped at the edge lie within the field.
    ResetAcid();
    SpawnAcid(-30, -30);
    SpawnAcid(295, 400);
    EXPECT_EQ(std::tuple(AcidX[0], AcidY[0], AcidX[1], AcidY[1]), std::tuple(0.0f, 0.0f, 293.0f, 293.0f));
}

TEST_F(AcidTest, EachKindSoundsItsOwnEffectInTheMiddleAfterThePickUpWhereItLay) {
    TempGameDir dir;
    LoadProbeSounds({27, 28, 29, 31, 32, 36});
    const int effect[4] = {28, 31, 32, 29};
    for (int kind = 0; kind < 4; kind++) {
        for (int id : {27, 28, 29, 31, 32}) MixerSetPan(SoundBuffer(id), -555);
        Units[0].X = 98;  // the drop at 105: position 350
        Take(kind);
        EXPECT_EQ(MixerGetPan(SoundBuffer(27)), 0);
        for (int id : {28, 29, 31, 32})
            EXPECT_EQ(MixerGetPan(SoundBuffer(id)), id == effect[kind] ? 429 : -555) << kind << " " << id;
    }
    FreeSounds();
}

TEST_F(AcidTest, RushDoublesTheRechargeAndBaneStopsAtTen) {
    Take(1);
    Units[0].FireCooldown = 10;
    AcidStep();
    EXPECT_EQ(Units[0].FireCooldown, 9);  // besides the units pass's own count-down
    Units[0].Health = 12;
    Take(3);
    for (int f = 0; f < AcidDuration[3]; f++) AcidStep();
    EXPECT_FLOAT_EQ(Units[0].Health, 10);
}

TEST_F(AcidTest, TheHeartShowsWhileAnEffectLastsBesideTheBombIcon) {
    Sprite(AcidHearth, 90, 30, RGB(255, 0, 0), 0, 30);
    Take(1);
    EXPECT_EQ(GetPixel(Field, 285, 285), RGB(255, 0, 0));
    Units[0].Ammo = 30;  // the bomb icon takes (270, 270)
    BoostTimers[1] = 2;
    AcidStep();
    EXPECT_EQ(GetPixel(Field, 255, 285), RGB(255, 0, 0));
    CreateSurface(Field, 300, 300);
    AcidStep();  // the effect ends: no heart
    EXPECT_EQ(GetPixel(Field, 255, 285), 0);
}

TEST_F(AcidTest, TheShakesWidenATrainedPlayersShots) {
    Unit& p = Units[0];
    p.Spread = 0;
    p.Facing = 90;
    auto widest = [] {
        float w = 0;
        for (int b = 1; b <= MaxBullet; b++) {
            if (Bullets[b].Life > 0) w = std::max(w, std::abs(Bullets[b].Angle - 90));
            Bullets[b] = Bullet{};
        }
        return w;
    };
    for (int k = 0; k < 100; k++) FireBullet(0);
    EXPECT_LT(widest(), 1.0f);
    BoostTimers[0] = AcidDuration[0];
    for (int k = 0; k < 100; k++) FireBullet(0);
    float w = widest();
    EXPECT_GT(w, 8.0f);
    EXPECT_LE(w, 15.0f);
}

}  // namespace
