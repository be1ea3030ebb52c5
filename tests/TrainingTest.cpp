// The player's four skills: what one step gains, when a skill steps up, and
// where each stops.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "opponents/Training.h"
#include "support/SoundProbe.h"
#include "support/Battle.h"

namespace {
Unit& FreshPlayer() {
    BattleReset();
    return PlaceUnit(0, 140, 140);
}
}  // namespace

TEST(Training, RechargeGainsElevenPointsInTenSecondsOfStillFire) {
    Unit& p = FreshPlayer();
    MouseLeft = -1;
    for (int s = 0; s < 10; s++) TrainRecharge();
    EXPECT_EQ(p.RechargeXP, 11);
    EXPECT_EQ(StillFireSeconds, 10);
    // Releasing the button starts the count again.
    MouseLeft = 0;
    TrainRecharge();
    EXPECT_EQ(StillFireSeconds, 0);
    EXPECT_EQ(p.RechargeXP, 11);
    // Holding the button with no bullets left is no fire.
    MouseLeft = -1;
    p.Ammo = 0;
    for (int s = 0; s < 3; s++) TrainRecharge();
    EXPECT_EQ(StillFireSeconds, 0);
    p.Ammo = 20;
    // Walking while shooting trains nothing.
    MouseLeft = -1;
    KeyState[DIK_LEFT] = 0x80;
    for (int s = 0; s < 10; s++) TrainRecharge();
    EXPECT_EQ(p.RechargeXP, 11);
    EXPECT_EQ(StillFireSeconds, 0);
    // A step up starts both counts again: the next second adds nothing.
    KeyState[DIK_LEFT] = 0;
    p.RechargeXP = 99;
    StillFireSeconds = 4;
    TrainRecharge();
    TrainRecharge();
    EXPECT_EQ(p.Recharge, 14);
    EXPECT_EQ(p.RechargeXP, 0);
    EXPECT_EQ(StillFireSeconds, 1);
}

TEST(Training, AccuracyGainsByTheHitHistory) {
    Unit& p = FreshPlayer();
    std::vector<int> gains;
    int last = 0;
    for (int h = 1; h <= 15; h++) {
        TrainAccuracy(-1);
        gains.push_back(p.AccuracyXP - last);
        last = p.AccuracyXP;
    }
    EXPECT_EQ(gains, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(p.AccuracyXP, 99);
    TrainAccuracy(-1);  // the 16th reaches 108
    EXPECT_EQ(p.AccuracyXP, 0);
    EXPECT_EQ(p.Spread, 27);
    // A miss gains nothing and pushes a hit out of the history.
    TrainAccuracy(0);
    EXPECT_EQ(p.AccuracyXP, 0);
    EXPECT_EQ(HitsInHistory, 8);
}

TEST(Training, SpreadStepsDownToMinusThreeAndNoFurther) {
    Unit& p = FreshPlayer();
    for (int n = 0; n < 400; n++) TrainAccuracy(-1);
    EXPECT_EQ(p.Spread, -3);
    EXPECT_EQ(p.AccuracyXP, 100);
}

TEST(Training, LimitsOfSpeedRechargeAndMelee) {
    Unit& p = FreshPlayer();
    p.SpeedXP = 99;  // one point more is a level, and the count starts again
    NearestOpponentDistance = 80;
    TrainBulletSpeed();
    EXPECT_EQ(p.BulletSpeed, 4);
    EXPECT_EQ(p.SpeedXP, 0);
    for (int n = 0; n < 2000; n++) {
        NearestOpponentDistance = 0;  // point blank: 5 points a shot
        TrainBulletSpeed();
    }
    EXPECT_EQ(p.BulletSpeed, 14);
    EXPECT_EQ(p.BulletRange, 60 + 11 * 10);
    EXPECT_EQ(p.Speed, 10 + 11 * 0.5f);
    EXPECT_EQ(p.SpeedXP, 100);
    p.SpeedXP = 98;  // held at 100 only from above 99
    NearestOpponentDistance = 80;
    TrainBulletSpeed();
    EXPECT_EQ(p.SpeedXP, 99);

    MouseLeft = -1;
    for (int s = 0; s < 1000; s++) TrainRecharge();
    EXPECT_EQ(p.Recharge, 4);
    EXPECT_EQ(p.RechargeXP, 100);

    for (int f = 0; f < 3000; f++) TrainMelee(1);
    EXPECT_EQ(p.Melee, 11);
    EXPECT_EQ(p.MeleeXP, 100);  // capped: it would otherwise count on
    TrainMelee(1);
    EXPECT_EQ(p.MeleeXP, 100);
}

TEST(Training, BulletSpeedGainsByHowCloseTheNearestOpponentIs) {
    Unit& p = FreshPlayer();
    // (100 - distance) \ 20 a shot.
    const std::pair<int, int> gains[] = {{99, 0}, {81, 0}, {80, 1}, {61, 1}, {41, 2}, {21, 3}, {1, 4}, {0, 5}};
    for (auto [distance, gain] : gains) {
        const int before = p.SpeedXP;
        NearestOpponentDistance = static_cast<Integer>(distance);
        TrainBulletSpeed();
        EXPECT_EQ(p.SpeedXP - before, gain) << distance;
        EXPECT_EQ(NearestOpponentDistance, 100 - distance);
    }
}

TEST(Training, NothingTrainsWhileAMovementKeyIsHeld) {
    Unit& p = FreshPlayer();
    p.AccuracyXP = p.SpeedXP = p.MeleeXP = 99;
    for (int key : {DIK_W, DIK_UP, DIK_S, DIK_DOWN, DIK_A, DIK_LEFT, DIK_D, DIK_RIGHT}) {
        KeyState[key] = 0x80;
        TrainAccuracy(-1);
        NearestOpponentDistance = 0;
        TrainBulletSpeed();
        TrainMelee(1);
        KeyState[key] = 0;
        EXPECT_EQ(p.AccuracyXP + p.SpeedXP + p.MeleeXP, 3 * 99) << key;
        EXPECT_EQ(HitHistory[1], 0) << key;
    }
    // No gain from nothing or less.
    TrainMelee(0);
    TrainMelee(-5);
    EXPECT_EQ(p.MeleeXP, 99);
    TrainMelee(1);
    EXPECT_EQ(p.Melee, 1);
    EXPECT_EQ(p.MeleeXP, 0);  // a step up, counting from nothing
}

TEST(Training, EachStepUpSoundsTheLevelUp) {
    TempGameDir dir;
    Unit& p = FreshPlayer();
    LoadProbeSounds({7});
    auto soundedAfter = [](auto train) {
        MixerStop(SoundBuffer(7));
        train();
        return Playing(7);
    };
    p.MeleeXP = 98;
    EXPECT_FALSE(soundedAfter([] { TrainMelee(1); }));
    EXPECT_TRUE(soundedAfter([] { TrainMelee(1); }));
    p.SpeedXP = 99;
    EXPECT_FALSE(soundedAfter([] { NearestOpponentDistance = 81; TrainBulletSpeed(); }));
    EXPECT_TRUE(soundedAfter([] { NearestOpponentDistance = 80; TrainBulletSpeed(); }));
    p.AccuracyXP = 99;
    EXPECT_TRUE(soundedAfter([] { TrainAccuracy(-1); }));
    p.RechargeXP = 99;
    MouseLeft = -1;
    for (int s = 0; s < 2; s++) EXPECT_FALSE(soundedAfter([] { TrainRecharge(); })) << s;
    EXPECT_TRUE(soundedAfter([] { TrainRecharge(); }));  // 99 + 3 / 5 rounds to 100
    EXPECT_EQ(StillFireSeconds, 0);  // the still fire counts afresh
    FreeSounds();
}
