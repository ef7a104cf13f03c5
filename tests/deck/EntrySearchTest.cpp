#include "deck/EntrySearch.h"

#include <gtest/gtest.h>

using namespace velmor;

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
