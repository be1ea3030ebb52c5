// The units pass: keeping in the field, walking, pick-ups, separation and the
// opponents' behaviour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "battle/Blood.h"
#include "graphics/WorkWithMemory.h"
#include "opponents/AImod.h"
#include "support/Battle.h"
#include "support/DrawnText.h"
#include "support/SoundProbe.h"

namespace {
int FlyingBulletsOf(int owner) {
    int n = 0;
    for (int b = 1; b <= MaxBullet; b++)
        if (Bullets[b].Life > 0 && Bullets[b].Owner == owner) n++;
    return n;
}
}  // namespace

TEST(Opponent, OutOfRangeChasesAndKeepsAnOrderItHas) {
    BattleReset();
    PlaceUnit(0, 100, 100);
    Unit& o = PlaceUnit(1, 130, 100);  // 30 pixels right of the player
    o.BulletRange = 20;
    o.Health = 90;
    UpdateUnits();
    EXPECT_EQ(o.Facing, 180);
    EXPECT_GE(o.WalkDir, 170);
    EXPECT_LE(o.WalkDir, 189);
    EXPECT_GE(o.WalkLeft, 30);
    EXPECT_LT(o.WalkLeft, 40);
    EXPECT_EQ(FlyingBulletsOf(1), 0);
    const Integer dir = o.WalkDir;
    for (int f = 0; f < 3; f++) {
        UpdateUnits();
        EXPECT_EQ(o.WalkDir, dir);  // the order stands while WalkLeft >= 1
    }
    EXPECT_LT(o.X, 130);

    // The order is Whole(Int(Rnd x 20) + dir - 10) for Int(Rnd x 10) + dist, drawn in that order.
    for (uint32_t seed = 1; seed <= 20; seed++) {
        Randomize(seed);
        const Single r1 = Rnd(), r2 = Rnd();
        BattleReset(seed);
        PlaceUnit(0, 100, 100);
        Unit& c = PlaceUnit(1, 130, 100);
        c.BulletRange = 20;
        UpdateUnits();
        EXPECT_EQ(c.WalkDir, Int(r1 * 20) + 170) << seed;
        EXPECT_EQ(c.WalkLeft, Int(r2 * 10) + 30) << seed;
    }

    // At exactly its range it neither chases nor fires.
    BattleReset();
    PlaceUnit(0, 100, 100);
    Unit& e = PlaceUnit(1, 120, 100);
    e.BulletRange = 20;
    UpdateUnits();
    EXPECT_EQ(FlyingBulletsOf(1), 0);
    EXPECT_EQ(e.WalkLeft, 0);
}

TEST(Opponent, WoundedFleesAndStillFires) {
    TempGameDir dir;
    LoadProbeSounds({1});
    BattleReset();
    PlaceUnit(0, 100, 100);
    Unit& o = PlaceUnit(1, 120, 100);
    o.Health = 8;  // below 3 x BulletSpeed
    o.Ammo = 10;
    UpdateUnits();
    EXPECT_EQ(o.WalkLeft, 50);
    // Away from the player (who is to the left), within +-90 degrees.
    EXPECT_GE(std::cos(o.WalkDir * DegToRad), -1e-6);
    EXPECT_EQ(FlyingBulletsOf(1), 1);
    EXPECT_EQ(o.Ammo, 9);
    EXPECT_EQ(o.FireCooldown, 15);
    EXPECT_TRUE(Playing(1));
    FreeSounds();
    UpdateUnits();
    EXPECT_EQ(FlyingBulletsOf(1), 1);  // cooling down

    // Over many frames the flight covers the half turn away, 90 .. 269 degrees
    // from the direction of the player, and nothing beyond it.
    int low = 360, high = 0;
    for (int n = 0; n < 1500; n++) {
        Unit& f = PlaceUnit(1, 120, 100);
        f.Health = 8;
        f.FireCooldown = 5;
        UpdateUnits();
        const int away = (f.WalkDir - f.Facing + 720) % 360;
        low = std::min(low, away);
        high = std::max(high, away);
    }
    EXPECT_EQ(low, 90);
    EXPECT_EQ(high, 269);

    // At exactly three times its level it is not wounded, and wounded but
    // exactly at its range (60) away it does not flee either: it stands and fights.
    for (auto [x, health] : {std::pair{120.0f, 9.0f}, std::pair{160.0f, 8.0f}}) {
        BattleReset();
        PlaceUnit(0, 100, 100);
        Unit& s = PlaceUnit(1, x, 100);
        s.Health = health;
        UpdateUnits();
        EXPECT_EQ(s.WalkLeft, 0) << x;
    }
}

TEST(Opponent, DoubleShotAboveTheCrateLimit) {
    BattleReset();
    PlaceUnit(0, 100, 100);
    Unit& o = PlaceUnit(1, 140, 100);
    o.Ammo = 15;  // limit (16 - 15) x 15 - 1 = 14
    UpdateUnits();
    EXPECT_EQ(FlyingBulletsOf(1), 2);
    EXPECT_EQ(o.Ammo, 13);
    o.FireCooldown = 0;
    UpdateUnits();
    EXPECT_EQ(FlyingBulletsOf(1), 3);
    EXPECT_EQ(o.Ammo, 12);

    // At the limit itself a single shot.
    BattleReset();
    PlaceUnit(0, 100, 100);
    PlaceUnit(1, 140, 100).Ammo = 14;
    UpdateUnits();
    EXPECT_EQ(FlyingBulletsOf(1), 1);
    EXPECT_EQ(Units[1].Ammo, 13);
}

TEST(UnitsPass, KeepsInTheFieldOnlyWhatIsOutside) {
    BattleReset();  // no player: nothing but the push moves a unit
    const std::pair<float, float> cases[][2] = {
        {{-0.5f, -0.5f}, {1.5f, 1.5f}},     {{0.5f, 0.5f}, {0.5f, 0.5f}},      {{0, 0}, {0, 0}},
        {{290, 290}, {290, 290}},           {{290.5f, 290.5f}, {288.5f, 288.5f}},
        {{-0.5f, 290.5f}, {1.5f, 288.5f}},  {{290.5f, -0.5f}, {288.5f, 1.5f}}};
    for (auto& [from, to] : cases) {
        Unit& u = PlaceUnit(1, from.first, from.second);
        UpdateUnits();
        EXPECT_FLOAT_EQ(u.X, to.first) << from.first << ", " << from.second;
        EXPECT_FLOAT_EQ(u.Y, to.second) << from.first << ", " << from.second;
    }
}

TEST(Opponent, EntersFromOutsideWithoutFiring) {
    BattleReset();
    PlaceUnit(0, 130, 150);
    Unit& o = PlaceUnit(1, 130, -20);  // a wave's entry point
    o.BulletRange = 400;
    UpdateUnits();
    EXPECT_FLOAT_EQ(o.Y, -18);  // pushed in by 2, no order to walk yet
    EXPECT_EQ(o.WalkLeft, 10);  // the edge rule turns it to the player
    EXPECT_EQ(o.WalkDir, 90);
    // Pushed 2 and walking 1 a frame, it fires first standing on y 0, in frame 7.
    int fired = 0;
    for (int f = 2; f < 20 && !fired; f++) {
        UpdateUnits();
        if (FlyingBulletsOf(1) > 0) {
            fired = f;
            EXPECT_EQ(o.Y, 0);
        }
    }
    EXPECT_EQ(fired, 7);
    // Nor from beyond the left edge.
    BattleReset();
    PlaceUnit(0, 20, 150);
    PlaceUnit(1, -20, 150).BulletRange = 400;
    UpdateUnits();
    EXPECT_EQ(FlyingBulletsOf(1), 0);
    // Half a pixel in is in (the player straight below: it walks along the edge).
    BattleReset();
    PlaceUnit(0, 0.5f, 150);
    PlaceUnit(1, 0.5f, 100).BulletRange = 400;
    UpdateUnits();
    EXPECT_EQ(FlyingBulletsOf(1), 2);  // 20 bullets: a double shot
    // And y 300 itself, where the push back in leaves one that entered from below.
    BattleReset();
    PlaceUnit(0, 100, 250);
    PlaceUnit(1, 100, 302).BulletRange = 400;
    UpdateUnits();
    EXPECT_EQ(Units[1].Y, 300);
    EXPECT_EQ(FlyingBulletsOf(1), 2);
}

TEST(Melee, CostsPerFrameAndTheAmmunitionHandOver) {
    BattleReset();
    Unit& p = PlaceUnit(0, 100, 100);
    p.Ammo = 5;
    Unit& o = PlaceUnit(1, 105, 100);
    o.Health = 50;
    o.Ammo = 10;
    const int drops = BloodInFlight();
    UpdateUnits();
    EXPECT_EQ(BloodInFlight(), drops + 5);
    EXPECT_NEAR(o.Health, 49.7, 1e-4);
    EXPECT_NEAR(p.Health, 99.9, 1e-4);
    EXPECT_EQ(p.Ammo, 15);
    EXPECT_EQ(o.Ammo, 0);
    EXPECT_EQ(p.MeleeXP, 1);
    UpdateUnits();
    EXPECT_NEAR(o.Health, 49.4, 1e-4);
    EXPECT_NEAR(p.Health, 99.8, 1e-4);

    // The loot fills only up to (16 - Recharge) x 30.
    BattleReset();
    PlaceUnit(0, 100, 100).Ammo = 25;
    PlaceUnit(1, 105, 100).Ammo = 10;
    UpdateUnits();
    EXPECT_EQ(Units[0].Ammo, 30);

    // An opponent killed in the fight is heard where it stood.
    {
        TempGameDir dir;
        LoadProbeSounds({6});
        BattleReset();
        PlaceUnit(0, 100, 100);
        PlaceUnit(1, 105, 100).Health = 1.2f;
        UpdateUnits();
        EXPECT_EQ(Units[1].Active, 0);
        EXPECT_TRUE(Playing(6));
        // At x 105 less the separation push of 10 / 8.
        EXPECT_EQ(MixerGetPan(SoundBuffer(6)), Whole((105 - 1.25) * 10 / 3 * 20 / 7 - 1000));
        FreeSounds();
    }
    // The opponent bleeds where the push left it, any way around.
    for (int seed = 1; seed <= 4; seed++) {
        const auto fight = BloodStains([seed] {
            BattleReset();
            PlaceUnit(0, 100, 100);
            PlaceUnit(1, 105, 100);
            Randomize(seed);
            UpdateUnits();
        });
        EXPECT_TRUE(fight == BloodStains([seed] {
            Randomize(seed);
            SpawnBlood(105 - 1.25, 100, 5, Int(Rnd() * 360), 3);
        })) << seed;
    }
    // A player worn down below 1 in the fight dies of it in that frame.
    BattleReset();
    PlaceUnit(0, 100, 100).Health = 1.05f;
    PlaceUnit(1, 105, 100);
    UpdateUnits();
    EXPECT_EQ(Units[0].Active, 0);
}

TEST(UnitsCrates, CrateFillsToTheLimitAndKeepsTheRest) {
    BattleReset();
    Field.TextColour = RGB(255, 255, 255);
    Unit& p = PlaceUnit(0, 100, 100);
    p.Ammo = 0;
    CrateActive[2] = -1;
    CrateX[2] = 106;  // centre of the unit on the crate's point (x + 4, y + 3)
    CrateY[2] = 107;
    CrateBullets[2] = 50;
    UpdateUnits();
    EXPECT_EQ(p.Ammo, 15);
    EXPECT_EQ(CrateBullets[2], 35);
    EXPECT_EQ(CrateActive[2], -1);
    // The count left shows in small print over the player's feet.
    if (TextWidth(Field, "35") > 0) {
        EXPECT_TRUE(DrawnAs(Field, "35", 106, 117, 7, false, RGB(255, 255, 255)));
    }
    EXPECT_EQ(Field.FontSize, 8);
    Field.TextColour = 0;
    UpdateUnits();
    EXPECT_EQ(p.Ammo, 15);
    EXPECT_EQ(CrateBullets[2], 35);
    // A single bullet left shows as well.
    CreateSurface(Field, 300, 300);
    Field.TextColour = RGB(255, 255, 255);
    p.Ammo = 14;
    CrateBullets[2] = 2;
    UpdateUnits();
    EXPECT_EQ(CrateBullets[2], 1);
    if (TextWidth(Field, "1") > 0) {
        EXPECT_TRUE(DrawnAs(Field, "1", 106, 117, 7, false, RGB(255, 255, 255)));
    }
    Field.TextColour = 0;

    // A crate with less than the room left is emptied and gone, heard where
    // it is taken.
    TempGameDir dir;
    LoadProbeSounds({5});
    p.Ammo = 0;
    CrateBullets[2] = 10;
    UpdateUnits();
    EXPECT_EQ(p.Ammo, 10);
    EXPECT_EQ(CrateActive[2], 0);
    EXPECT_EQ(MixerGetPan(SoundBuffer(5)), Whole(100 * 10.0 / 3 * 20 / 7 - 1000));
    FreeSounds();
}

TEST(Separation, PushesApartUntilTheFrameRateDrops) {
    BattleReset();
    Units[0].Speed = 10;  // the push is the player's speed / 8, alive or not
    Unit& a = PlaceUnit(1, 50, 50);
    Unit& b = PlaceUnit(2, 55, 50);
    UpdateUnits();
    EXPECT_FLOAT_EQ(a.X, 48.75f);
    EXPECT_FLOAT_EQ(b.X, 53.75f);
    Fps = 29;  // still enough
    UpdateUnits();
    EXPECT_FLOAT_EQ(a.X, 47.5f);
    Fps = 28;
    UpdateUnits();
    EXPECT_EQ(SeparationOff, -1);
    EXPECT_FLOAT_EQ(a.X, 47.5f);
    Fps = 33;  // latched for the rest of the game
    UpdateUnits();
    EXPECT_FLOAT_EQ(a.X, 47.5f);
}

TEST(UnitsPass, FootprintsOnlyWithTheOption) {
    for (Integer opt : {Integer(0), Integer(8)}) {
        BattleReset();
        OptFootSteps = opt;
        CreateSurface(Foot, 2, 2, RGB(1, 2, 3));
        Unit& u = PlaceUnit(1, 50, 50);
        u.WalkLeft = 100;
        for (int f = 0; f < 25; f++) UpdateUnits();
        int marks = 0;
        for (int y = 0; y < 300; y++)
            for (int x = 0; x < 300; x++)
                if (GetPixel(Terain, x, y) == static_cast<int32_t>(RGB(1, 2, 3))) marks++;
        if (opt == 0) EXPECT_GE(marks, 4);  // two prints of 2 x 2, maybe touching
        else EXPECT_EQ(marks, 0);
    }
    // A print lands 4 .. 13 pixels right of and below the unit's corner.
    BattleReset();
    int lowX = 300, highX = 0, lowY = 300, highY = 0;
    for (int n = 0; n < 150; n++) {
        Unit& u = PlaceUnit(1, 50, 60);
        StepCount[1] = 10;
        LastStepMark[1] = -100;
        CreateSurface(Terain, 300, 300);
        UpdateUnits();
        for (int y = 0; y < 300; y++)
            for (int x = 0; x < 300; x++)
                if (GetPixel(Terain, x, y) == static_cast<int32_t>(RGB(1, 2, 3))) {
                    lowX = std::min(lowX, x), highX = std::max(highX, x);
                    lowY = std::min(lowY, y), highY = std::max(highY, y);
                }
        ASSERT_EQ(u.X, 50);
    }
    EXPECT_EQ(std::tuple(lowX, highX, lowY, highY), std::tuple(54, 64, 64, 74));
    // A walking unit leaves a print every tenth frame.
    BattleReset();
    OptFootSteps = 0;
    Unit& w = PlaceUnit(1, 50, 50);
    w.WalkLeft = 100;
    std::vector<int> printed;
    for (int f = 1; f <= 25; f++) {
        UpdateUnits();
        if (StepCount[1] == 0) printed.push_back(f);
    }
    EXPECT_EQ(printed, (std::vector<int>{10, 20}));
    // Standing, or moved so little that the mark (2 x X + Y \ 2) changes by 2
    // or less, it leaves none; a change of 3 either way does.
    w.WalkLeft = 0;
    while (StepCount[1] != 0) UpdateUnits();  // the print of its last steps
    for (int f = 0; f < 10; f++) UpdateUnits();
    printed.clear();
    auto moved = [&w](float dx, float dy) {
        w.X += dx;
        w.Y += dy;
        UpdateUnits();
        return StepCount[1] == 0 ? 1 : 0;
    };
    for (auto [dx, dy] : {std::pair(0, 0), std::pair(0, 0), std::pair(1, 0), std::pair(-2, 0), std::pair(1, 0),
                          std::pair(1, 2)})
        printed.push_back(moved(static_cast<float>(dx), static_cast<float>(dy)));
    for (int f = 0; f < 10; f++) UpdateUnits();  // standing: the count runs up again
    printed.push_back(moved(-1, -2));
    for (int f = 0; f < 10; f++) UpdateUnits();
    printed.push_back(moved(0, 6));  // straight down: Y \ 2 grows by 3
    EXPECT_EQ(printed, (std::vector<int>{0, 0, 0, 0, 0, 1, 1, 1}));
    FreeSurface(Foot);
}

TEST(UnitsPass, SheetChosenBySpriteName) {
    BattleReset();
    CreateSurface(Player, 21, 42, RGB(0, 0, 200));
    CreateSurface(AiLVL3, 21, 42, RGB(0, 200, 0));
    for (Surface* s : {&Player, &AiLVL3})
        for (int y = 21; y < 42; y++)
            for (int x = 0; x < 21; x++) SetPixel(*s, x, y, 0);
    PlaceUnit(1, 20, 20).SpriteName = "AiLVL3";
    PlaceUnit(2, 100, 20).SpriteName = "AiLVL6";  // bullet speed 15: no such sheet
    PlaceUnit(3, 180, 20).SpriteName = "";
    UpdateUnits();
    EXPECT_EQ(GetPixel(Field, 30, 30), static_cast<int32_t>(RGB(0, 200, 0)));
    EXPECT_EQ(GetPixel(Field, 110, 30), static_cast<int32_t>(RGB(0, 0, 200)));
    EXPECT_EQ(GetPixel(Field, 190, 30), static_cast<int32_t>(RGB(0, 0, 200)));
    EXPECT_EQ(AliveCount, 3);
    FreeSurface(Player);
    FreeSurface(AiLVL3);
}

// Units far beyond what an int holds are drawn by the same pass without
// touching the field (the sanitizer build checks the arithmetic).
TEST(Opponent, FarOffUnitsDrawNothing) {
    BattleReset();
    CreateSurface(Player, 72 * 21, 42, RGB(255, 255, 255));
    CreateSurface(AiLVL0, 72 * 21, 42, RGB(255, 255, 255));
    PlaceUnit(0, -3e9f, 150).SpriteName = "Player";
    PlaceUnit(1, 3e9f, -3e9f).SpriteName = "AiLVL0";
    PlaceUnit(2, -2.2e9f, 3e9f).SpriteName = "AiLVL0";
    const Surface before = Field;
    UpdateUnits();
    EXPECT_EQ(Field.Pixels, before.Pixels);
}

TEST(UnitsPass, PacksHealByThePlayersLevelAndDrawWoundedOrUnarmedOpponents) {
    // A pack heals 25 + Whole(Rnd x P x 30) \ 4, P the player's BulletSpeed.
    int most = 0;
    for (int n = 0; n < 40; n++) {
        Randomize(static_cast<uint32_t>(n + 1));
        const Single r = Rnd();  // the frame's first draw
        BattleReset(static_cast<uint32_t>(n + 1));
        PlaceUnit(0, 10, 250).BulletSpeed = 10;
        Unit& o = PlaceUnit(1, 100, 100);
        o.Health = 5;
        o.BulletRange = 20;
        HealthPackActive[0] = -1;
        HealthPackX[0] = 105;  // its point (108, 108) is 3 from the centre
        HealthPackY[0] = 105;
        UpdateUnits();
        ASSERT_EQ(HealthPackActive[0], 0);
        const int gain = static_cast<int>(o.Health) - 5;
        EXPECT_GE(gain, 25);
        EXPECT_LE(gain, 25 + 75);
        EXPECT_EQ(gain, 25 + IDiv(Whole(r * 10 * 30), 4));
        most = std::max(most, gain);
    }
    EXPECT_GT(most, 25 + 23);  // beyond what the opponent's own level 3 gives
    {
        TempGameDir dir;
        LoadProbeSounds({4});
        BattleReset();
        PlaceUnit(1, 100, 100).Health = 5;
        HealthPackActive[9] = -1;  // the last slot counts too
        HealthPackX[9] = HealthPackY[9] = 105;
        UpdateUnits();
        EXPECT_EQ(HealthPackActive[9], 0);
        EXPECT_EQ(MixerGetPan(SoundBuffer(4)), Whole(100 * 10.0 / 3 * 20 / 7 - 1000));  // heard where it is taken
        FreeSounds();
    }
    // A unit at its full health (BulletSpeed x 30) leaves the pack.
    BattleReset();
    PlaceUnit(1, 100, 100).Health = 89.6f;  // rounds to 90
    HealthPackActive[0] = -1;
    HealthPackX[0] = HealthPackY[0] = 105;
    UpdateUnits();
    EXPECT_EQ(HealthPackActive[0], -1);
    // Out of reach at 10; and the player is never steered to a pick-up.
    BattleReset();
    Unit& me = PlaceUnit(0, 100, 100);
    me.Health = 5;
    me.Ammo = 0;
    HealthPackActive[0] = -1, HealthPackX[0] = 117, HealthPackY[0] = 107;  // point (120, 110)
    CrateActive[0] = -1, CrateX[0] = 56, CrateY[0] = 107, CrateBullets[0] = 5;  // point (60, 110)
    UpdateUnits();
    EXPECT_EQ(HealthPackActive[0], -1);
    EXPECT_EQ(me.WalkLeft, 0);

    // A pack 50 below; the player far out of range.
    auto walkAfterPass = [](float health, int ammo, bool crate) {
        BattleReset();
        PlaceUnit(0, 10, 250).BulletSpeed = 10;
        Unit& o = PlaceUnit(1, 100, 100);
        o.Health = health;
        o.Ammo = static_cast<Integer>(ammo);
        o.BulletRange = 20;
        if (crate) {
            CrateActive[9] = -1, CrateX[9] = 106, CrateY[9] = 47, CrateBullets[9] = 5;  // point (110, 50)
        } else {
            HealthPackActive[0] = -1, HealthPackX[0] = 107, HealthPackY[0] = 157;  // point (110, 160)
        }
        UpdateUnits();
        return std::pair<int, float>(o.WalkDir, o.WalkLeft);
    };
    // Wounded is below 3 x the player's BulletSpeed (30), not the opponent's own (9).
    EXPECT_EQ(walkAfterPass(29, 10, false), (std::pair<int, float>(90, 50)));
    EXPECT_NE(walkAfterPass(30, 10, false).second, 50);
    // Short of bullets is below 8.
    EXPECT_EQ(walkAfterPass(100, 7, true), (std::pair<int, float>(270, 60)));
    EXPECT_NE(walkAfterPass(100, 8, true), (std::pair<int, float>(270, 60)));
}

TEST(Opponent, OutOfAmmunitionItChargesTheWalkingOrderAtThePlayer) {
    for (int ammo : {0, 1}) {
        BattleReset();
        PlaceUnit(0, 160, 100);
        Unit& o = PlaceUnit(1, 100, 100);
        o.BulletRange = 20;
        o.Ammo = static_cast<Integer>(ammo);
        o.WalkDir = 180;  // a step away: the player 61 to the right
        o.WalkLeft = 5;
        UpdateUnits();
        if (ammo == 0) {
            EXPECT_EQ(o.WalkDir, 0);
            EXPECT_EQ(o.WalkLeft, 61);
        } else {
            EXPECT_EQ(o.WalkDir, 180);  // the order it had
            EXPECT_EQ(o.WalkLeft, 4);
        }
    }
    // Without a walk order and with the player in range it stands its ground.
    BattleReset();
    PlaceUnit(0, 160, 100);
    Unit& o = PlaceUnit(1, 100, 100);
    o.BulletRange = 100;
    o.Ammo = 0;
    o.WalkDir = 180;
    UpdateUnits();
    EXPECT_EQ(o.WalkDir, 180);
    EXPECT_EQ(o.WalkLeft, 0);
}

TEST(UnitsPass, WalkingDirectionsWrapIntoOneTurn) {
    BattleReset();  // no player: nothing else turns the unit
    for (auto [from, to] : {std::pair(365, 5), std::pair(361, 1), std::pair(360, 360), std::pair(-5, 355), std::pair(0, 0)}) {
        Unit& u = PlaceUnit(1, 100, 100);
        u.WalkDir = static_cast<Integer>(from);
        UpdateUnits();
        EXPECT_EQ(u.WalkDir, to) << from;
    }
}

TEST(UnitsPass, TheCleanerHurtsUnitsAndSheepItTouches) {
    BattleReset();
    Unit& p = PlaceUnit(0, 100, 100);
    p.Health = 50;
    Sheeps[0].Active = -1;
    Sheeps[0].X = 129;
    Sheeps[0].Y = 129;
    Sheeps[0].Health = 50;
    BugerActive = -1;
    BugerX = 112;  // its point (129, 100): 29 from both
    BugerY = 68;
    const int drops = BloodInFlight();
    TempGameDir dir;
    LoadProbeSounds({3});
    UpdateUnits();
    EXPECT_EQ(MixerGetPan(SoundBuffer(3)), 229);  // the sheep's, last: position 430
    EXPECT_FLOAT_EQ(p.Y, 102);
    EXPECT_FLOAT_EQ(p.Health, 48);
    EXPECT_FLOAT_EQ(Sheeps[0].Y, 131);
    EXPECT_EQ(Sheeps[0].Health, 46);
    EXPECT_EQ(BloodInFlight(), drops + 10);  // five drops each
    // Out of reach at 30.
    BugerX = 113;
    BugerY = 70;  // (130, 102): 30 from the player at (100, 102)
    p.Y = 102;
    Sheeps[0].X = 160;
    Sheeps[0].Y = 102;  // 30 from the point too
    UpdateUnits();
    EXPECT_FLOAT_EQ(p.Health, 48);
    EXPECT_EQ(Sheeps[0].Health, 46);
    // A unit at one health point dies of it, and is heard where it stands.
    p.Health = 1;
    BugerX = 112;
    MixerSetPan(SoundBuffer(3), -555);
    UpdateUnits();
    EXPECT_EQ(p.Active, 0);
    EXPECT_EQ(MixerGetPan(SoundBuffer(3)), -48);  // position 333.3
    FreeSounds();
    // The unit bleeds from its middle, where it was pushed to.
    const auto touched = BloodStains([&p] {
        p = PlaceUnit(0, 100, 100);
        BugerY = 68;
        Randomize(5);
        UpdateUnits();
    });
    EXPECT_TRUE(touched == BloodStains([] {
        Randomize(5);
        SpawnBlood(110, 122, 5, Int(Rnd() * 180), 4);
    }));
    // And a sheep from its own middle, the player far away, any way downwards.
    for (int seed = 1; seed <= 4; seed++) {
        const auto sheep = BloodStains([&p, seed] {
            p = PlaceUnit(0, 10, 250);
            Sheeps[0].Y = 129;
            Sheeps[0].X = 129;
            Randomize(seed);
            UpdateUnits();
        });
        EXPECT_TRUE(sheep == BloodStains([seed] {
            Randomize(seed);
            SpawnBlood(140, 151, 5, Int(Rnd() * 180), 4);
        })) << seed;
    }
}

TEST(UnitsPass, SpritesShowTheFieldThroughTheHolesOfTheirMask) {
    BattleReset();
    CreateSurface(Field, 300, 300, RGB(10, 20, 30));
    // Three headings wide; in the cell of heading 10..14 every other pixel is a hole.
    CreateSurface(Player, 63, 42, RGB(255, 255, 255));
    for (int y = 0; y < 21; y++)
        for (int x = 42; x < 63; x++) {
            const bool hole = (x + y) % 2 == 0;
            SetPixel(Player, x, y, hole ? 0 : RGB(200, 0, 0));
            SetPixel(Player, x, 21 + y, hole ? RGB(255, 255, 255) : 0);
        }
    Unit& p = PlaceUnit(0, 50, 50);
    p.Facing = 12;
    UpdateUnits();
    EXPECT_EQ(GetPixel(Field, 60, 60), static_cast<int32_t>(RGB(10, 20, 30)));  // a hole
    EXPECT_EQ(GetPixel(Field, 61, 60), static_cast<int32_t>(RGB(200, 0, 0)));
    EXPECT_EQ(GetPixel(Field, 70, 69), static_cast<int32_t>(RGB(200, 0, 0)));
    EXPECT_EQ(GetPixel(Field, 71, 71), static_cast<int32_t>(RGB(10, 20, 30)));  // beside the cell
    FreeSurface(Player);
}

TEST(Opponent, TheEdgeLinesThemselvesAreInside) {
    // The unit, the player 20 away inside, and whether the edge rule turned it in.
    const std::tuple<float, float, float, float, bool> cases[] = {
        {4, 100, 24, 100, false},   {290, 100, 270, 100, false}, {100, 4, 100, 24, false},
        {100, 290, 100, 270, false}, {3, 100, 23, 100, true},     {100, 3, 100, 23, true},
        // Pushed back 2 first: still beyond 290 after it.
        {292.5f, 100, 272.5f, 100, true}, {100, 292.5f, 100, 272.5f, true}};
    for (auto [x, y, px, py, turned] : cases) {
        BattleReset();
        PlaceUnit(0, px, py);
        Unit& o = PlaceUnit(1, x, y);
        UpdateUnits();
        EXPECT_EQ(o.WalkLeft, turned ? 10 : 0) << x << ", " << y;
    }
}
