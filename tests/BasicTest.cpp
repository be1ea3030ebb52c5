// The arithmetic helpers and the direction-and-distance rule.
#include <gtest/gtest.h>

#include "shell/Basic.h"
#include "shell/GameState.h"

TEST(Basic, RoundingAndDivision) {
    EXPECT_EQ(Int(-0.5), -1);
    EXPECT_EQ(Int(2.9), 2);
    EXPECT_EQ(Whole(0.5), 0);
    EXPECT_EQ(Whole(1.5), 2);
    EXPECT_EQ(Whole(2.5), 2);
    EXPECT_EQ(Whole(-2.5), -2);
    EXPECT_EQ(Whole(2.51), 3);
    EXPECT_EQ(Whole(-3e9), -2147483647 - 1);  // held to the 32-bit range
    EXPECT_EQ(Whole(3e9), 2147483647);
    EXPECT_EQ(IDiv(7, 2), 3);
    EXPECT_EQ(IDiv(-7, 2), -3);
    EXPECT_EQ(IDiv(7.5, 2), 4);  // 7.5 rounds to 8 first
    EXPECT_EQ(IDiv(5, 0), 0);
}

TEST(Basic, NumberText) {
    EXPECT_EQ(PrintNum(8), " 8 ");
    EXPECT_EQ(PrintNum(-1), "-1 ");
    EXPECT_EQ(PrintNum(0), " 0 ");
    EXPECT_EQ(PrintNum(2.5), " 2.5 ");
    EXPECT_EQ(PrintNum(-0.25), "-.25 ");
    EXPECT_EQ(StrSingle(0.5f), ".5");
    EXPECT_EQ(StrSingle(47.83621f), "47.83621");
    EXPECT_EQ(StrSingle(10.0f), "10");
    EXPECT_EQ(StrDouble(1.0 / 3.0), ".333333333333333");
    EXPECT_EQ(ToNumber(" 12 ").value(), 12);
    EXPECT_EQ(ToNumber("\t7\t").value(), 7);  // a value read from a hand-edited line
    EXPECT_EQ(ToNumber("7\r\n").value(), 7);
    EXPECT_EQ(ToNumber("\r\n7").value(), 7);
    EXPECT_EQ(PrintNum(999999999999999.0), " 999999999999999 ");
    EXPECT_EQ(PrintNum(1e15), " 1E+15 ");  // sixteen digits: the exponent form
    EXPECT_EQ(StrDouble(2.5e-5), "2.5E-05");  // at least two exponent digits
    EXPECT_EQ(StrSingle(1e-10f), "1E-10");
    EXPECT_EQ(StrDouble(1e-100), "1E-100");
    EXPECT_EQ(ToNumber("-3.5").value(), -3.5);
    EXPECT_FALSE(ToNumber("abc").has_value());
    EXPECT_FALSE(ToNumber("").has_value());
    EXPECT_FALSE(ToNumber("12x").has_value());
    EXPECT_EQ(ToNumber(" +5").value(), 5);  // a leading plus is a sign, as when the line was printed
    EXPECT_FALSE(ToNumber("+").has_value());
    // Only the text given counts, not what follows it in memory.
    EXPECT_EQ(ToNumber(std::string_view("123", 2)).value(), 12);
}

TEST(Basic, RandomIsSeededAndInRange) {
    Randomize(1234);
    float a = Rnd(), b = Rnd();
    Randomize(1234);
    EXPECT_EQ(Rnd(), a);
    EXPECT_EQ(Rnd(), b);
    for (int i = 0; i < 10000; i++) {
        float r = Rnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

TEST(Basic, TextHelpers) {
    EXPECT_EQ(Trim("  ab c  "), "ab c");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("x"), "x");
    EXPECT_EQ(Trim(std::string_view("      ", 3)), "");  // blanks only, more of them beyond the text
    EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Mid("abc", 5, 3), "");
    EXPECT_EQ(Mid("abcdef", 4), "def");
    EXPECT_EQ(Mid("abcdef", 0, 2), "ab");  // a start before the first character counts from it
}

TEST(DirectionAndDistance, AxesDiagonalsAndCoincidingPoints) {
    EXPECT_EQ(DirectionAndDistance(0, 0, 10, 0), 0);
    EXPECT_EQ(LastDistance, 10);
    EXPECT_EQ(DirectionAndDistance(0, 0, 0, 10), 90);
    EXPECT_EQ(DirectionAndDistance(0, 0, -10, 0), 180);
    EXPECT_EQ(DirectionAndDistance(0, 0, 0, -10), 270);
    EXPECT_EQ(DirectionAndDistance(0, 0, 10, 10), 45);
    EXPECT_EQ(LastDistance, 14);
    EXPECT_EQ(DirectionAndDistance(0, 0, -10, -10), 225);
    EXPECT_EQ(DirectionAndDistance(0, 0, -10, 10), 135);
    EXPECT_EQ(DirectionAndDistance(0, 0, 10, -10), 315);
    // Coinciding points keep the previous direction, distance 0.
    EXPECT_EQ(DirectionAndDistance(5, 5, 5, 5), 315);
    EXPECT_EQ(LastDistance, 0);
    // One degree below the horizontal.
    EXPECT_EQ(DirectionAndDistance(0, 0, 100, 2), 1);
}
