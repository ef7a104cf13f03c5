#include "deck/EndTimes.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {
const QTime kNow(21, 0, 0);
} // namespace

TEST(ClockTextTest, ShowsHoursMinutesAndSecondsWithLeadingZeros) {
    EXPECT_EQ(ClockText(QTime(9, 5, 7)), "09:05:07");
}

// 4 minutes left of the track at 100 % end at 21:04; at 150 % in 160 s, at 21:02:40.
TEST(EndsTextTest, TheTrackEndsAtItsSpeedFromWhereItPlays) {
    EXPECT_EQ(EndsText(kNow, {.position = 60, .end = 300, .rate = 1.0}), "ends 21:04");
    EXPECT_EQ(EndsText(kNow, {.position = 60, .end = 300, .rate = 1.5}), "ends 21:02");
}

// The clock's minute: 21:03:59 still reads 21:03.
TEST(EndsTextTest, TheEndIsCutToItsMinute) {
    EXPECT_EQ(EndsText(kNow, {.position = 0, .end = 239, .rate = 1.0}), "ends 21:03");
    EXPECT_EQ(EndsText(kNow, {.position = 0, .end = 240, .rate = 1.0}), "ends 21:04");
}

TEST(EndsTextTest, ATrackPlayedPastItsEndEndsNow) {
    EXPECT_EQ(EndsText(kNow, {.position = 310, .end = 300, .rate = 1.0}), "ends 21:00");
}

// After the track, the entries it moves on to, each at the deck's speed.
TEST(EndsTextTest, TheListEndsAfterTheEntriesThatFollow) {
    const DeckEnd deck{.position = 0, .end = 120, .rate = 1.0, .following = {600, 180}};
    EXPECT_EQ(EndsText(kNow, deck), "ends 21:02 \u00b7 list 21:15");
    DeckEnd faster = deck;
    faster.rate = 1.5;
    EXPECT_EQ(EndsText(kNow, faster), "ends 21:01 \u00b7 list 21:10");
}

// An entry of a length not known yet: the list ends at the time shown at the earliest.
TEST(EndsTextTest, AnEntryOfUnknownLengthMakesTheListEndALowerBound) {
    const DeckEnd deck{.position = 0, .end = 120, .rate = 1.0, .following = {600, std::nullopt}};
    EXPECT_EQ(EndsText(kNow, deck), "ends 21:02 \u00b7 list \u226521:12");
}

TEST(EndsTextTest, TimesPastMidnightReadAsTheNextDaysClock) {
    const DeckEnd deck{.position = 0, .end = 120, .rate = 1.0, .following = {3600}};
    EXPECT_EQ(EndsText(QTime(23, 59, 0), deck), "ends 00:01 \u00b7 list 01:01");
}
