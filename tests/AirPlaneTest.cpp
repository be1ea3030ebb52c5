// The bomb order, the plane's flights and the explosions.
#include <algorithm>
#include <utility>
#include <vector>

#include "battle/Blood.h"
#include "battle/Sheep.h"
#include "graphics/WorkWithMemory.h"
#include "opponents/AirPlane.h"
#include "support/Battlefield.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"

namespace {

constexpr COLORREF Crater = RGB(60, 40, 20);

struct Bombs : Battlefield {
    void SetUp() override {
        Battlefield::SetUp();
        Sprite(BoomDirt, 64, 64, Crater, 64, 0);
        Sprite(AirPlane, 40, 40, RGB(200, 200, 255), 40, 0);
        Units[0].X = Units[0].Y = 20;
    }
    // Where the blood landed on the terrain: red with no green, unlike grass and crater.
    static std::vector<std::pair<int, int>> Stains() {
        std::vector<std::pair<int, int>> at;
        for (int y = 0; y < 300; y++)
            for (int x = 0; x < 300; x++)
                if (((GetPixel(Terain, x, y) >> 8) & 0xFF) == 0) at.emplace_back(x, y);
        return at;
    }
    // The stains of a blast's spray: twenty drops thrown hard from (x, y) away from the blast at (bx, by).
    static std::vector<std::pair<int, int>> BlastSpray(double x, double y, double bx, double by) {
        CreateSurface(Terain, 300, 300, Grass);
        ResetBlood();
        SpawnBlood(x, y, 20, DirectionAndDistance(bx, by, x, y), 6);
        for (int f = 0; f < 25; f++) BloodStep();
        return Stains();
    }
    static Unit& Dummy(int u, Single x, Single y) {
        Units[u].Active = -1;
        Units[u].X = x;
        Units[u].Y = y;
        Units[u].Health = 500;
        return Units[u];
    }
};

TEST_F(Bombs, ABombCostsFifteenBulletsAndIsRefusedBelowFifteen) {
    Units[0].Ammo = 14;
    AirPlaneAndBombs(0, -1, 0, 0);
    EXPECT_EQ(Units[0].Ammo, 14);
    EXPECT_EQ(AirPlaneActive, 0);
    Units[0].Ammo = 31;
    AirPlaneAndBombs(0, -1, 0, 0);
    AirPlaneAndBombs(0, -1, 0, 0);
    EXPECT_EQ(Units[0].Ammo, 1);
    EXPECT_EQ(AirPlaneActive, -1);
    EXPECT_EQ(BombRunsWaiting(), 1);  // the second run waits for the first
}

TEST_F(Bombs, TheBombExplodesAtTheOrderedPointAndHurtsWhatIsNear) {
    Units[0].Ammo = 15;
    CursorX = 200;
    CursorY = 100;
    Unit& onTarget = Dummy(1, 190, 90);
    Unit& away = Dummy(2, 100, 200);
    SpawnSheep();
    Sheeps[0].X = 185;
    Sheeps[0].Y = 95;
    Sheeps[0].Health = 50;
    AirPlaneAndBombs(0, -1, 0, 0);
    for (int f = 0; f < 200 && !ExplosionsRunning(); f++) AirPlaneAndBombs(-1, 0, 0, 0);
    for (int f = 0; f < 27; f++) ExplosionsStep();
    EXPECT_EQ(GetPixel(Terain, 200, 100), Crater);
    EXPECT_EQ(GetPixel(Terain, 200, 140), Grass);
    EXPECT_NEAR(onTarget.Health, 410, 1);
    EXPECT_FLOAT_EQ(away.Health, 500);
    EXPECT_FLOAT_EQ(Units[0].Health, 90);
    EXPECT_EQ(Sheeps[0].Active, 0);
    for (int f = 0; f < 100; f++) AirPlaneAndBombs(-1, 0, 0, 0);
    EXPECT_EQ(AirPlaneActive, 0);
    EXPECT_EQ(ExplosionsRunning(), 0);  // one order, one bomb
}

TEST_F(Bombs, EveryWaitingTargetIsMarkedAndTheBombDropsFromThePlaneOntoIt) {
    constexpr COLORREF Cross = RGB(255, 40, 30), Dot = RGB(20, 20, 25);
    Units[0].Ammo = 45;
    const int targets[3][2] = {{200, 100}, {100, 200}, {250, 250}};
    for (auto& t : targets) {
        CursorX = t[0];
        CursorY = t[1];
        AirPlaneAndBombs(0, -1, 0, 0);
    }
    AirPlaneAndBombs(-1, 0, 0, 0);
    for (auto& t : targets) {
        EXPECT_EQ(GetPixel(Field, t[0], t[1]), Cross) << t[0];
        EXPECT_EQ(GetPixel(Field, t[0] + 2, t[1] - 2), Cross) << t[0];  // a cross five pixels wide
        EXPECT_EQ(GetPixel(Field, t[0] - 3, t[1] - 3), 0) << t[0];
        EXPECT_EQ(GetPixel(Field, t[0] + 3, t[1] + 3), 0) << t[0];
    }

    // The first bomb falls between the plane's release point and the target
    // (under a see-through plane).
    CreateSurface(AirPlane, 80, 40, RGB(255, 255, 255));
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 40; x++) SetPixel(AirPlane, x, y, 0);
    // The bomb is a 3 x 3 dot; its 3 x 3 shadow lies as far down and right as
    // the bomb still has frames to fall, one pixel closer each frame.
    constexpr COLORREF Shadow = RGB(40, 40, 40);
    int dots = 0, farthest = 0, lastGap = 99;
    for (int f = 0; f < 200 && !ExplosionsRunning(); f++) {
        CreateSurface(Field, 300, 300);
        AirPlaneAndBombs(-1, 0, 0, 0);
        int box[2][4] = {{300, 300, -1, -1}, {300, 300, -1, -1}};  // dot, shadow: x0 y0 x1 y1
        for (int y = 0; y < 300; y++)
            for (int x = 0; x < 300; x++) {
                const int32_t p = GetPixel(Field, x, y);
                const int k = p == static_cast<int32_t>(Dot) ? 0 : p == static_cast<int32_t>(Shadow) ? 1 : -1;
                if (k < 0) continue;
                box[k][0] = std::min(box[k][0], x), box[k][1] = std::min(box[k][1], y);
                box[k][2] = std::max(box[k][2], x), box[k][3] = std::max(box[k][3], y);
                if (k) continue;
                dots++;
                farthest = std::max(farthest, x);
                EXPECT_TRUE(x >= 169 && x <= 201 && y >= 99 && y <= 101) << x << ", " << y;
            }
        if (box[0][2] < 0) continue;
        EXPECT_EQ(box[0][2] - box[0][0], 2);
        EXPECT_EQ(box[0][3] - box[0][1], 2);
        EXPECT_EQ(box[1][2] - box[1][0], 2);
        EXPECT_EQ(box[1][3] - box[1][1], 2);
        const int gap = box[1][2] - box[0][2];
        EXPECT_EQ(box[1][3] - box[0][3], gap);
        if (lastGap != 99) {
            EXPECT_EQ(gap, lastGap - 1);
        }
        lastGap = gap;
    }
    EXPECT_GT(dots, 0);
    EXPECT_EQ(lastGap, 1);
    EXPECT_GE(farthest, 194);  // it drifts on to the target, 5 a frame from 170

    // The waiting runs are flown in the order given, each onto its own point.
    for (auto& t : targets) {
        for (int f = 0; f < 400 && !ExplosionsRunning(); f++) AirPlaneAndBombs(-1, 0, 0, 0);
        for (int f = 0; f < 27; f++) ExplosionsStep();
        EXPECT_EQ(GetPixel(Terain, t[0], t[1]), Crater) << t[0];
    }
}

TEST_F(Bombs, BlastBloodFliesFromTheSheepAwayFromTheBlast) {
    SpawnSheep();
    Sheep& s = Sheeps[0];
    s.X = 170;
    s.Y = 139;  // its middle (181, 150), 31 right of the blast
    StartExplosion(150, 150);
    for (int f = 0; f < 9; f++) ExplosionsStep();
    ASSERT_EQ(s.Active, -1);
    for (int f = 0; f < 25; f++) BloodStep();
    const auto stains = Stains();
    for (auto [x, y] : stains) EXPECT_GE(x, 178) << y;
    EXPECT_GT(stains.size(), 5u);
    EXPECT_EQ(stains, BlastSpray(181, 150, 150, 150));
}

TEST_F(Bombs, BlastBloodFliesFromTheUnitsMiddleAwayFromTheBlast) {
    Dummy(1, 140, 130);  // its middle (150, 140), 20 below the blast
    StartExplosion(150, 120);
    for (int f = 0; f < 9; f++) ExplosionsStep();
    for (int f = 0; f < 25; f++) BloodStep();
    const auto stains = Stains();
    for (auto [x, y] : stains) EXPECT_GE(y, 137) << x;
    EXPECT_GT(stains.size(), 5u);
    EXPECT_EQ(stains, BlastSpray(150, 140, 150, 120));
}

TEST_F(Bombs, ThePlaneFliesFivePixelsAFrameAndTheBombLandsSixFramesAfterRelease) {
    TempGameDir dir;
    LoadProbeSounds({9, 21});
    // Released when the plane's middle (x + 20, from -40) is 30 short of the target.
    for (auto [tx, landing] : {std::pair(200, 44), std::pair(201, 45)}) {
        ResetAirPlane();
        MixerSetPan(SoundBuffer(9), -555);
        Units[0].Ammo = 15;
        CursorX = tx;
        CursorY = 150;
        AirPlaneAndBombs(0, -1, 0, 0);
        EXPECT_EQ(MixerGetPan(SoundBuffer(9)), 429);  // in the middle
        int frames = 0;
        while (!ExplosionsRunning() && frames < 100) {
            AirPlaneAndBombs(-1, 0, 0, 0);
            frames++;
            ASSERT_EQ(AirPlaneActive, -1) << frames;  // the plane or its bomb is in the air
        }
        EXPECT_EQ(frames, landing) << tx;
        EXPECT_EQ(MixerGetPan(SoundBuffer(21)), Whole(tx * 10.0 / 3 * 20 / 7 - 1000)) << tx;
    }
    ASSERT_TRUE(Playing(9));
    ResetAirPlane();  // a new game while the plane flies: silent at once
    EXPECT_FALSE(Playing(9));
    EXPECT_EQ(AirPlaneActive, 0);
    FreeSounds();
}

TEST_F(Bombs, TheBlastHurtsLessFurtherOutAndThePlayerHalf) {
    // Middles (x + 10, y + 10) at 0, 15 and 44 pixels from the blast, one at 45.
    Unit& middle = Dummy(1, 140, 140);
    Unit& near = Dummy(2, 155, 140);
    Unit& edge = Dummy(3, 140, 184);
    Unit& out = Dummy(4, 95, 140);
    Units[0].X = 125;
    Units[0].Y = 140;
    SpawnSheep();
    Sheep& s = Sheeps[0];
    s.X = s.Y = 139;  // middle (150, 150)
    SpawnSheep();
    Sheep& far = Sheeps[1];
    far.X = 184;
    far.Y = 139;  // middle (195, 150): 45 out, unhurt
    far.Health = 50;
    const int drops = BloodInFlight();
    StartExplosion(150, 150);
    for (int f = 0; f < 9; f++) ExplosionsStep();
    EXPECT_EQ(BloodInFlight(), drops + 5 * 20);  // twenty drops from each of the five hit
    EXPECT_FLOAT_EQ(middle.Health, 410);
    EXPECT_FLOAT_EQ(near.Health, 440);
    EXPECT_FLOAT_EQ(edge.Health, 498);
    EXPECT_FLOAT_EQ(out.Health, 500);
    EXPECT_FLOAT_EQ(Units[0].Health, 60);  // 60 at 15 pixels, halved
    EXPECT_EQ(s.Health, 10);
    EXPECT_EQ(s.Speed, 7);  // and it runs
    EXPECT_EQ(s.Active, -1);
    EXPECT_EQ(far.Health, 50);
}

TEST_F(Bombs, TheCraterIsStampedOnceAtFrameEightAndTheBlastEndsAfterFrame26) {
    for (int blast = 0; blast < 2; blast++) {  // the second one in the first one's place
        CreateSurface(Terain, 300, 300, Grass);
        StartExplosion(150, 150);
        EXPECT_EQ(ShakeActive, -1);  // from the moment it starts
        for (int f = 0; f < 8; f++) ExplosionsStep();
        EXPECT_EQ(ShakeActive, -1);
        EXPECT_EQ(GetPixel(Terain, 150, 150), Grass);
        ExplosionsStep();  // frame 8
        EXPECT_EQ(GetPixel(Terain, 150, 150), Crater) << blast;
        CreateSurface(Terain, 300, 300, Grass);
        for (int f = 9; f <= 26; f++) {
            EXPECT_EQ(ExplosionsRunning(), 1) << f;
            ExplosionsStep();
        }
        EXPECT_EQ(ExplosionsRunning() | ShakeActive, 0);
        EXPECT_EQ(GetPixel(Terain, 150, 150), Grass);
    }
}

TEST_F(Bombs, TheWaveFlightCrossesFromTheLeftWithoutBombs) {
    // A plane with checkerboard holes in its mask: the field shows through them.
    CheckerboardHoles(AirPlane, 40, 40, 40, 0);
    AirPlaneAndBombs(0, 0, 0, -1);
    EXPECT_EQ(AirPlaneActive, -1);
    CreateSurface(Field, 300, 300, Grass);
    AirPlaneAndBombs(-1, 0, 0, 0);
    int wrong = 0;  // drawn at (5, 135)
    for (int y = 135; y < 175; y++)
        for (int x = 5; x < 45; x++)
            wrong += GetPixel(Field, x, y) != static_cast<int32_t>((x - 5 + y - 135) % 2 ? Grass : RGB(200, 200, 255));
    EXPECT_EQ(wrong, 0);
    for (int f = 0; f < 100; f++) AirPlaneAndBombs(-1, 0, 0, 0);
    EXPECT_EQ(AirPlaneActive | ExplosionsRunning(), 0);
}

}  // namespace
