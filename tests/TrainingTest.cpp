// The player's four skills: what one step gains, when a skill steps up, and
// where each stops.
#include <gtest/gtest.h>

#include <vector>

#include "opponents/Training.h"
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
    // Walking while shooting trains nothing.
    MouseLeft = -1;
    KeyState[DIK_LEFT] = 0x80;
    for (int s = 0; s < 10; s++) TrainRecharge();
    EXPECT_EQ(p.RechargeXP, 11);
    EXPECT_EQ(StillFireSeconds, 0);
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
    for (int n = 0; n < 2000; n++) {
        NearestOpponentDistance = 0;  // point blank: 5 points a shot
        TrainBulletSpeed();
    }
    EXPECT_EQ(p.BulletSpeed, 14);
    EXPECT_EQ(p.BulletRange, 60 + 11 * 10);
    EXPECT_EQ(p.Speed, 10 + 11 * 0.5f);
    EXPECT_EQ(p.SpeedXP, 100);

    MouseLeft = -1;
    for (int s = 0; s < 1000; s++) TrainRecharge();
    EXPECT_EQ(p.Recharge, 4);
    EXPECT_EQ(p.RechargeXP, 100);

    for (int f = 0; f < 3000; f++) TrainMelee(1);
    EXPECT_EQ(p.Melee, 11);
    EXPECT_EQ(p.MeleeXP, 100);  // capped: it would otherwise count on
}
