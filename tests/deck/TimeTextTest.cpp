#include "deck/TimeText.h"
#include "common/Error.h"
#include "deck/TrackName.h"
#include "deck/VolumeLaw.h"

#include <gtest/gtest.h>
#include <limits>

using namespace velmor;

TEST(TimeText, ShowsMinutesAndSecondsWithoutLeadingZeros) {
    const std::pair<float, const char*> cases[] = {
        {0, "0:0"},       {7, "0:7"},         {185.4f, "3:5"}, {600, "10:0"}, {70.2f, "1:10"},
        {59.99f, "0:59"}, {3599.9f, "59:59"}, {130, "2:9"}, // the seconds truncate the fraction of
                                                            // the minutes, which falls short
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(TimeText(seconds), text) << seconds;
    // Minutes and seconds may come from two readings of a moving position.
    EXPECT_EQ(TimeText(119.9f, 120.1f), "1:0");
    EXPECT_EQ(WholeMinutes(-90.0f), -1); // toward zero, not down
    // Absurd lengths are held at the 16-bit ends instead of failing.
    EXPECT_EQ(WholeMinutes(1e9f), 32767);
    EXPECT_EQ(WholeMinutes(-1e9f), -32768);
    EXPECT_EQ(WholeMinutes(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(TimeText, RemainingTimeBorrowsAMinuteWhenThePositionsSecondsAreAhead) {
    const std::tuple<float, float, const char*> cases[] = {
        {70.2f, 185.4f, "1:55"},
        {0, 185.4f, "3:5"},
        {65.5f, 185.4f, "2:0"},
        {185.4f, 185.4f, "0:0"},
        {100, 200, "1:40"},
        {190.5f, 185.4f, "-1:55"}, // past the end, the player overshooting: no failure
    };
    for (const auto& [position, length, text] : cases)
        EXPECT_EQ(RemainingTime(position, length), text) << position << " of " << length;
}

TEST(TimeText, BarsShareTheFullWidthByThePositionAndTheLastSecondsWarn) {
    const auto half = BarWidthsAt(100, 200);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->elapsed, 532.5f);
    EXPECT_EQ(half->remaining, 532.5f);
    EXPECT_EQ(BarWidthsAt(0, 185.4)->remaining, 1065.0f);
    EXPECT_FALSE(BarWidthsAt(0, 0)); // no length, no widths, no failure
    EXPECT_FALSE(BarWidthsAt(0, std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(NearTheEnd(89.9, 120));
    EXPECT_TRUE(NearTheEnd(90, 120));
    EXPECT_FALSE(NearTheEnd(0, 0));
}

TEST(TrackName, TitleIsTheNameWithoutFolderAndExtension) {
    EXPECT_EQ(LoadedName("/music/live/Song.mp3"), "Song.mp3");
    EXPECT_EQ(LoadedName("Song.mp3"), "Song.mp3");
    const std::pair<const char*, const char*> cases[] = {
        {"/music/Song.mp3", "Song"}, {"/music/My.Band - Hit.wav", "My.Band - Hit"},
        {"/music/.mp3", ""},         {"/music/Rip.flac", "Rip"},
        {"/music/a.b.xyzw", "a.b."}, // no type of ours: four characters go
    };
    for (const auto& [path, title] : cases)
        EXPECT_EQ(TitleOf(path), title) << path;
    EXPECT_THROW(TitleOf("/music/a.b"), Error);
}

TEST(VolumeLaw, MapsDeckVolumesLinearlyInDecibelsAndBack) {
    const std::pair<int, int> cases[] = {{0, -4500}, {20, -3600},  {37, -2835},
                                         {100, 0},   {728, 28260}, {-628, -32760}};
    for (const auto& [volume, level] : cases)
        EXPECT_EQ(VolumeToPlayerLevel(volume), level) << volume;
    EXPECT_THROW(VolumeToPlayerLevel(729), Error);
    EXPECT_THROW(VolumeToPlayerLevel(-629), Error);
    EXPECT_EQ(PlayerLevelToVolume(-4500), 0);
    EXPECT_EQ(PlayerLevelToVolume(-2272), 50); // 49.51: to the nearest
    EXPECT_EQ(PlayerLevelToVolume(-2273), 49);
}
