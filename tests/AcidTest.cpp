// Drugs: taking a drop, each effect's start, length and end, the heart icon.
#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "battle/Acid.h"
#include "graphics/WorkWithMemory.h"
#include "input/PlayerControl.h"
#include "support/Battlefield.h"
#include "support/DrawnText.h"
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

TEST_F(AcidTest, EachKindLastsItsSecondsAndMendAndBaneWorkPerSecond) {
    const int seconds[4] = {10, 15, 12, 8};
    for (int kind = 0; kind < 4; kind++) {
        ResetAcid();
        Units[0].Health = 50;
        Take(kind);
        for (int f = 1; f < 33; f++) AcidStep();
        EXPECT_EQ(BoostTimers[kind], seconds[kind] * 33 - 33) << kind;
        EXPECT_NEAR(Units[0].Health, kind == 2 ? 55 : kind == 3 ? 47 : 50, 1e-3) << kind;
    }
}

TEST_F(AcidTest, TheIconsTakeTurnsEverySecondAndBlinkInTheLastThree) {
    constexpr COLORREF Heart = RGB(200, 0, 0), Lightning = RGB(0, 0, 200), Eye = RGB(0, 200, 0);
    CreateSurface(AcidHearth, 90, 60);  // the masks below: all opaque
    for (int c = 0; c < 3; c++)
        for (int y = 0; y < 30; y++)
            for (int x = 0; x < 30; x++) SetPixel(AcidHearth, c * 30 + x, y, c == 0 ? Heart : c == 1 ? Lightning : Eye);
    auto icons = [](int frames) {
        std::vector<COLORREF> seen;
        for (int f = 0; f < frames; f++) {
            CreateSurface(Field, 300, 300);
            AcidStep();
            seen.push_back(static_cast<COLORREF>(GetPixel(Field, 285, 285)));
        }
        return seen;
    };
    ResetAcid();
    BoostTimers[1] = BoostTimers[2] = 300;
    std::vector<COLORREF> seen = icons(66);
    EXPECT_EQ(std::count(seen.begin(), seen.begin() + 32, Lightning), 32);
    EXPECT_EQ(std::count(seen.begin() + 32, seen.begin() + 65, Heart), 33);
    EXPECT_EQ(seen[65], Lightning);
    for (int bad : {0, 3}) {
        ResetAcid();
        BoostTimers[bad] = 60;  // under three seconds left: shown five frames, hidden five
        seen = icons(15);
        const std::vector<COLORREF> want = {Eye, Eye, Eye, Eye, 0, 0, 0, 0, 0, Eye, Eye, Eye, Eye, Eye, 0};
        EXPECT_EQ(seen, want) << bad;
    }
    ResetAcid();
    BoostTimers[0] = 105;  // the fifth frame leaves 100: still steady
    EXPECT_EQ(icons(5)[4], Eye);
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
    EXPECT_EQ(GetPixel(Field, 270, 270), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(Field, 269, 285), 0);
    Units[0].Ammo = 15;  // the bomb icon takes (270, 270)
    BoostTimers[1] = 2;
    CreateSurface(Field, 300, 300);
    AcidStep();
    EXPECT_EQ(GetPixel(Field, 255, 285), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(Field, 240, 270), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(Field, 239, 285), 0);
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
    float low = 90, high = 90;
    for (int k = 0; k < 100; k++) {
        FireBullet(0);
        for (int b = 1; b <= MaxBullet; b++)
            if (Bullets[b].Life > 0) low = std::min(low, Bullets[b].Angle), high = std::max(high, Bullets[b].Angle);
    }
    float w = widest();
    EXPECT_GT(w, 8.0f);
    EXPECT_LE(w, 15.0f);
    EXPECT_LT(low, 82);  // to both sides
    EXPECT_GT(high, 98);
}

TEST_F(AcidTest, TheDrugsNameRisesOverThePlayerForASecondAndAHalfGreenOrRed) {
    const char* names[4] = {"Shakes!", "Rush!", "Mend!", "Bane!"};
    for (int kind : {2, 0, 1, 3}) {
        const COLORREF colour = kind == 1 || kind == 2 ? RGB(90, 255, 90) : RGB(255, 70, 60);
        CreateSurface(Field, 300, 300);
        Field.FontSize = 12;  // whatever was drawn before
        Take(kind);
        EXPECT_TRUE(DrawnAs(Field, names[kind], 136, 126, 8, true, colour)) << kind;
        EXPECT_FALSE(Field.FontBold);
        for (int f = 2; f <= 51; f++) {
            CreateSurface(Field, 300, 300);
            AcidStep();
            if (f == 40 || f == 50) {
                EXPECT_TRUE(DrawnAs(Field, names[kind], 136, 126 - f / 4, 8, true, colour)) << kind << " " << f;
            }
        }
        int lit = 0;  // gone after its 50 frames
        for (int y = 0; y < 150; y++)
            for (int x = 100; x < 200; x++) lit += GetPixel(Field, x, y) != 0;
        EXPECT_EQ(lit, 0) << kind;
    }
    Take(1);
    ResetAcid();  // a new game: no name left over
    CreateSurface(Field, 300, 300);
    AcidStep();
    EXPECT_EQ(std::count(Field.Pixels.begin(), Field.Pixels.end(), 0u), 300u * 300u);
}

TEST_F(AcidTest, TheHeartBeatsFromTheFirstDrugUntilTheLastWearsOff) {
    TempGameDir dir;
    LoadProbeSounds({36});
    Take(0);
    EXPECT_TRUE(Playing(36));
    EXPECT_EQ(MixerGetPan(SoundBuffer(36)), 429);  // in the middle
    MixerSetPan(SoundBuffer(36), -555);
    Take(1);  // beating already: not started again
    EXPECT_EQ(MixerGetPan(SoundBuffer(36)), -555);
    BoostTimers[0] = 3;
    BoostTimers[1] = 1;
    AcidStep();  // the Rush ends, the Shakes go on
    EXPECT_TRUE(Playing(36));
    AcidStep();
    EXPECT_TRUE(Playing(36));
    AcidStep();
    EXPECT_FALSE(Playing(36));
    Take(2);
    ResetAcid();
    EXPECT_FALSE(Playing(36));
    FreeSounds();
}

TEST_F(AcidTest, EachEffectWorksToItsLastFrameAndTheGunRechargesAsUsualWithoutRush) {
    Units[0].FireCooldown = 5;
    AcidStep();
    EXPECT_EQ(Units[0].FireCooldown, 5);
    BoostTimers[1] = 1;
    Units[0].FireCooldown = 1;
    AcidStep();
    EXPECT_EQ(Units[0].FireCooldown, 0);
    BoostTimers[2] = 1;
    Units[0].Health = 50;
    AcidStep();
    EXPECT_NEAR(Units[0].Health, 50 + 5.0 / 33, 1e-4);
    BoostTimers[3] = 1;
    Units[0].Health = 11;
    AcidStep();
    EXPECT_NEAR(Units[0].Health, 11 - 3.0 / 33, 1e-4);
}

TEST_F(AcidTest, DropsLieWhereTheUnitDiedOfAnyKindAndAreTakenWithinNinePixels) {
    SpawnAcid(100, 200);  // on the dead unit's head
    SpawnAcid(-6.5, 286.5);
    EXPECT_EQ(std::tuple(AcidX[0], AcidY[0], AcidX[1], AcidY[1]), std::tuple(107.0f, 201.0f, 0.5f, 287.5f));
    SpawnAcid(286.5, 0);
    EXPECT_FLOAT_EQ(AcidX[2], 293);
    ResetAcid();
    int kinds[4] = {0, 0, 0, 0};
    for (int k = 0; k < 800; k++) {
        SpawnAcid(50, 50);
        ASSERT_TRUE(AcidKind[0] >= 0 && AcidKind[0] <= 3) << AcidKind[0];
        kinds[AcidKind[0]]++;
        AcidActive[0] = 0;
    }
    for (int n : kinds) EXPECT_TRUE(n > 140 && n < 260) << n;

    // The player's middle (110, 110); a drop's middle 3, 3 into it.
    ResetAcid();
    Units[0].X = Units[0].Y = 100;
    for (auto [x, y, taken] : {std::tuple(117, 107, false), std::tuple(116, 107, true), std::tuple(107, 117, false),
                               std::tuple(107, 116, true), std::tuple(97, 107, false), std::tuple(107, 97, false),
                               std::tuple(98, 107, true)}) {
        AcidActive[0] = -1;
        AcidX[0] = static_cast<Single>(x);
        AcidY[0] = static_cast<Single>(y);
        AcidStep();
        EXPECT_EQ(AcidActive[0] == 0, taken) << x << ", " << y;
    }
}


}  // namespace
