#include "deck/SilenceWatch.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {

constexpr float kSilent = 0.0005f; // -66 dBFS
constexpr float kHeard = 0.002f;   // -54 dBFS
const std::array<bool, kDecks> kDeck2Meant{false, true, false, false};
const std::array<bool, kDecks> kNoneMeant{};

// Looks every tenth of a second from `from` to `to` seconds; the decks told, in order.
std::vector<int> LookThrough(SilenceWatch& watch, double from, double to, float peak,
                             const std::array<bool, kDecks>& meant) {
    std::vector<int> told;
    for (int tenth = int(from * 10); tenth <= int(to * 10); ++tenth)
        for (int d : watch.look(tenth / 10.0, peak, meant))
            told.push_back(d);
    return told;
}

} // namespace

// Once heard again, its silence counts anew.
TEST(SilenceWatchTest, ADeckUnheardForFiveSecondsIsToldOnceUntilItIsHeardAgain) {
    SilenceWatch watch;
    EXPECT_EQ(LookThrough(watch, 0, 4.9, kSilent, kDeck2Meant), std::vector<int>{});
    EXPECT_EQ(watch.look(5.0, kSilent, kDeck2Meant), std::vector<int>{1});
    EXPECT_EQ(LookThrough(watch, 5.1, 60, kSilent, kDeck2Meant), std::vector<int>{});
    EXPECT_EQ(watch.look(61, kHeard, kDeck2Meant), std::vector<int>{});
    EXPECT_EQ(LookThrough(watch, 61.1, 66, kSilent, kDeck2Meant), std::vector<int>{});
    EXPECT_EQ(watch.look(66.2, kSilent, kDeck2Meant), std::vector<int>{1});
}

// A deck muted, at the bottom of its level or fading is not meant to be heard: its silence is
// not counted, and counting starts again when it is meant to be heard again.
TEST(SilenceWatchTest, SilenceWhileNoDeckIsMeantToBeHeardIsNotCounted) {
    SilenceWatch watch;
    EXPECT_EQ(LookThrough(watch, 0, 30, kSilent, kNoneMeant), std::vector<int>{});
    EXPECT_EQ(LookThrough(watch, 30.1, 35, kSilent, kDeck2Meant), std::vector<int>{});
    EXPECT_EQ(watch.look(35.2, kSilent, kDeck2Meant), std::vector<int>{1});
}

// The level at the edge: -60 dBFS itself is heard.
TEST(SilenceWatchTest, TheMasterAtMinusSixtyIsHeard) {
    SilenceWatch watch;
    EXPECT_EQ(LookThrough(watch, 0, 10, SilenceWatch::kSilentPeak, kDeck2Meant),
              std::vector<int>{});
}
