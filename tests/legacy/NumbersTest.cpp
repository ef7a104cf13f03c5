#include "legacy/Numbers.h"
#include "support/Failure.h"

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::FailureOf;

TEST(NumbersTest, TextBecomesANumber) {
    EXPECT_DOUBLE_EQ(ToDouble(" 1.5 "), 1.5);
    EXPECT_DOUBLE_EQ(ToDouble("+.25"), 0.25);
    EXPECT_DOUBLE_EQ(ToDouble("-1"), -1);
    EXPECT_DOUBLE_EQ(ToDouble("2e3"), 2000);
}

TEST(NumbersTest, TextThatIsNoNumberIsATypeMismatch) {
    for (const char* bad : {"", " ", "abc", "1,5", "1.2.3", "--1", "1 2", "0x10", "inf", "nan"})
        EXPECT_EQ(FailureOf([&] { ToDouble(bad); }), "Type mismatch") << bad;
    EXPECT_EQ(FailureOf([] { ToInt32("x"); }), "Type mismatch");
}

// Integers round half to even, then the range is checked.
TEST(NumbersTest, IntegersRoundHalfToEvenThenOverflowOutOfRange) {
    EXPECT_EQ(ToInt16("2.5"), 2);
    EXPECT_EQ(ToInt16("3.5"), 4);
    EXPECT_EQ(ToInt16("-2.5"), -2);
    EXPECT_EQ(ToInt16("32767.4"), 32767);
    EXPECT_EQ(ToInt32("2147483647"), 2147483647);
    EXPECT_EQ(FailureOf([] { ToInt16("32767.5"); }), "Overflow");
    EXPECT_EQ(FailureOf([] { ToInt16("-32769"); }), "Overflow");
    EXPECT_EQ(FailureOf([] { ToInt32("2147483648"); }), "Overflow");
    EXPECT_EQ(FailureOf([] { ToInt32("1e300"); }), "Overflow");
}

// Sixteen-bit arithmetic fails instead of wrapping.
TEST(NumbersTest, SixteenBitArithmeticOverflowsInsteadOfWrapping) {
    EXPECT_EQ(Mul16(728, 45), 32760);
    EXPECT_EQ(FailureOf([] { Mul16(729, 45); }), "Overflow");
    EXPECT_EQ(Sub16(-628 * 45, 4500), -32760);
    EXPECT_EQ(FailureOf([] { Sub16(-629 * 45, 4500); }), "Overflow");
    EXPECT_EQ(FailureOf([] { Add16(32767, 1); }), "Overflow");
}

TEST(NumbersTest, DividingByZeroFails) {
    EXPECT_EQ(FailureOf([] { Divide(1, 0); }), "Division by zero");
}
