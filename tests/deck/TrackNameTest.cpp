#include "deck/TrackName.h"
#include "legacy/Error.h"

#include <gtest/gtest.h>

using namespace velmor;

// A name too short to lose four characters has no title.
TEST(TrackName, TheTitleIsTheNameWithoutItsExtension) {
    EXPECT_EQ(TitleOf("/music/Song.mp3"), "Song");
    EXPECT_EQ(TitleOf("/music/My.Band - Hit.wav"), "My.Band - Hit");
    EXPECT_EQ(TitleOf("/music/Rip.flac"), "Rip");
    // No type of ours: four characters go.
    EXPECT_EQ(TitleOf("/music/a.b.xyzw"), "a.b.");
    EXPECT_THROW(TitleOf("/music/a.b"), Error);
}
