// Bullet flight, hits on units and sheep, kills and the death check.
#include <gtest/gtest.h>

#include <algorithm>

#include "battle/Blood.h"
#include "battle/Bullets.h"
#include "battle/ScoreInfo.h"
#include "graphics/WorkWithMemory.h"
#include "support/Battle.h"
#include "support/SoundProbe.h"

namespace {
// A bullet that stays where it is (no direction), so distances are exact.
Bullet& StillBullet(int owner, double x, double y, int speed = 1, int life = 60) {
    Bullet& b = Bullets[1];
    b = Bullet{};
    b.Owner = static_cast<Integer>(owner);
    b.BX = x;
    b.BY = y;
    b.Speed = static_cast<Integer>(speed);
    b.Life = static_cast<Integer>(life);
    return b;
}
}  // namespace

TEST(MoveBullets, NeverHitsItsOwnerEvenPointBlank) {
    BattleReset();
    PlaceUnit(0, 0, 0);
    Unit& o = PlaceUnit(1, 100, 100);
    PlaceUnit(2, 100, 100).Active = 0;  // nor a corpse on the same spot
    Bullet& b = StillBullet(1, 110, 110);
    MoveBullets();
    EXPECT_EQ(o.Health, 100);
    EXPECT_EQ(Units[2].Health, 100);
    EXPECT_EQ(b.Life, 59);
}

TEST(MoveBullets, UnitsHitAtSevenPixelsSheepBelowTen) {
    BattleReset();
    PlaceUnit(0, 0, 0);
    Unit& t = PlaceUnit(1, 100, 100);
    t.BulletSpeed = 5;
    // Unit centre (110, 110): 7 pixels hits, 8 misses.
    Bullet& b = StillBullet(0, 117, 110);
    MoveBullets();
    EXPECT_EQ(b.Life, 0);
    EXPECT_EQ(t.Health, 100 - 3 * 3);  // three times the shooter's bullet speed
    EXPECT_EQ(HitScore, 1);            // (5 - 2) \ 2
    StillBullet(0, 118, 110);
    MoveBullets();
    EXPECT_EQ(Bullets[1].Life, 59);
    EXPECT_EQ(t.Health, 91);

    // Sheep centre (x + 11, y + 11) = (211, 211): 9 hits, 10 misses.
    t.Active = 0;
    Sheeps[3].Active = -1;
    Sheeps[3].X = 200;
    Sheeps[3].Y = 200;
    Sheeps[3].Health = 200;
    StillBullet(0, 211, 221);
    MoveBullets();
    EXPECT_EQ(Bullets[1].Life, 59);
    EXPECT_EQ(Sheeps[3].Health, 200);
    StillBullet(0, 211, 220);
    MoveBullets();
    EXPECT_EQ(Bullets[1].Life, 0);
    EXPECT_EQ(Sheeps[3].Speed, 4);
    EXPECT_LE(Sheeps[3].Health, 200 - 30);
    EXPECT_GE(Sheeps[3].Health, 200 - 79);
    EXPECT_EQ(HitScore, 2);

    // The other axis: a unit 7 below hit, 8 below missed; the last sheep slot 9 and 10 to the right.
    Sheeps[3].Active = 0;
    t.Active = -1;
    StillBullet(0, 110, 118);
    MoveBullets();
    EXPECT_EQ(t.Health, 91);
    StillBullet(0, 110, 117);
    MoveBullets();
    EXPECT_EQ(t.Health, 82);
    t.Active = 0;
    Sheeps[20] = Sheep{};
    Sheeps[20].Active = -1;
    Sheeps[20].X = Sheeps[20].Y = 200;
    Sheeps[20].Health = 20;  // no more than a hit takes
    StillBullet(0, 221, 211);
    MoveBullets();
    EXPECT_EQ(Sheeps[20].Health, 20);
    StillBullet(0, 220, 211);
    MoveBullets();
    EXPECT_EQ(Bullets[1].Life, 0);
    EXPECT_EQ(Sheeps[20].Active, 0);  // dead in the same frame
}

TEST(MoveBullets, HitsMissesAndTheCleanerAreHeardWhereTheyHappen) {
    TempGameDir dir;
    BattleReset();
    LoadProbeSounds({2, 11, 12, 13, 14, 15, 16, 38});
    auto pan = [](int id) { return MixerGetPan(SoundBuffer(id)); };
    PlaceUnit(0, 0, 0);
    Unit& t = PlaceUnit(1, 105, 100);  // position 350: pan 0
    int heard[17] = {};
    for (int k = 0; k < 60; k++) {
        t.Health = 100;
        for (int id = 11; id <= 16; id++) MixerSetPan(SoundBuffer(id), -555);
        const int drops = BloodInFlight();
        StillBullet(0, 115, 110);
        MoveBullets();
        EXPECT_EQ(BloodInFlight(), drops + 40);
        int n = 0;
        for (int id = 11; id <= 16; id++)
            if (pan(id) != -555) {
                EXPECT_EQ(pan(id), 0) << id;
                heard[id]++;
                n++;
            }
        EXPECT_EQ(n, 1);  // one of the six damage sounds
    }
    for (int id = 11; id <= 16; id++) EXPECT_GT(heard[id], 2) << id;

    // Spent at (210, 50): position 700; at 105: the middle.
    StillBullet(0, 210, 50, 1, 1);
    MoveBullets();
    EXPECT_EQ(pan(2), 1000);
    StillBullet(0, 105, 50, 1, 1);
    MoveBullets();
    EXPECT_EQ(pan(2), 0);
    // Swallowed by the cleaner at BugerX + 140 / 3.
    BugerActive = -1;
    BugerX = 100;
    BugerY = 100;
    StillBullet(0, 117, 135);
    MoveBullets();
    EXPECT_EQ(Bullets[1].Life, 0);
    EXPECT_EQ(pan(38), Whole((100 + 140.0 / 3) * 20 / 7 - 1000));
    FreeSounds();
}

TEST(MoveBullets, OnlyThePlayersBulletsCountKills) {
    BattleReset();
    PlaceUnit(0, 0, 0);
    PlaceUnit(2, 250, 250);
    Unit& t = PlaceUnit(1, 100, 100);
    t.Health = 5;
    StillBullet(2, 110, 110);  // another opponent shoots it dead
    MoveBullets();
    EXPECT_EQ(t.Active, 0);
    EXPECT_EQ(Kills, 0);

    PlaceUnit(1, 100, 100).Health = 5;
    StillBullet(0, 110, 110);
    MoveBullets();
    EXPECT_EQ(Units[1].Active, 0);
    EXPECT_EQ(Kills, 1);

    // The player shot dead by an opponent takes no kill away.
    Units[0].Health = 5;
    StillBullet(2, 10, 10);
    MoveBullets();
    EXPECT_EQ(Units[0].Active, 0);
    EXPECT_EQ(Kills, 1);
}

TEST(MoveBullets, ShortLifeStopsAtOnceAndMarksTheTerrain) {
    BattleReset();
    PlaceUnit(0, 0, 0);
    Bullet& b = StillBullet(0, 50.4, 60.6, 3, 2);
    b.DX = 1;
    MoveBullets();
    EXPECT_LT(b.Life, 1);
    EXPECT_DOUBLE_EQ(b.BX, 50.4);
    EXPECT_EQ(GetPixel(Terain, 50, 61), static_cast<int32_t>(RGB(128, 64, 64)));
    MoveBullets();  // a spent bullet is not moved again
    EXPECT_DOUBLE_EQ(b.BX, 50.4);

    // With one left after its step it flies on, and stops in the next frame.
    Bullet& c = StillBullet(0, 100, 100, 3, 4);
    c.DX = 0.6f;
    c.DY = 0.8f;
    MoveBullets();
    EXPECT_EQ(c.Life, 1);
    EXPECT_NEAR(c.BX, 101.8, 1e-6);
    EXPECT_NEAR(c.BY, 102.4, 1e-6);
    EXPECT_EQ(GetPixel(Terain, 102, 102), 0);
    MoveBullets();
    EXPECT_LT(c.Life, 1);
    EXPECT_NEAR(c.BY, 102.4, 1e-6);
    EXPECT_EQ(GetPixel(Terain, 102, 102), static_cast<int32_t>(RGB(128, 64, 64)));
}

TEST(UnitDeathCheck, CorpseOnceAndOnlyBelowOneHealth) {
    BattleReset();
    CreateSurface(Dead, 40, 80, RGB(255, 0, 0));
    for (int y = 0; y < 80; y++)
        for (int x = 20; x < 40; x++) SetPixel(Dead, x, y, 0);  // the mask column
    Unit& t = PlaceUnit(4, 50, 50);
    t.Health = 1;
    UnitDeathCheck(4);
    EXPECT_EQ(t.Active, -1);
    t.Health = 0.5f;
    UnitDeathCheck(4);
    EXPECT_EQ(t.Active, 0);
    EXPECT_EQ(t.Health, 0);
    EXPECT_EQ(Kills, 1);
    EXPECT_EQ(KillsInRow(), 1);  // a kill is a kill in a row too
    EXPECT_EQ(UnitDied, -1);
    EXPECT_EQ(GetPixel(Terain, 60, 60), static_cast<int32_t>(RGB(255, 0, 0)));
    // Dead already (melee, then the cleaner in the same frame): no second kill.
    t.Health = -2;
    UnitDeathCheck(4);
    EXPECT_EQ(Kills, 1);

    // Without "blood stays" no corpse is painted; the player's death is no kill.
    CreateSurface(Terain, 300, 300);
    OptBloodStays = 8;
    PlaceUnit(0, 50, 50).Health = 0;
    UnitDeathCheck(0);
    EXPECT_EQ(Units[0].Active, 0);
    EXPECT_EQ(Kills, 1);
    EXPECT_EQ(KillsInRow(), 1);
    EXPECT_EQ(GetPixel(Terain, 60, 60), 0);
    FreeSurface(Dead);
}

TEST(MoveBullets, FliesSpeedStepsWithTrailAndHead) {
    BattleReset();
    PlaceUnit(0, 0, 0);
    const int32_t trail = RGB(0xEB, 0xFF, 0x00), head = RGB(0xFF, 0xFF, 0x00);
    Bullet& b = StillBullet(0, 50, 100, 3, 60);
    b.DX = 1;
    MoveBullets();
    EXPECT_DOUBLE_EQ(b.BX, 53);
    EXPECT_EQ(b.Life, 57);
    EXPECT_EQ(GetPixel(Field, 51, 100), trail);
    EXPECT_EQ(GetPixel(Field, 52, 100), trail);
    EXPECT_EQ(GetPixel(Field, 53, 100), head);
    EXPECT_EQ(GetPixel(Field, 54, 100), 0);
    OptBulletFly = 8;  // no trail, the head still
    MoveBullets();
    EXPECT_EQ(GetPixel(Field, 55, 100), 0);
    EXPECT_EQ(GetPixel(Field, 56, 100), head);
    Bullets[MaxBullet] = b;  // the last slot flies too
    b.Life = 0;
    MoveBullets();
    EXPECT_DOUBLE_EQ(Bullets[MaxBullet].BX, 59);
}

TEST(MoveBullets, TheCleanerSwallowsBulletsNearItsBody) {
    BattleReset();
    PlaceUnit(0, 0, 0);
    Unit& t = PlaceUnit(1, 135, 125);  // centred on the bullet
    BugerActive = -1;
    BugerX = 100;  // the body's point (117, 135), 28 pixels left of the bullet
    BugerY = 100;
    Bullet& b = StillBullet(0, 145, 135);
    MoveBullets();
    EXPECT_EQ(b.Life, 0);
    EXPECT_EQ(t.Health, 100);  // it never reaches the unit
    EXPECT_EQ(HitScore, 0);
    BugerX = 99;  // 29 pixels: the unit is hit
    StillBullet(0, 145, 135);
    MoveBullets();
    EXPECT_EQ(t.Health, 91);
    // Below the body point: 28 swallowed, 29 not.
    BugerX = 100;
    PlaceUnit(1, 107, 154);
    StillBullet(0, 117, 163);
    MoveBullets();
    EXPECT_EQ(t.Health, 100);
    StillBullet(0, 117, 164);
    MoveBullets();
    EXPECT_EQ(t.Health, 91);
}

TEST(MoveBullets, HitScoreOnlyForATargetWithHealthLeft) {
    BattleReset();
    PlaceUnit(0, 0, 0);
    Unit& t = PlaceUnit(MaxUnit, 100, 100);  // the last slot is looked at too
    t.BulletSpeed = 7;  // (7 - 2) \ 2 = 2 a hit
    t.Health = 0;       // not yet found dead
    StillBullet(0, 110, 110);
    MoveBullets();
    EXPECT_EQ(HitScore, 0);
    EXPECT_EQ(t.Active, 0);
    PlaceUnit(MaxUnit, 100, 100).BulletSpeed = 7;
    t.Health = 0.5f;
    StillBullet(0, 110, 110);
    MoveBullets();
    EXPECT_EQ(HitScore, 2);
    PlaceUnit(MaxUnit, 100, 100).BulletSpeed = 4;  // (4 - 2) \ 2 = 1
    StillBullet(0, 110, 110);
    MoveBullets();
    EXPECT_EQ(HitScore, 3);
}

TEST(MoveBullets, ASpentOpponentBulletTakesBackTheKillOfAnyDeathItSees) {
    // Unit 2 has no health left when the bullet looks at it; it dies in the
    // bullet's death check. Whose kill it is depends on that bullet.
    auto killsAfter = [](int owner, bool spent, int life = 60) {
        BattleReset();
        PlaceUnit(0, 0, 0);
        PlaceUnit(3, 250, 250);
        PlaceUnit(1, 100, 100);              // takes the hit: the bullet is spent
        PlaceUnit(2, 200, 100).Health = 0.5f;
        StillBullet(owner, 110, spent ? 110 : 160, 1, life);
        MoveBullets();
        EXPECT_EQ(Units[2].Active, 0);
        return Kills;
    };
    EXPECT_EQ(killsAfter(3, true), 0);      // spent by the hit on unit 1
    EXPECT_EQ(killsAfter(3, false), 1);     // still flying: the death stands
    EXPECT_EQ(killsAfter(3, false, 2), 1);  // one left is still flying
    EXPECT_EQ(killsAfter(0, true), 1);      // the player's bullet
    // A unit the hit leaves with 1.5 lives on: only the death beside it is taken back.
    BattleReset();
    PlaceUnit(0, 0, 0);
    PlaceUnit(3, 250, 250);
    PlaceUnit(1, 100, 100).Health = 10.5f;
    PlaceUnit(2, 200, 100).Health = 0.5f;
    StillBullet(3, 110, 110);
    MoveBullets();
    EXPECT_EQ(Units[1].Active, -1);
    EXPECT_EQ(Kills, 0);
}

TEST(MoveBullets, SheepLoseThirtyAndUpToFortyNineMore) {
    BattleReset();
    PlaceUnit(0, 0, 0);
    int least = 1000, most = 0;
    for (int n = 0; n < 300; n++) {
        Sheeps[0] = Sheep{};
        Sheeps[0].Active = -1;
        Sheeps[0].X = 100;
        Sheeps[0].Y = 100;
        Sheeps[0].Health = 500;
        StillBullet(1, 111, 111);
        MoveBullets();
        const int lost = 500 - Sheeps[0].Health;
        least = std::min(least, lost);
        most = std::max(most, lost);
    }
    EXPECT_GE(least, 30);
    EXPECT_LE(least, 32);
    EXPECT_GE(most, 77);
    EXPECT_LE(most, 79);
    EXPECT_EQ(HitScore, 0);  // not the player's bullets
}

TEST(UnitDeathCheck, EachCorpseVariantWithItsOwnMaskAndACrateWithTheAmmunition) {
    // Variant k: a colour of its own with one hole at (k + 1, k + 1) of its cell,
    // and its first column see-through (white in the mask, so a slip paints it).
    const COLORREF colour[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
    CreateSurface(Dead, 40, 80, 0);
    for (int k = 0; k < 4; k++)
        for (int y = 0; y < 20; y++)
            for (int x = 0; x < 20; x++) {
                const bool hole = (x == k + 1 && y == k + 1) || x == 0;
                SetPixel(Dead, x, 20 * k + y, hole ? 0 : colour[k]);
                SetPixel(Dead, 20 + x, 20 * k + y, hole ? RGB(255, 255, 255) : 0);
            }
    bool seen[4] = {};
    int drugs = 0;
    for (int n = 0; n < 60; n++) {
        BattleReset(static_cast<uint32_t>(n + 1));
        CreateSurface(Terain, 300, 300, RGB(10, 20, 30));
        Unit& t = PlaceUnit(5, 60.4f, 80.6f);  // drawn at (60, 81)
        t.Ammo = 13;
        t.Health = 0;
        // The draws in turn: a drug one time in 13, the variant, a health pack one time in 3.
        const uint32_t state = RndState();
        const double r1 = Rnd(), r2 = Rnd(), r3 = Rnd();
        Randomize(state);
        UnitDeathCheck(5);
        const bool drug = Int(r1 * 13) == 1;
        EXPECT_EQ(std::count(AcidActive, AcidActive + 5, -1), drug ? 1 : 0) << n;
        drugs += drug;
        int k = 0;
        while (k < 4 && GetPixel(Terain, 70, 91) != static_cast<int32_t>(colour[k])) k++;
        ASSERT_LT(k, 4);
        if (!drug) {
            EXPECT_EQ(k, Int(r2 * 4)) << n;
            EXPECT_EQ(std::count(HealthPackActive, HealthPackActive + 10, -1), Int(r3 * 3) == 1 ? 1 : 0) << n;
        }
        seen[k] = true;
        EXPECT_EQ(GetPixel(Terain, 80, 91), static_cast<int32_t>(RGB(10, 20, 30)));  // 20 wide
        EXPECT_EQ(GetPixel(Terain, 60, 91), static_cast<int32_t>(RGB(10, 20, 30)));
        for (int j = 0; j < 4; j++)
            EXPECT_EQ(GetPixel(Terain, 60 + j + 1, 81 + j + 1),
                      static_cast<int32_t>(j == k ? RGB(10, 20, 30) : colour[k]));
        EXPECT_EQ(CrateActive[0], -1);
        EXPECT_EQ(CrateBullets[0], 13);
        DirectionAndDistance(70.4, 90.6, CrateX[0] + 4, CrateY[0] + 3);
        EXPECT_LE(LastDistance, 11);  // where the dead unit lay
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2] && seen[3]);
    EXPECT_GT(drugs, 0);
    FreeSurface(Dead);
}

TEST(MoveBullets, AHitSpraysFortyDropsFromTheMiddleAlongTheBullet) {
    BattleReset();
    PlaceUnit(0, 0, 0);
    PlaceUnit(1, 100, 120);
    // A unit: the strength of a fast bullet is held to 7.
    const auto unit = BloodStains([] {
        StillBullet(0, 112, 131, 9).Angle = 30;
        MoveBullets();
    });
    EXPECT_TRUE(unit == BloodStains([] { SpawnBlood(110, 130, 40, 30, 7); }));
    EXPECT_GT(std::count_if(unit.begin(), unit.end(), [](COLORREF c) { return c != 0; }), 20);
    // A sheep (its middle 11, 11 in): the full strength.
    Units[1].Active = 0;
    Sheeps[2].Active = -1;
    Sheeps[2].X = 200;
    Sheeps[2].Y = 50;
    Sheeps[2].Health = 100;
    const auto sheep = BloodStains([] {
        StillBullet(0, 213, 60, 9).Angle = 200;
        MoveBullets();
    });
    EXPECT_TRUE(sheep == BloodStains([] { SpawnBlood(211, 61, 40, 200, 9); }));
}

TEST(MoveBullets, OnlyThePlayersHitsAndMissesTrainAccuracy) {
    BattleReset();
    PlaceUnit(0, 0, 0);
    PlaceUnit(2, 250, 250);
    auto shot = [](int owner, bool hit) {
        PlaceUnit(1, 100, 100);
        StillBullet(owner, hit ? 110 : 200, 110, 1, hit ? 60 : 1);
        MoveBullets();
    };
    shot(0, true);
    EXPECT_EQ(Units[0].AccuracyXP, 1);  // one hit among the last nine shots
    shot(2, true);
    for (int k = 0; k < 9; k++) shot(2, false);
    shot(0, true);
    EXPECT_EQ(Units[0].AccuracyXP, 3);  // the opponent's shots are not the player's
    for (int k = 0; k < 9; k++) shot(0, false);
    shot(0, true);
    EXPECT_EQ(Units[0].AccuracyXP, 4);  // nine misses push the earlier hits out
}
