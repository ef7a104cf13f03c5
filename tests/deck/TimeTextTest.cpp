#include "deck/TimeText.h"
#include "common/Error.h"
#include "deck/TrackName.h"

#include <gtest/gtest.h>
#include <limits>

using namespace velmor;

TEST(TimeText, ShowsMinutesAndSecondsWithoutLeadingZeros) {
    EXPECT_EQ(TimeText(0), "0:0");
    EXPECT_EQ(TimeText(7), "0:7");
    EXPECT_EQ(TimeText(185), "3:5");
    EXPECT_EQ(TimeText(185.4f), "3:5");
    EXPECT_EQ(TimeText(600), "10:0");
    EXPECT_EQ(TimeText(70.2f), "1:10");
    EXPECT_EQ(TimeText(59.99f), "0:59");
    EXPECT_EQ(TimeText(3599.9f), "59:59");
    // Minutes and seconds may come from two readings of a moving position.
    EXPECT_EQ(TimeText(119.9f, 120.1f), "1:0");
}

TEST(TimeText, SecondsComeFromTheFractionOfTheMinutes) {
    EXPECT_EQ(WholeMinutes(185.4f), 3);
    EXPECT_EQ(RemainderSeconds(185.4f), 5.0f);
    EXPECT_EQ(RemainderSeconds(70.2f), 10.0f);
    // The seconds truncate the fraction of the minutes: 130 s is 2.1666.. minutes, whose
    // fraction times 60 falls just short of 10, so the display says 2:9 (a remainder would
    // say 10). A whole number of seconds is the rare case; positions rarely are.
    EXPECT_EQ(RemainderSeconds(130.0f), 9.0f);
    EXPECT_EQ(RemainderSeconds(120.0f), 0.0f);
    EXPECT_EQ(WholeMinutes(-90.0f), -1); // toward zero, not down
    // Absurd lengths are held at the 16-bit ends instead of failing.
    EXPECT_EQ(WholeMinutes(1e9f), 32767);
    EXPECT_EQ(WholeMinutes(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(TimeText, RemainingTimeBorrowsAMinuteWhenThePositionsSecondsAreAhead) {
    EXPECT_EQ(RemainingTime(70.2f, 185.4f), "1:55");
    EXPECT_EQ(RemainingTime(0, 185.4f), "3:5");
    EXPECT_EQ(RemainingTime(65.5f, 185.4f), "2:0");
    EXPECT_EQ(RemainingTime(185.4f, 185.4f), "0:0");
    EXPECT_EQ(RemainingTime(100, 200), "1:40");
    // A position past the end (the player overshooting) shows a negative time, no failure.
    EXPECT_EQ(RemainingTime(190.5f, 185.4f), "-1:55");
}

TEST(TimeText, BarsShareTheFullWidthByThePosition) {
    auto atStart = BarWidthsAt(0, 185.4);
    ASSERT_TRUE(atStart);
    EXPECT_EQ(atStart->elapsed, 0.0f);
    EXPECT_EQ(atStart->remaining, 1065.0f);
    auto half = BarWidthsAt(100, 200);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->elapsed, 532.5f);
    EXPECT_EQ(half->remaining, 532.5f);
    EXPECT_FALSE(BarWidthsAt(0, 0)); // no length, no widths, no failure
}

TEST(TrackName, TitleIsTheNameWithoutFolderAndExtension) {
    EXPECT_EQ(LoadedName("/music/live/Song.mp3"), "Song.mp3");
    EXPECT_EQ(LoadedName("Song.mp3"), "Song.mp3");
    EXPECT_EQ(LoadedName(""), "");
    EXPECT_EQ(TitleOf("/music/Song.mp3"), "Song");
    EXPECT_EQ(TitleOf("/music/My.Band - Hit.wav"), "My.Band - Hit");
    EXPECT_EQ(TitleOf("/music/.mp3"), "");
    EXPECT_EQ(TitleOf("/music/Rip.flac"), "Rip");
    EXPECT_EQ(TitleOf("/music/a.b.xyzw"), "a.b."); // no type of ours: four characters go
    EXPECT_THROW(TitleOf("/music/a.b"), Error);
}
