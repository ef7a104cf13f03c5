#include "deck/TrackName.h"
#include "legacy/Error.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(TrackName, TheLoadedNameIsWhatFollowsTheLastFolder) {
    EXPECT_EQ(LoadedName("/music/live/Song.mp3"), "Song.mp3");
    EXPECT_EQ(LoadedName("Song.mp3"), "Song.mp3");
}

TEST(TrackName, TheTitleIsTheNameWithoutItsExtension) {
    EXPECT_EQ(TitleOf("/music/Song.mp3"), "Song");
    EXPECT_EQ(TitleOf("/music/My.Band - Hit.wav"), "My.Band - Hit");
    EXPECT_EQ(TitleOf("/music/Rip.flac"), "Rip");
    // No type of ours: four characters go.
    EXPECT_EQ(TitleOf("/music/a.b.xyzw"), "a.b.");
}

TEST(TrackName, ANameTooShortHasNoTitle) {
    EXPECT_THROW(TitleOf("/music/a.b"), Error);
}
