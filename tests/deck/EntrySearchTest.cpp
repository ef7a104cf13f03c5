#include "deck/EntrySearch.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace velmor;

namespace {
// A list written one character an entry: '.' opens, 'x' will not open, '#' is marked and
// will not open, 'o' is marked but opens now (its file came back).
struct Search {
    const char* list;
    int start;
    int step;
    bool retryStart;        // the user chose the starting entry
    int opened;             // -1: none
    std::vector<int> tried; // the entries tried, in order
    int steppedOver;
};

const Search kSearches[] = {
    {"...", 1, +1, false, 1, {1}, 0},
    {".x.", 1, +1, false, 2, {1, 2}, 1},     // a bad entry in the middle
    {".x#.", 1, +1, false, 3, {1, 3}, 1},    // a marked one is not tried again
    {".xx", 1, +1, false, -1, {1, 2}, 2},    // nothing after: one pass, no wrap
    {"xxx", 0, +1, false, -1, {0, 1, 2}, 3}, // nothing but bad entries
    {"###", 0, +1, false, -1, {}, 0},        // known bad: nothing is tried, nothing told
    {".x.", 1, -1, false, 0, {1, 0}, 1},     // backwards
    {"x#.", 1, -1, false, -1, {0}, 1},       // backwards off the start
    {"..", 2, +1, false, -1, {}, 0},         // past the end (entries deleted)
    {".o.", 1, +1, false, 2, {2}, 0},        // the deck by itself passes a marked entry
    {".o.", 1, +1, true, 1, {1}, 0},         // a chosen one is tried again and opens
    {".#.", 1, +1, true, 2, {1, 2}, 1},      // a chosen one still bad: on to the next
};

struct EntrySearchTest : ::testing::TestWithParam<Search> {};
} // namespace

TEST_P(EntrySearchTest, StepsOverEntriesThatCannotBePlayedInOnePass) {
    const Search& s = GetParam();
    const std::string list = s.list;
    std::vector<int> tried;
    auto marked = [&](int i) { return list[i] == '#' || list[i] == 'o'; };
    auto open = [&](int i) -> std::optional<QString> {
        tried.push_back(i);
        if (list[i] == '.' || list[i] == 'o')
            return std::nullopt;
        return QString("entry %1 is bad").arg(i);
    };
    const int count = int(list.size());
    const SteppedOver r = OpenFirstPlayable(count, s.start, s.step, s.retryStart, marked, open);
    SCOPED_TRACE(list + " from " + std::to_string(s.start));
    EXPECT_EQ(r.opened.value_or(-1), s.opened);
    EXPECT_EQ(tried, s.tried);
    EXPECT_EQ(r.count, s.steppedOver);
}

INSTANTIATE_TEST_SUITE_P(Lists, EntrySearchTest, ::testing::ValuesIn(kSearches));

TEST(EntrySearch, TheFirstEntryThatWouldNotOpenGivesTheReason) {
    const auto marked = [](int) { return false; };
    const auto open = [](int i) -> std::optional<QString> {
        if (i == 3)
            return std::nullopt;
        return QString("entry %1 is bad").arg(i);
    };
    const SteppedOver r = OpenFirstPlayable(4, 1, +1, false, marked, open);
    EXPECT_EQ(r.firstReason, "entry 1 is bad");
}

TEST(EntrySearch, TheButtonsGuardFindsNothingWhereTheSearchWouldTryNothing) {
    const auto marked = [](int i) { return i == 1; };
    EXPECT_EQ(NextPlayable(3, 1, +1, marked), 2);
    EXPECT_EQ(NextPlayable(2, 1, +1, marked), std::nullopt);
    EXPECT_EQ(NextPlayable(3, 3, +1, marked), std::nullopt);
    EXPECT_EQ(NextPlayable(3, 1, -1, marked), 0);
}
