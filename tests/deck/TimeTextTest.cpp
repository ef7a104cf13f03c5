#include "deck/TimeText.h"
#include "common/Error.h"
#include "deck/EntrySearch.h"
#include "deck/TrackName.h"
#include "deck/VolumeLaw.h"

#include <QVariant>
#include <gtest/gtest.h>
#include <limits>

using namespace velmor;

// Each input through `f`, the results joined: one comparison shows every row.
template <typename In, typename F> static QString Each(std::initializer_list<In> inputs, F f) {
    QStringList out;
    for (const In& in : inputs)
        out << QVariant(std::apply(f, in)).toString();
    return out.join('|');
}

TEST(TimeText, ShowsMinutesAndSecondsWithoutLeadingZerosAndTheRemainingTimeBorrowsAMinute) {
    // 130 s: the seconds truncate the fraction of the minutes, which falls short.
    EXPECT_EQ(Each<std::tuple<float>>({0, 7, 185.4f, 600, 70.2f, 59.99f, 3599.9f, 130},
                                      [](float s) { return TimeText(s); }),
              "0:0|0:7|3:5|10:0|1:10|0:59|59:59|2:9");
    // Minutes and seconds may come from two readings of a moving position.
    EXPECT_EQ(TimeText(119.9f, 120.1f), "1:0");
    // Toward zero, not down; absurd lengths held at the 16-bit ends instead of failing.
    EXPECT_EQ(Each<std::tuple<float>>({-90, 1e9f, -1e9f, std::numeric_limits<float>::quiet_NaN()},
                                      WholeMinutes),
              "-1|32767|-32768|0");
    // The last past the end, the player overshooting: no failure.
    EXPECT_EQ(Each<std::tuple<float>>({70.2f, 0, 65.5f, 185.4f, 190.5f},
                                      [](float p) { return RemainingTime(p, 185.4f); }) +
                  " " + RemainingTime(100, 200),
              "1:55|3:5|2:0|0:0|-1:55 1:40");
}

TEST(TimeText, BarsShareTheFullWidthByThePositionAndTheLastSecondsWarn) {
    const BarWidths half = BarWidthsAt(100, 200).value();
    EXPECT_EQ((std::pair{half.elapsed, half.remaining}), (std::pair{532.5f, 532.5f}));
    EXPECT_EQ(BarWidthsAt(0, 185.4)->remaining, 1065.0f);
    // No length, no widths, no failure.
    EXPECT_FALSE(BarWidthsAt(0, 0) || BarWidthsAt(0, std::numeric_limits<double>::infinity()));
    EXPECT_EQ((Each<std::tuple<double, double>>({{89.9, 120}, {90, 120}, {0, 0}}, NearTheEnd)),
              "false|true|false");
}

TEST(TrackName, TitleIsTheNameWithoutFolderAndExtension) {
    EXPECT_EQ(LoadedName("/music/live/Song.mp3") + LoadedName("Song.mp3"), "Song.mp3Song.mp3");
    // a.b.xyzw: no type of ours, four characters go.
    EXPECT_EQ(Each<std::tuple<QString>>({"/music/Song.mp3", "/music/My.Band - Hit.wav",
                                         "/music/.mp3", "/music/Rip.flac", "/music/a.b.xyzw"},
                                        TitleOf),
              "Song|My.Band - Hit||Rip|a.b.");
    EXPECT_THROW(TitleOf("/music/a.b"), Error);
}

TEST(VolumeLaw, MapsDeckVolumesLinearlyInDecibelsAndBack) {
    EXPECT_EQ(Each<std::tuple<int>>({0, 20, 37, 100, 728, -628}, VolumeToPlayerLevel),
              "-4500|-3600|-2835|0|28260|-32760");
    EXPECT_THROW(VolumeToPlayerLevel(729), Error);
    EXPECT_THROW(VolumeToPlayerLevel(-629), Error);
    // -2272 is 49.51: to the nearest.
    EXPECT_EQ(Each<std::tuple<int>>({-4500, -2272, -2273}, PlayerLevelToVolume), "0|50|49");
}

// A list written one character an entry: '.' opens, 'x' will not open, '#' is marked and
// will not open, 'o' is marked but opens now (its file came back). Then where the search
// starts and its step, whether a chosen start is tried again, and what it gives: the entry
// opened (-1: none), the entries tried in order, how many it stepped over.
const std::tuple<const char*, int, int, bool, const char*> kSearches[] = {
    {"...", 1, +1, false, "1 1 0"},    {".x.", 1, +1, false, "2 12 1"}, // a bad entry in the middle
    {".xx.", 1, +1, false, "3 123 2"},                                  // two in a row
    {".x#.", 1, +1, false, "3 13 1"},  // a marked one is not tried again
    {".xx", 1, +1, false, "-1 12 2"},  // nothing after: one pass, no wrap
    {"xxx", 0, +1, false, "-1 012 3"}, // nothing but bad entries
    {"###", 0, +1, false, "-1  0"},    // known bad: nothing is tried, nothing told
    {".x.", 1, -1, false, "0 10 1"},   // backwards
    {"x#.", 1, -1, false, "-1 0 1"},   // backwards off the start
    {"..", 2, +1, false, "-1  0"},     // past the end (entries deleted)
    {"..", -1, -1, false, "-1  0"},    // before the start
    {"", 0, +1, false, "-1  0"},       // an empty list
    {".o.", 1, +1, false, "2 2 0"},    // the deck by itself passes a marked entry
    {".o.", 1, +1, true, "1 1 0"},     // a chosen one is tried again and opens
    {".#.", 1, +1, true, "2 12 1"},    // a chosen one still bad: on to the next
    {"..#", 2, +1, true, "-1 2 1"},
};

TEST(EntrySearch, StepsOverEntriesThatCannotBePlayedInOnePass) {
    for (const auto& [text, start, step, retryStart, expected] : kSearches) {
        const std::string list = text;
        std::string tried;
        auto marked = [&](int i) { return list[i] == '#' || list[i] == 'o'; };
        auto open = [&](int i) -> std::optional<QString> {
            tried += char('0' + i);
            if (list[i] == '.' || list[i] == 'o')
                return std::nullopt;
            return QString("entry %1 is bad").arg(i);
        };
        const int count = int(list.size());
        const SteppedOver r = OpenFirstPlayable(count, start, step, retryStart, marked, open);
        SCOPED_TRACE(list + " from " + std::to_string(start));
        EXPECT_EQ(std::to_string(r.opened.value_or(-1)) + " " + tried + " " +
                      std::to_string(r.count),
                  expected);
        if (r.count > 0) {
            EXPECT_EQ(r.firstReason, QString("entry %1 is bad").arg(tried[0])) << tried;
        }
        // The buttons' guard finds nothing exactly where the search tries nothing.
        if (!retryStart) {
            EXPECT_EQ(NextPlayable(count, start, step, marked).has_value(), !tried.empty());
        }
    }
}
