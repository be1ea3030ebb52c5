// The cleaning creature: how it crosses, what it wipes, that it comes back.
#include "graphics/WorkWithMemory.h"
#include "opponents/Cleaner.h"
#include "support/Battlefield.h"

namespace {

constexpr COLORREF Clean = RGB(120, 140, 90);

struct CleanerTest : Battlefield {
    void SetUp() override {
        Battlefield::SetUp();
        CreateSurface(CleanLine, 49, 10 * CleanLineStrips, Clean);
    }
};

TEST_F(CleanerTest, ItCrossesDownTheFieldWipingItsTrackAndLeaves) {
    StartCleaner();
    int column = Whole(BugerX) + 20;
    Single lastY = BugerY;
    int frames = 0;
    for (; BugerActive == -1 && frames < 1000; frames++) {
        CleanerStep();
        ASSERT_GE(BugerY, lastY);
        lastY = BugerY;
    }
    EXPECT_TRUE(frames > 300 && frames < 400) << frames;
    for (int y = 0; y < 300; y += 7) EXPECT_EQ(GetPixel(Terain, column, y), Clean) << y;
    EXPECT_EQ(GetPixel(Terain, column + 40, 150), Grass);
    for (int f = 0; f < 121 * 33 && BugerActive != -1; f++) CleanerStep();
    EXPECT_EQ(BugerActive, -1);  // and comes back on its own
}

}  // namespace
