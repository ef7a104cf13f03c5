#include "deck/EndTimes.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {
const QTime kNow(21, 0, 0);
} // namespace

// 4 minutes left of the track at 100 % end at 21:04; at 150 % in 160 s, at 21:02:40. The end
// is cut to the clock's minute (21:03:59 still reads 21:03), and a track played past its end
// ends now.
TEST(EndsTextTest, TheTrackEndsAtItsSpeedFromWhereItPlaysCutToItsMinute) {
    EXPECT_EQ(EndsText(kNow, {.position = 60, .end = 300, .rate = 1.0}), "ends 21:04");
    EXPECT_EQ(EndsText(kNow, {.position = 60, .end = 300, .rate = 1.5}), "ends 21:02");
    EXPECT_EQ(EndsText(kNow, {.position = 0, .end = 239, .rate = 1.0}), "ends 21:03");
    EXPECT_EQ(EndsText(kNow, {.position = 310, .end = 300, .rate = 1.0}), "ends 21:00");
}

// After the track, the entries it moves on to, each at the deck's speed. An entry of a length
// not known yet makes the list's end a lower bound: the time shown at the earliest.
TEST(EndsTextTest, TheListEndsAfterTheEntriesThatFollow) {
    const DeckEnd deck{.position = 0, .end = 120, .rate = 1.0, .following = {600, 180}};
    EXPECT_EQ(EndsText(kNow, deck), "ends 21:02 \u00b7 list 21:15");
    DeckEnd faster = deck;
    faster.rate = 1.5;
    EXPECT_EQ(EndsText(kNow, faster), "ends 21:01 \u00b7 list 21:10");
    DeckEnd unknown = deck;
    unknown.following = {600, std::nullopt};
    EXPECT_EQ(EndsText(kNow, unknown), "ends 21:02 \u00b7 list \u226521:12");
}
