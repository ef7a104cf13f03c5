#include "common/Numbers.h"
#include "common/Error.h"

#include "support/Failure.h"

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::FailureOf;

TEST(Numbers, TextBecomesANumberOrTheErrorOfItsKind) {
    EXPECT_DOUBLE_EQ(ToDouble(" 1.5 "), 1.5);
    EXPECT_DOUBLE_EQ(ToDouble("+.25") + ToDouble("-1") + ToDouble("2e3"), 1999.25);
    for (const char* bad : {"", " ", "abc", "1,5", "1.2.3", "--1", "1 2", "0x10", "inf", "nan"})
        EXPECT_EQ(FailureOf([&] { ToDouble(bad); }), kTypeMismatch) << bad;
    // Integers round half to even, then the range is checked.
    const std::pair<const char*, int> rounded[] = {
        {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"16.5", 16}, {"32767.4", 32767}};
    for (const auto& [text, value] : rounded)
        EXPECT_EQ(ToInt16(text), value) << text;
    EXPECT_EQ(ToInt32("2147483647"), 2147483647);
    for (const auto& tooBig : std::initializer_list<std::function<void()>>{
             [] { ToInt16("32767.5"); }, [] { ToInt16("-32769"); }, [] { ToInt32("2147483648"); },
             [] { ToInt32("1e300"); }, [] { Mul16(729, 45); }, [] { Sub16(-629 * 45, 4500); },
             [] { Add16(32767, 1); }})
        EXPECT_EQ(FailureOf(tooBig), kOverflow);
    EXPECT_EQ(FailureOf([] { ToInt32("x"); }) + FailureOf([] { Divide(1, 0); }),
              QString(kTypeMismatch) + kDivisionByZero);
    // Sixteen-bit arithmetic fails instead of wrapping.
    EXPECT_EQ(std::tuple(Mul16(728, 45), Sub16(-628 * 45, 4500)), std::tuple(32760, -32760));
}
