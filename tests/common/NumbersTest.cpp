#include "common/Numbers.h"
#include "common/Error.h"

#include "support/Failure.h"

#include <gtest/gtest.h>

using namespace velmor;

using velmor::test::FailureOf;

TEST(Numbers, DecimalTextAllowsSpacesFractionsAndSigns) {
    EXPECT_DOUBLE_EQ(ToDouble(" 1.5 "), 1.5);
    EXPECT_DOUBLE_EQ(ToDouble("-1"), -1.0);
    EXPECT_DOUBLE_EQ(ToDouble("+.25"), 0.25);
    EXPECT_DOUBLE_EQ(ToDouble("2e3"), 2000.0);
    for (const char* bad : {"", " ", "abc", "1,5", "1.2.3", "--1", "1 2", "0x10", "inf", "nan"})
        EXPECT_EQ(FailureOf([&] { ToDouble(bad); }), kTypeMismatch) << bad;
}

TEST(Numbers, IntegersRoundHalfToEvenThenCheckTheRange) {
    EXPECT_EQ(ToInt16("2.5"), 2);
    EXPECT_EQ(ToInt16("3.5"), 4);
    EXPECT_EQ(ToInt16("-2.5"), -2);
    EXPECT_EQ(ToInt16("16.5"), 16);
    EXPECT_EQ(ToInt16("32767.4"), 32767);
    EXPECT_EQ(FailureOf([] { ToInt16("32767.5"); }), kOverflow);
    EXPECT_EQ(FailureOf([] { ToInt16("-32769"); }), kOverflow);
    EXPECT_EQ(ToInt32("2147483647"), 2147483647);
    EXPECT_EQ(FailureOf([] { ToInt32("2147483648"); }), kOverflow);
    EXPECT_EQ(FailureOf([] { ToInt32("1e300"); }), kOverflow);
    EXPECT_EQ(FailureOf([] { ToInt32("x"); }), kTypeMismatch);
}

TEST(Numbers, SixteenBitArithmeticFailsInsteadOfWrapping) {
    EXPECT_EQ(Mul16(728, 45), 32760);
    EXPECT_EQ(FailureOf([] { Mul16(729, 45); }), kOverflow);
    EXPECT_EQ(Sub16(-628 * 45, 4500), -32760);
    EXPECT_EQ(FailureOf([] { Sub16(-629 * 45, 4500); }), kOverflow);
    EXPECT_EQ(FailureOf([] { Add16(32767, 1); }), kOverflow);
    EXPECT_EQ(FailureOf([] { Divide(1, 0); }), kDivisionByZero);
}
