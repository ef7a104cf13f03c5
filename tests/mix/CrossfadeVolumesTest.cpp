#include "mix/Crossfader.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {

struct Shares {
    int a;
    int b;
};

Shares SharesAt(int32_t position, int32_t volumeA, int32_t volumeB) {
    const CrossfadeVolumes v = CrossfadeVolumesAt(position, volumeA, volumeB);
    return {v.a, v.b};
}

} // namespace

// Left of the middle deck A plays at its own setting and B is turned down in proportion;
// right of it the other way round.
TEST(CrossfadeVolumesTest, OneDeckAtItsOwnSettingTheOtherTurnedDownInProportion) {
    const std::tuple<int, int, int, int, int> cases[] = {
        // position, A's setting, B's setting: A's share, B's share
        {0, 100, 100, 100, 0},   {25, 100, 100, 100, 50}, {50, 100, 100, 100, 100},
        {51, 100, 100, 98, 100}, {75, 100, 100, 50, 100}, {100, 100, 100, 0, 100},
        {25, 70, 33, 70, 16}, // 16.5 to the even 16
        {60, 45, 80, 36, 80},
    };
    for (const auto& [position, a, b, wantA, wantB] : cases) {
        const Shares got = SharesAt(position, a, b);
        EXPECT_EQ(got.a, wantA) << "at " << position << " of " << a << " and " << b;
        EXPECT_EQ(got.b, wantB) << "at " << position << " of " << a << " and " << b;
    }
}

TEST(NextDeckTest, DeckOneFollowsDeckFour) {
    EXPECT_EQ(NextDeck(0), 1);
    EXPECT_EQ(NextDeck(1), 2);
    EXPECT_EQ(NextDeck(2), 3);
    EXPECT_EQ(NextDeck(3), 0);
}
