#include "soak/Verdict.h"

#include <gtest/gtest.h>

using namespace velmor::soak;

namespace {
std::vector<int> Entries(int from, int to) {
    std::vector<int> out;
    for (int i = from; i <= to; ++i)
        out.push_back(i);
    return out;
}
} // namespace

// The soak run's verdict on one pass through a list: every slip a deck can make is caught.
TEST(SoakVerdict, APassMustOpenEveryEntryOnceInOrderAndPlayTheLastOut) {
    EXPECT_EQ(JudgeRound(Entries(1, 5), 5, true), "");

    std::vector<int> skipped{1, 2, 4, 5};
    EXPECT_EQ(JudgeRound(skipped, 5, true), "opened entry 4 where entry 3 was due");
    std::vector<int> repeated{1, 2, 2, 3, 4, 5};
    EXPECT_EQ(JudgeRound(repeated, 5, true), "opened entry 2 where entry 3 was due");
    std::vector<int> stranger{1, 2, 0, 3};
    EXPECT_EQ(JudgeRound(stranger, 5, true), "opened entry 0 where entry 3 was due");
    EXPECT_EQ(JudgeRound({}, 5, false), "stopped advancing at entry 0 of 5");
    EXPECT_EQ(JudgeRound(Entries(1, 3), 5, false), "stopped advancing at entry 3 of 5");
    EXPECT_EQ(JudgeRound(Entries(1, 6), 5, true), "opened 6 entries of a list of 5");
    // Stopped on the last entry by a fade out, say, without playing it to its end.
    EXPECT_EQ(JudgeRound(Entries(1, 5), 5, false), "entry 5 never played to its end");
}

TEST(SoakVerdict, MemoryMayNotGrowByMoreThanTheTolerance) {
    EXPECT_EQ(JudgeMemory(100000, 110000, 0.10), "");
    EXPECT_EQ(JudgeMemory(100000, 60000, 0.10), ""); // giving memory back is no leak
    EXPECT_EQ(JudgeMemory(100000, 110001, 0.10),
              "memory grew from 100000 kB to 110001 kB (10.0 %)");
    EXPECT_EQ(JudgeMemory(-1, 50000, 0.10), "resident memory could not be read");
    EXPECT_GT(ResidentKb(), 0);
}
