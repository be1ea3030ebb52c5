// Bullet flight, hits on units and sheep, kills and the death check.
#include <gtest/gtest.h>

#include "battle/Bullets.h"
#include "graphics/WorkWithMemory.h"
#include "support/Battle.h"

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
    Bullet& b = StillBullet(1, 110, 110);
    MoveBullets();
    EXPECT_EQ(o.Health, 100);
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
    EXPECT_EQ(GetPixel(Terain, 60, 60), 0);
    FreeSurface(Dead);
}
