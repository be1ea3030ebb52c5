// The player's actions: walk and bomb orders, fire modes, firing, walking;
// and the bullet every unit fires.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "graphics/WorkWithMemory.h"
#include "input/DirectInputMod.h"
#include "input/PlayerControl.h"
#include "opponents/AirPlane.h"
#include "platform/Window.h"
#include "shell/GameState.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"

namespace {
class PlayerControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGameState();
        TestReleaseAllKeys();
        Randomize(7);
        CreateSurface(Field, 300, 300, RGB(0, 0, 0));
        NearestOpponentDistance = 1000;
        Unit& p = Units[0];
        p.Active = -1;
        p.X = 140;
        p.Y = 140;
        p.Facing = 270;
        p.Ammo = 20;
        p.Speed = 10;
        p.Spread = 30;
        p.BulletSpeed = 3;
        p.BulletRange = 60;
        p.Recharge = 15;
        FireMode = 1;
    }
    void TearDown() override { TestReleaseAllKeys(); }
    static int Flying() {
        int n = 0;
        for (int i = 1; i <= MaxBullet; i++) n += Bullets[i].Life > 0;
        return n;
    }
};
}  // namespace

TEST_F(PlayerControlTest, FireModeStepsOncePerRelease) {
    for (int want : {2, 3, 1, 2}) {
        FireModeKeyReleased = -1;
        PlayerControl();
        EXPECT_EQ(FireMode, want);
        EXPECT_EQ(FireModeKeyReleased, 0);
    }
    PlayerControl();  // no release, no step
    EXPECT_EQ(FireMode, 2);
}

TEST_F(PlayerControlTest, ShotsPerModeAndAmmunitionBelowZero) {
    MouseLeft = -1;
    PlayerControl();
    EXPECT_EQ(Flying(), 1);
    EXPECT_EQ(Units[0].Ammo, 19);
    EXPECT_EQ(Units[0].FireCooldown, 15);

    // Cooldown not over (down to its last frame): nothing.
    PlayerControl();
    Units[0].FireCooldown = 1;
    PlayerControl();
    EXPECT_EQ(Flying(), 1);

    Units[0].FireCooldown = 0;
    FireMode = 2;
    PlayerControl();
    EXPECT_EQ(Flying(), 3);
    EXPECT_EQ(Units[0].Ammo, 17);

    // Mode 3 with one bullet left fires three and leaves -2; then firing stops.
    Units[0].FireCooldown = 0;
    Units[0].Ammo = 1;
    FireMode = 3;
    PlayerControl();
    EXPECT_EQ(Flying(), 6);
    EXPECT_EQ(Units[0].Ammo, -2);
    Units[0].FireCooldown = 0;
    PlayerControl();
    EXPECT_EQ(Flying(), 6);
    EXPECT_EQ(Units[0].Ammo, -2);

    Units[0].Ammo = 0;
    PlayerControl();
    EXPECT_EQ(Flying(), 6);
    EXPECT_EQ(Units[0].Ammo, 0);

    // Without the button nothing is fired.
    Units[0].Ammo = 5;
    MouseLeft = 0;
    PlayerControl();
    EXPECT_EQ(Units[0].Ammo, 5);
}

TEST_F(PlayerControlTest, FullBulletTableSpendsAmmunitionButMakesNoBullet) {
    TempGameDir dir;
    LoadProbeSounds({1});
    MusicVolume = 100;
    for (int i = 1; i <= MaxBullet; i++) {
        Bullets[i].Life = 5;
        Bullets[i].Owner = 7;
    }
    MouseLeft = -1;
    PlayerControl();
    EXPECT_EQ(Units[0].Ammo, 19);
    EXPECT_EQ(Units[0].FireCooldown, 15);
    for (int i = 1; i <= MaxBullet; i++) {
        ASSERT_EQ(Bullets[i].Owner, 7);
        ASSERT_EQ(Bullets[i].Life, 5);
    }
    EXPECT_EQ(Bullets[0].Life, 0);  // slot 0 is never used
    Bullets[MaxBullet].Life = 0;    // the last slot is free again
    Units[0].FireCooldown = 0;
    PlayerControl();
    EXPECT_EQ(Bullets[MaxBullet].Owner, 0);
    EXPECT_GT(Bullets[MaxBullet].Life, 0);
    EXPECT_TRUE(Playing(1));        // the shot is heard all the same
    EXPECT_EQ(MixerGetPan(SoundBuffer(1)), 333);  // at X 140: position 466.7
    FreeSounds();
}

TEST_F(PlayerControlTest, MuzzleSparksFallWithinFivePixelsOfTheMuzzleAThirdOfTheShotsEach) {
    Unit& p = Units[0];
    p.Facing = 0;
    p.Spread = 0;  // every bullet starts at (153, 150)
    int seen[2] = {0, 0}, box[2][4] = {{300, 0, 300, 0}, {300, 0, 300, 0}};
    for (int n = 0; n < 1200; n++) {
        Bullets[1] = Bullet{};
        FireBullet(0);
        for (int y = 128; y < 178; y++)
            for (int x = 128; x < 178; x++) {
                const int32_t c = GetPixel(Field, x, y);
                if (c == 0) continue;
                SetPixel(Field, x, y, 0);
                const int k = c == static_cast<int32_t>(RGB(255, 255, 0)) ? 0 : 1;
                EXPECT_EQ(c, static_cast<int32_t>(k == 0 ? RGB(255, 255, 0) : RGB(192, 192, 0)));
                seen[k]++;
                int* b = box[k];
                b[0] = std::min(b[0], x), b[1] = std::max(b[1], x), b[2] = std::min(b[2], y), b[3] = std::max(b[3], y);
            }
    }
    for (int k : {0, 1}) {
        EXPECT_TRUE(seen[k] > 340 && seen[k] < 460) << k << ": " << seen[k];  // 400 expected
        EXPECT_EQ(std::vector<int>(box[k], box[k] + 4), std::vector<int>({148, 158, 145, 155})) << k;
    }
}

TEST_F(PlayerControlTest, RightClickCancelsTheWalkOrderEvenWithoutABomb) {
    Units[0].WalkLeft = 50;
    Units[0].Ammo = 14;
    MouseRight = -1;
    PlayerControl();
    EXPECT_EQ(Units[0].WalkLeft, 0);
    EXPECT_EQ(MouseRight, 0);
    EXPECT_EQ(Units[0].Ammo, 14);
    EXPECT_EQ(AirPlaneActive, 0);

    // Fifteen bullets buy a bomb.
    for (int waiting : {0, 1}) {
        Units[0].Ammo = 15;
        MouseRight = -1;
        PlayerControl();
        EXPECT_EQ(Units[0].Ammo, 0);
        EXPECT_EQ(BombRunsWaiting(), waiting);  // the second waits for the first
    }
    ResetAirPlane();
}

TEST_F(PlayerControlTest, WalkOrderToTheCursorWithItsMarker) {
    CreateSurface(WalkHere, 20, 40, RGB(0, 0, 0));
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 20; x++) SetPixel(WalkHere, x, y, RGB(0, 255, 0));  // image; the mask below is black
    CreateSurface(Field, 300, 300, RGB(90, 90, 90));
    MouseMiddle = -1;
    CursorX = 150;
    CursorY = 250;
    PlayerControl();
    EXPECT_EQ(Units[0].WalkDir, 90);
    EXPECT_EQ(Units[0].WalkLeft, 100);
    EXPECT_EQ(Units[0].WalkToX, 150);
    EXPECT_EQ(Units[0].WalkToY, 250);
    // The marker is centred on the target.
    EXPECT_EQ(GetPixel(Field, 140, 240), static_cast<int32_t>(RGB(0, 255, 0)));
    EXPECT_EQ(GetPixel(Field, 159, 259), static_cast<int32_t>(RGB(0, 255, 0)));
    EXPECT_EQ(GetPixel(Field, 160, 250), static_cast<int32_t>(RGB(90, 90, 90)));
    // Shown to the last pixel of the walk, gone when it is over.
    MouseMiddle = 0;
    for (int left : {1, 0}) {
        CreateSurface(Field, 300, 300, RGB(90, 90, 90));
        Units[0].WalkLeft = static_cast<Integer>(left);
        PlayerControl();
        EXPECT_EQ(GetPixel(Field, 150, 250), static_cast<int32_t>(left ? RGB(0, 255, 0) : RGB(90, 90, 90))) << left;
    }
    Units[0].WalkLeft = 100;

    // Button up: the order stays; a movement key ends it.
    MouseMiddle = 0;
    TestSetKey(DIK_D, true);
    ReadKeyboard();
    PlayerControl();
    EXPECT_EQ(Units[0].WalkLeft, 0);
}

TEST_F(PlayerControlTest, StaticMovementAlongTheScreenAxes) {
    Units[0].Speed = 20;  // 2 pixels per frame
    TestSetKey(DIK_A, true);
    TestSetKey(DIK_UP, true);
    ReadKeyboard();
    PlayerControl();
    EXPECT_FLOAT_EQ(Units[0].X, 138);
    EXPECT_FLOAT_EQ(Units[0].Y, 138);
    // Opposite keys cancel out.
    TestSetKey(DIK_RIGHT, true);
    TestSetKey(DIK_S, true);
    ReadKeyboard();
    PlayerControl();
    EXPECT_FLOAT_EQ(Units[0].X, 138);
    EXPECT_FLOAT_EQ(Units[0].Y, 138);
}

TEST_F(PlayerControlTest, RealMovementFollowsTheCursor) {
    OptRealMovement = 8;
    TestSetMouse(150, 20);  // straight above the player's centre
    UpdateCursor();
    EXPECT_EQ(Units[0].Facing, 270);
    TestSetKey(DIK_W, true);
    ReadKeyboard();
    PlayerControl();
    EXPECT_NEAR(Units[0].X, 140, 1e-4);
    EXPECT_NEAR(Units[0].Y, 139, 1e-4);

    // D steps to the right of the facing; with the cursor to the right that is down.
    TestReleaseAllKeys();
    TestSetMouse(290, 150);
    Units[0].X = 140;
    Units[0].Y = 140;
    UpdateCursor();
    TestSetKey(DIK_D, true);
    ReadKeyboard();
    PlayerControl();
    EXPECT_NEAR(Units[0].X, 140, 1e-4);
    EXPECT_NEAR(Units[0].Y, 141, 1e-4);
}

TEST_F(PlayerControlTest, NothingForADeadPlayer) {
    Units[0].Active = 0;
    MouseLeft = -1;
    MouseRight = -1;
    Units[0].Facing = 400;
    PlayerControl();
    EXPECT_EQ(Units[0].Ammo, 20);
    EXPECT_EQ(MouseRight, -1);
    EXPECT_EQ(Units[0].Facing, 400);
}

TEST_F(PlayerControlTest, SpreadRanges) {
    struct Case {
        int spread;
        double lo, hi;
    };
    for (Case c : {Case{30, 255, 285}, Case{7, 267, 274}}) {
        Unit& u = Units[3];
        u = Unit{};
        u.Active = -1;
        u.Facing = 270;
        u.Spread = static_cast<Integer>(c.spread);
        u.BulletRange = 60;
        double lo = 1e9, hi = -1e9;
        for (int n = 0; n < 4000; n++) {
            for (auto& b : Bullets) b.Life = 0;
            FireBullet(3);
            lo = std::min<double>(lo, Bullets[1].Angle);
            hi = std::max<double>(hi, Bullets[1].Angle);
        }
        EXPECT_GE(lo, c.lo) << c.spread;
        EXPECT_LT(hi, c.hi) << c.spread;
        EXPECT_LT(lo, c.lo + 0.1) << c.spread;
        EXPECT_GT(hi, c.hi - 0.1) << c.spread;
    }
}

TEST_F(PlayerControlTest, BulletStartsAtTheMuzzleWithItsOwnersValues) {
    Unit& u = Units[5];
    u.Active = -1;
    u.X = 50;
    u.Y = 60;
    u.Facing = 0;
    u.Spread = 0;
    u.BulletSpeed = 4;
    u.BulletRange = 60;
    Bullets[1].Life = 1;  // taken (one pixel of travel left still flies): the next free slot is used
    int lifeLo = 1000, lifeHi = -1;
    for (int n = 0; n < 500; n++) {
        Bullets[2].Life = 0;
        FireBullet(5);
        lifeLo = std::min<int>(lifeLo, Bullets[2].Life);
        lifeHi = std::max<int>(lifeHi, Bullets[2].Life);
    }
    const Bullet& b = Bullets[2];
    EXPECT_EQ(b.Owner, 5);
    EXPECT_EQ(b.Speed, 4);
    EXPECT_FLOAT_EQ(b.Angle, 0);
    EXPECT_DOUBLE_EQ(b.BX, 63);
    EXPECT_DOUBLE_EQ(b.BY, 70);
    EXPECT_FLOAT_EQ(b.DX, 1);
    EXPECT_EQ(lifeLo, 60);
    EXPECT_EQ(lifeHi, 67);
    // Fired downwards: from 3 pixels below the middle, flying down.
    u.Facing = 90;
    Bullets[2].Life = 0;
    FireBullet(5);
    EXPECT_NEAR(b.BX, 60, 1e-9);
    EXPECT_DOUBLE_EQ(b.BY, 73);
    EXPECT_NEAR(b.DX, 0, 1e-6);
    EXPECT_FLOAT_EQ(b.DY, 1);
    u.Facing = 0;
    // The last opponent slot fires like any other.
    Units[50] = u;
    FireBullet(50);
    EXPECT_EQ(Bullets[3].Owner, 50);
    EXPECT_GT(Bullets[3].Life, 0);

    // The player's accuracy boost narrows any spread to 30 degrees.
    Units[0].Spread = 180;
    BoostTimers[0] = 1;  // its last frame
    double lo = 1e9, hi = -1e9;
    for (int n = 0; n < 2000; n++) {
        for (auto& bl : Bullets) bl.Life = 0;
        FireBullet(0);
        lo = std::min<double>(lo, Bullets[1].Angle);
        hi = std::max<double>(hi, Bullets[1].Angle);
    }
    EXPECT_GE(lo, 255);
    EXPECT_LT(hi, 285);
}

TEST_F(PlayerControlTest, FacingWrapsIntoTheCircle) {
    const std::pair<int, int> cases[] = {{360, 0}, {400, 40}, {359, 359}, {0, 0}, {-1, 359}, {-90, 270}};
    for (auto [given, kept] : cases) {
        Units[0].Facing = static_cast<Integer>(given);
        PlayerControl();
        EXPECT_EQ(Units[0].Facing, kept) << given;
    }
}

TEST_F(PlayerControlTest, RealMovementSidestepsAndBacksAwayFromTheFacing) {
    OptRealMovement = 8;
    // Facing right (0): A steps up (Facing - 90), S steps left (Facing - 180).
    const std::tuple<int, float, float> keys[] = {{DIK_A, 140, 139}, {DIK_LEFT, 140, 139}, {DIK_S, 139, 140},
                                                  {DIK_DOWN, 139, 140}, {DIK_RIGHT, 140, 141}, {DIK_UP, 141, 140}};
    for (auto [key, x, y] : keys) {
        Units[0].X = Units[0].Y = 140;
        Units[0].Facing = 0;
        Units[0].WalkLeft = 9;
        KeyState[key] = 0x80;
        PlayerControl();
        KeyState[key] = 0;
        EXPECT_NEAR(Units[0].X, x, 1e-4) << key;
        EXPECT_NEAR(Units[0].Y, y, 1e-4) << key;
        EXPECT_EQ(Units[0].WalkLeft, 0) << key;  // any key ends a walk order
    }
}

TEST_F(PlayerControlTest, AShotTrainsBulletSpeedOnlyWithAnOpponentCloserThan100) {
    MouseLeft = -1;
    for (int nearest : {100, 99, 20}) {
        Units[0].FireCooldown = 0;
        NearestOpponentDistance = static_cast<Integer>(nearest);
        PlayerControl();
        // The training turns the distance into closeness, 100 - distance.
        EXPECT_EQ(NearestOpponentDistance, nearest < 100 ? 100 - nearest : nearest) << nearest;
    }
    EXPECT_EQ(Units[0].SpeedXP, 4);  // (100 - 20) \ 20
}
