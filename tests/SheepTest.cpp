// Sheep: the top-up, wandering inside the field, fleeing when hit, death.
#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "battle/Blood.h"
#include "battle/Sheep.h"
#include "graphics/WorkWithMemory.h"
#include "support/Battle.h"
#include "support/Battlefield.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"

namespace {

using SheepTest = Battlefield;

TEST_F(SheepTest, TwentyOneAtMostWalkInAndStayOnTheField) {
    for (int k = 0; k < 30; k++) SpawnSheep();
    EXPECT_EQ(SheepCount(), MaxSheep);
    EXPECT_EQ(Sheeps[MaxSheep].Active, 0);
    // A mind holds for its time to the frame.
    Sheep& first = Sheeps[0];
    first.X = first.Y = 150;
    first.Dir = 45;
    first.Timer = 5;
    for (int f = 0; f < 4; f++) SheepStep();
    EXPECT_EQ(first.Dir, 45);
    SheepStep();
    EXPECT_GE(first.Timer, 33);
    // Every change of mind: its time, and grazing or a heading.
    int changes = 0, grazes = 0, shortest = 1000, longest = 0, quarters[4] = {0, 0, 0, 0};
    for (int f = 0; f < 3000; f++) {
        Integer timer[MaxSheep];
        for (int i = 0; i < MaxSheep; i++) timer[i] = Sheeps[i].Timer;
        SheepStep();
        for (int i = 0; i < MaxSheep; i++) {
            const Sheep& s = Sheeps[i];
            ASSERT_TRUE(s.X >= -25 && s.X <= 302) << s.X;
            ASSERT_TRUE(s.Y >= -3 && s.Y <= 288) << s.Y;
            ASSERT_TRUE(s.Dir >= -1 && s.Dir < 360) << s.Dir;  // -1 while it grazes
            if (s.Timer <= timer[i]) continue;
            changes++;
            shortest = std::min<int>(shortest, s.Timer);
            longest = std::max<int>(longest, s.Timer);
            if (s.Dir == -1) grazes++;
            else quarters[s.Dir / 90]++;
        }
    }
    for (int i = 0; i < MaxSheep; i++) EXPECT_TRUE(Sheeps[i].X >= -3 && Sheeps[i].X <= 280) << i;
    EXPECT_GT(changes, 600);
    EXPECT_EQ(shortest, 33);  // 1 .. 4 seconds
    EXPECT_EQ(longest, 132);
    EXPECT_NEAR(grazes, changes / 3, changes / 20);
    for (int q : quarters) EXPECT_GT(q, changes / 8);
}

TEST_F(SheepTest, ASheepWalksInFromEitherSideWithin30DegreesOfStraightIn) {
    int sides[2] = {0, 0}, lowest[2] = {360, 360}, highest[2] = {-360, -360};
    Single top = 300, bottom = 0;
    Integer firstTurn[2] = {1000, 0};
    for (int k = 0; k < 3000; k++) {
        ResetSheep();
        SpawnSheep();
        const Sheep& s = Sheeps[0];
        ASSERT_TRUE(s.X == -22 || s.X == 299) << s.X;
        ASSERT_TRUE(s.Dir >= 0 && s.Dir < 360) << s.Dir;
        ASSERT_EQ(s.Health, 100);
        ASSERT_EQ(s.Speed, 3);
        const int side = s.X < 0 ? 0 : 1;
        const int off = (s.Dir - (side ? 180 : 0) + 540) % 360 - 180;  // from straight in
        sides[side]++;
        lowest[side] = std::min(lowest[side], off);
        highest[side] = std::max(highest[side], off);
        top = std::min(top, s.Y);
        bottom = std::max(bottom, s.Y);
        firstTurn[0] = std::min(firstTurn[0], s.Timer);
        firstTurn[1] = std::max(firstTurn[1], s.Timer);
    }
    EXPECT_NEAR(sides[0], 1500, 150);
    for (int side : {0, 1}) {
        EXPECT_EQ(lowest[side], -30);
        EXPECT_EQ(highest[side], 29);
    }
    EXPECT_EQ(top, 20);
    EXPECT_EQ(bottom, 259);
    EXPECT_EQ(firstTurn[0], 60);  // it walks in for 2 .. 4 seconds
    EXPECT_EQ(firstTurn[1], 119);
}

TEST_F(SheepTest, AHitSheepBleatsOneOfItsThreeCallsWhereItStands) {
    TempGameDir dir;
    LoadProbeSounds({38, 39, 40, 41, 42});
    int heard[43] = {};
    for (int k = 0; k < 60; k++) {
        ResetSheep();
        SpawnSheep();
        Sheep& s = Sheeps[0];
        s.X = 105;  // position 350
        s.Y = 150;
        s.Health -= 10;
        for (int id = 38; id <= 42; id++) MixerSetPan(SoundBuffer(id), -555);
        SheepStep();
        for (int id = 38; id <= 42; id++)
            if (MixerGetPan(SoundBuffer(id)) != -555) {
                EXPECT_NEAR(MixerGetPan(SoundBuffer(id)), 0, 3) << id;  // a call of its own may follow the step
                heard[id]++;
            }
    }
    EXPECT_EQ(heard[38] + heard[42], 0);
    for (int id = 39; id <= 41; id++) EXPECT_GT(heard[id], 5) << id;
    EXPECT_GE(heard[39] + heard[40] + heard[41], 60);

    // Once only for a hit, now and then otherwise, and once more as it dies.
    auto bleats = [](void (*step)()) {
        for (int id = 39; id <= 41; id++) MixerSetPan(SoundBuffer(id), -555);
        step();
        int n = 0;
        for (int id = 39; id <= 41; id++) n += MixerGetPan(SoundBuffer(id)) != -555;
        return n;
    };
    int now = 0;
    for (int f = 0; f < 100; f++) now += bleats(SheepStep);
    EXPECT_LE(now, 3);
    Sheeps[0].Health = 0;
    EXPECT_EQ(bleats([] { SheepDeathCheck(0); }), 1);
    FreeSounds();
}

TEST_F(SheepTest, AtAnEdgeTheHeadingIsMirroredBackIn) {
    struct Case {
        Single X, Y;
        Integer Dir, Mirrored;
    };
    for (Case c : {Case{-1, 150, 225, 315}, Case{-1, 150, 135, 45}, Case{278, 150, 45, 135}, Case{150, -1, 300, 60},
                   Case{150, -1, 240, 120}, Case{150, 285, 60, 300}, Case{-1, -1, 225, 45}, Case{-1, 150, 300, 300},
                   // Already heading in, or not yet past the edge: no change.
                   Case{-1, 150, 45, 45}, Case{278, 150, 135, 135}, Case{150, -1, 60, 60}, Case{150, 285, 240, 240},
                   Case{0, 150, 225, 225}, Case{277, 150, 45, 45}, Case{150, 0, 300, 300}, Case{150, 284, 60, 60},
                   Case{-1, 100, 0, 0},
                   // Past one edge only: the other axis keeps its heading, even on its own edge.
                   Case{0, -1, 225, 135}, Case{-1, 0, 225, 315}, Case{277, -1, 300, 60}, Case{-1, 284, 135, 45},
                   // A grazing sheep at an edge walks in towards the middle.
                   Case{-1, -1, -1, 46}, Case{280, 290, -1, 226}, Case{280, 108, -1, 166}, Case{280, 126, -1, 174},
                   // but not yet on the edge itself.
                   Case{0, 0, -1, -1}, Case{277, 284, -1, -1}}) {
        ResetSheep();
        SpawnSheep();
        Sheep& s = Sheeps[0];
        s.X = c.X;
        s.Y = c.Y;
        s.Dir = c.Dir;
        s.Timer = 100;
        SheepStep();
        EXPECT_EQ(s.Dir, c.Mirrored) << c.X << ", " << c.Y << " heading " << c.Dir;
    }
}

TEST_F(SheepTest, AHitSheepRunsFromThePlayerThenCalmsDown) {
    SpawnSheep();
    Sheep& s = Sheeps[0];
    s.X = 180;
    s.Y = 140;
    s.Speed += 4;  // as the bullets step does
    s.Health -= 40;
    int wobble[2] = {0, 0};
    auto run = [&](int frames) {
        for (int f = 0; f < frames; f++) {
            // Straight away from the player, give or take 20 degrees.
            const Integer away = DirectionAndDistance(150, 150, s.X + 11, s.Y + 11);
            SheepStep();
            const int off = (s.Dir - away + 540) % 360 - 180;
            ASSERT_LE(std::abs(off), 20) << f;
            wobble[0] = std::min(wobble[0], off);
            wobble[1] = std::max(wobble[1], off);
        }
    };
    run(30);
    DirectionAndDistance(150, 150, s.X + 11, s.Y + 11);
    EXPECT_GT(LastDistance, 51);  // from 41
    s.X = 140;
    s.Y = 180;  // below the player
    run(10);
    EXPECT_LT(wobble[0], -10);
    EXPECT_GT(wobble[1], 10);
    for (int f = 0; f < 200; f++) SheepStep();
    EXPECT_EQ(s.Speed, 3);

    // Its middle 15, 15 off the player's (heading 45): 25 .. 64 each frame, every one of them.
    int lowest = 360, highest = -1;
    for (int f = 0; f < 400; f++) {
        s.X = s.Y = 154;
        s.Speed = 7;
        SheepStep();
        ASSERT_TRUE(s.Dir >= 25 && s.Dir <= 64) << s.Dir;
        lowest = std::min<int>(lowest, s.Dir);
        highest = std::max<int>(highest, s.Dir);
    }
    EXPECT_EQ(lowest, 25);
    EXPECT_EQ(highest, 64);
}

TEST_F(SheepTest, ACalmSheepWalksThreeTenthsOfAPixelAFrameAlongItsHeading) {
    SpawnSheep();
    Sheep& s = Sheeps[0];
    for (auto [dir, dx, dy] : {std::tuple(0, 3.0f, 0.0f), std::tuple(90, 0.0f, 3.0f), std::tuple(-1, 0.0f, 0.0f)}) {
        s.X = s.Y = 150;
        s.Dir = dir;
        s.Timer = 100;
        for (int f = 0; f < 10; f++) SheepStep();
        EXPECT_NEAR(s.X, 150 + dx, 1e-3) << dir;
        EXPECT_NEAR(s.Y, 150 + dy, 1e-3) << dir;
    }
}

TEST_F(SheepTest, AWoundedSheepDripsTheMoreTheWorseItIsHurt) {
    SpawnSheep();
    Sheep& s = Sheeps[0];
    for (auto [health, low, high] : {std::tuple(100, 0, 0), std::tuple(60, 22, 58), std::tuple(20, 55, 105)}) {
        ResetBlood();  // and no blood step: every drop stays counted
        s.Health = static_cast<Integer>(health);
        for (int f = 0; f < 400; f++) {
            s.X = s.Y = 150;
            s.Timer = 100;
            SheepStep();
        }
        EXPECT_GE(BloodInFlight(), 2 * low) << health;  // two drops a drip, (100 - health) / 400 a frame
        EXPECT_LE(BloodInFlight(), 2 * high) << health;
        EXPECT_EQ(BloodInFlight() % 2, 0) << health;
    }
    ResetBlood();  // barely hurt: a drip in 400 frames
    s.Health = 99;
    for (int f = 0; f < 20000; f++) {
        s.X = s.Y = 150;
        s.Timer = 100;
        SheepStep();
    }
    EXPECT_TRUE(BloodInFlight() > 2 * 25 && BloodInFlight() < 2 * 75) << BloodInFlight();
    s.Health = 20;
    // A grazing sheep's drips fall just below its middle (161, 162).
    ResetBlood();
    int stains = 0;
    for (int f = 0; f < 200; f++) {
        s.Dir = -1;
        s.Timer = 100;
        SheepStep();
        BloodStep();
    }
    for (int y = 0; y < 300; y++)
        for (int x = 0; x < 300; x++)
            if (GetPixel(Terain, x, y) != static_cast<int32_t>(Grass)) {
                stains++;
                EXPECT_TRUE(x >= 154 && x <= 168 && y >= 162 && y <= 170) << x << ", " << y;
            }
    EXPECT_GT(stains, 10);
}

TEST_F(SheepTest, WalkingCellsFaceTheWayItGoesAndStepFasterWhenItRuns) {
    // Eight cells of their own colour: 0-3 walk right, 4-7 walk left.
    Sprite(Ovca, 8 * 23, 16, 0, 0, 17);
    for (int c = 0; c < 8; c++)
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 23; x++) SetPixel(Ovca, c * 23 + x, y, RGB(100 + c, 0, 0));
    SpawnSheep();
    Sheep& s = Sheeps[0];
    Units[0].X = 0;  // a running sheep heads right, away from the player
    Units[0].Y = 90;
    struct Case {
        Integer Dir, Speed;
        int Frames, Cell;
    };
    for (Case c : {Case{0, 3, 1, 0}, Case{0, 3, 6, 1}, Case{0, 3, 23, 3}, Case{0, 3, 24, 0}, Case{180, 3, 1, 4},
                   Case{180, 3, 12, 6}, Case{120, 3, 1, 4}, Case{60, 3, 1, 0}, Case{0, 7, 3, 1}, Case{0, 7, 9, 3}, Case{0, 7, 12, 0},
                   Case{0, 3, 29, 0}, Case{0, 3, 30, 1}, Case{-1, 3, 9, 0}}) {
        s.Frame = 0;
        for (int f = 0; f < c.Frames; f++) {
            s.X = s.Y = 100;
            s.Dir = c.Dir;
            s.Speed = c.Speed;
            s.Timer = 100;
            SheepStep();
        }
        EXPECT_EQ(GetPixel(Field, 110, 108), RGB(100 + c.Cell, 0, 0)) << c.Dir << " " << c.Speed << " " << c.Frames;
    }
    // One that walks in again starts its walk afresh.
    s.Frame = 7;
    s.Active = 0;
    SpawnSheep();
    EXPECT_EQ(s.Frame, 0);
}

TEST_F(SheepTest, ARunningSheepSlowsByOneEveryTwentyFramesCountedAfresh) {
    for (int life = 0; life < 2; life++) {
        SpawnSheep();
        Sheep& s = Sheeps[0];
        s.X = s.Y = 150;
        s.Speed = 7;  // hit
        for (int step = 6; step >= 5; step--) {
            for (int f = 1; f < 20; f++) SheepStep();
            EXPECT_EQ(s.Speed, step + 1) << life;
            SheepStep();
            EXPECT_EQ(s.Speed, step) << life;
        }
        for (int f = 0; f < 10; f++) SheepStep();  // half way to the next step
        s.Health = 0;
        SheepDeathCheck(0);
    }
}

TEST_F(SheepTest, DeathLeavesABodyOnlyWhenBloodStays) {
    Sprite(OvcaDead, 17, 16, RGB(255, 255, 255), 0, 16);
    CheckerboardHoles(OvcaDead, 17, 16, 0, 16);
    SpawnSheep();
    SpawnSheep();
    Sheeps[0].X = Sheeps[1].X = 100;
    Sheeps[0].Y = 50;
    Sheeps[1].Y = 200;
    Sheeps[0].Health = 1;
    SheepDeathCheck(0);  // still alive at 1
    EXPECT_EQ(Sheeps[0].Active, -1);
    Sheeps[0].Health = 0;
    const int drops = BloodInFlight();
    SheepDeathCheck(0);
    EXPECT_EQ(Sheeps[0].Active, 0);
    EXPECT_EQ(BloodInFlight(), drops + 30);  // a last spray
    // The 17 x 16 body 3 pixels in from the sheep's corner, grass through its holes.
    int wrong = 0;
    for (int y = 49; y <= 66; y++)
        for (int x = 102; x <= 120; x++) {
            const bool body = x >= 103 && x < 120 && y >= 50 && y < 66 && (x - 103 + y - 50) % 2 == 0;
            wrong += GetPixel(Terain, x, y) != static_cast<int32_t>(body ? RGB(255, 255, 255) : Grass);
        }
    EXPECT_EQ(wrong, 0);

    OptBloodStays = 8;
    Sheeps[1].Health = -20;
    SheepDeathCheck(1);
    EXPECT_EQ(Sheeps[1].Active, 0);
    EXPECT_EQ(GetPixel(Terain, 110, 208), Grass);
}

TEST_F(SheepTest, DripsTrailBehindFromTheMiddleAndTheLastSprayIsThrownAnyWay) {
    FreeSurface(OvcaDead);  // no body over the stains
    SpawnSheep();
    Sheep& s = Sheeps[0];
    auto drip = [&s](Integer dir, int frames) {
        for (int f = 0; f < frames; f++) {
            s.X = s.Y = 150;
            s.Dir = dir;
            s.Timer = 100;
            s.Health = -1000;  // so bad it drips every frame
            SheepStep();
        }
    };
    // Grazing: straight down from (161, 162); walking right: back to the left.
    const auto grazing = BloodStains([&] { drip(-1, 100); });
    EXPECT_TRUE(grazing == BloodStains([] {
        for (int f = 0; f < 100; f++) SpawnBlood(161, 162, 2, 90, 1);
    }));
    EXPECT_TRUE(BloodStains([&] { drip(0, 1); }) == BloodStains([] { SpawnBlood(161.3, 162, 2, 180, 1); }));
    EXPECT_GT(std::count_if(grazing.begin(), grazing.end(), [](COLORREF c) { return c != 0; }), 1);

    // Dying: 30 drops of strength 3 from its middle in any direction.
    for (uint32_t seed : {3u, 4u, 5u}) {
        Randomize(seed);
        const int dir = static_cast<int>(Int(Rnd() * 360));
        const auto last = BloodStains([&s, seed] {
            s.Active = -1;
            s.X = 100;
            s.Y = 200;
            s.Health = 0;
            Randomize(seed);
            SheepDeathCheck(0);
        });
        EXPECT_TRUE(last == BloodStains([dir] { SpawnBlood(111, 211, 30, dir, 3); })) << seed;
    }
}

}  // namespace
