#include "deck/TimeText.h"

#include <gtest/gtest.h>
#include <limits>

using namespace velmor;

// The seconds come from the fraction of the minutes.
TEST(TimeText, ShowsMinutesAndSecondsWithoutLeadingZeros) {
    EXPECT_EQ(TimeText(7), "0:7");
    EXPECT_EQ(TimeText(185.4f), "3:5");
    EXPECT_EQ(TimeText(600), "10:0");
    EXPECT_EQ(TimeText(59.99f), "0:59");
    // 130 s: the fraction of the minutes falls short of 10 s.
    EXPECT_EQ(TimeText(130), "2:9");
    // Minutes and seconds may come from two readings of a moving position.
    EXPECT_EQ(TimeText(119.9f, 120.1f), "1:0");
}

TEST(TimeText, WholeMinutesGoTowardZeroAndAbsurdLengthsStayAtTheEnds) {
    EXPECT_EQ(WholeMinutes(-90), -1);
    EXPECT_EQ(WholeMinutes(1e9f), 32767);
    EXPECT_EQ(WholeMinutes(-1e9f), -32768);
    EXPECT_EQ(WholeMinutes(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(TimeText, TheRemainingTimeBorrowsAMinute) {
    EXPECT_EQ(RemainingTime(70.2f, 185.4f), "1:55");
    EXPECT_EQ(RemainingTime(65.5f, 185.4f), "2:0");
    EXPECT_EQ(RemainingTime(185.4f, 185.4f), "0:0");
    // The player overshooting the end: no failure.
    EXPECT_EQ(RemainingTime(190.5f, 185.4f), "-1:55");
}

TEST(TimeText, BarsShareTheFullWidthByThePosition) {
    const BarWidths half = BarWidthsAt(100, 200).value();
    EXPECT_EQ(half.elapsed, 532.5f);
    EXPECT_EQ(half.remaining, 532.5f);
    EXPECT_EQ(BarWidthsAt(0, 185.4)->elapsed, 0.0f);
    EXPECT_EQ(BarWidthsAt(0, 185.4)->remaining, 1065.0f);
    // No length, no widths, no failure.
    EXPECT_FALSE(BarWidthsAt(0, 0));
    EXPECT_FALSE(BarWidthsAt(0, std::numeric_limits<double>::infinity()));
}

TEST(TimeText, TheLastThirtySecondsWarn) {
    EXPECT_FALSE(NearTheEnd(89.9, 120));
    EXPECT_TRUE(NearTheEnd(90, 120));
    EXPECT_FALSE(NearTheEnd(0, 0));
}
