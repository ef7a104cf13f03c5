#include "deck/TimeText.h"
#include "common/Error.h"
#include "deck/EntrySearch.h"
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
    // Toward zero, not down; absurd lengths held at the 16-bit ends instead of failing.
    const std::pair<float, int> minutes[] = {
        {-90, -1}, {1e9f, 32767}, {-1e9f, -32768}, {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const auto& [seconds, whole] : minutes)
        EXPECT_EQ(WholeMinutes(seconds), whole) << seconds;
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
    for (const auto& [position, length, near] :
         {std::tuple{89.9, 120, false}, {90.0, 120, true}, {0.0, 0, false}})
        EXPECT_EQ(NearTheEnd(position, length), near) << position;
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

namespace {
// A list written one character an entry: '.' opens, 'x' will not open, '#' is marked and
// will not open, 'o' is marked but opens now (its file came back).
struct Case {
    const char* list;
    int start, step;
    bool retryStart;
    int opened;        // -1: none
    const char* tried; // the entries tried, in order
    int steppedOver;
};

const Case kCases[] = {
    {"...", 1, +1, false, 1, "1", 0},
    {".x.", 1, +1, false, 2, "12", 1},   // a bad entry in the middle
    {".xx.", 1, +1, false, 3, "123", 2}, // two in a row
    {".x#.", 1, +1, false, 3, "13", 1},  // a marked one is not tried again
    {".xx", 1, +1, false, -1, "12", 2},  // nothing after: one pass, no wrap
    {"xxx", 0, +1, false, -1, "012", 3}, // nothing but bad entries
    {"###", 0, +1, false, -1, "", 0},    // known bad: nothing is tried, nothing told
    {".x.", 1, -1, false, 0, "10", 1},   // backwards
    {"x#.", 1, -1, false, -1, "0", 1},   // backwards off the start
    {"..", 2, +1, false, -1, "", 0},     // past the end (entries deleted)
    {"..", -1, -1, false, -1, "", 0},    // before the start
    {"", 0, +1, false, -1, "", 0},       // an empty list
    {".o.", 1, +1, false, 2, "2", 0},    // the deck by itself passes a marked entry
    {".o.", 1, +1, true, 1, "1", 0},     // a chosen one is tried again and opens
    {".#.", 1, +1, true, 2, "12", 1},    // a chosen one still bad: on to the next
    {"..#", 2, +1, true, -1, "2", 1},
};
} // namespace

TEST(EntrySearch, StepsOverEntriesThatCannotBePlayedInOnePass) {
    for (const Case& c : kCases) {
        const std::string list = c.list;
        const int count = int(list.size());
        std::string tried;
        auto marked = [&](int i) { return list[i] == '#' || list[i] == 'o'; };
        auto open = [&](int i) -> std::optional<QString> {
            tried += char('0' + i);
            if (list[i] == '.' || list[i] == 'o')
                return std::nullopt;
            return QString("entry %1 is bad").arg(i);
        };
        const SteppedOver r = OpenFirstPlayable(count, c.start, c.step, c.retryStart, marked, open);
        const std::string what = std::string(c.list) + " from " + std::to_string(c.start);
        EXPECT_EQ(r.opened.value_or(-1), c.opened) << what;
        EXPECT_EQ(tried, c.tried) << what;
        EXPECT_EQ(r.count, c.steppedOver) << what;
        if (c.steppedOver > 0) {
            EXPECT_EQ(r.firstReason, QString("entry %1 is bad").arg(c.tried[0] - '0')) << what;
        }
        // The buttons' guard finds nothing exactly where the search tries nothing.
        if (!c.retryStart) {
            EXPECT_EQ(NextPlayable(count, c.start, c.step, marked).has_value(), *c.tried != 0)
                << what;
        }
    }
}
