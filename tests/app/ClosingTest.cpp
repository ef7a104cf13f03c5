#include "support/WindowTest.h"

using namespace velmor;
using namespace velmor::test;

namespace {
// The window shown with Deck 3 loaded.
struct ClosingTest : WindowTest {
    ClosingTest() {
        t.open(2, "/music/3.mp3");
        w.show();
    }
};
} // namespace

TEST_F(ClosingTest, WithNothingPlayingTheWindowClosesWithoutAsking) {
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(t.reporter.questions.empty());
}

// Closing by mistake in the middle of a set would be silence: No keeps the window open, Yes
// closes it.
TEST_F(ClosingTest, WhileADeckPlaysClosingAsksFirst) {
    t.playPause(2);
    t.reporter.answer = false;
    EXPECT_FALSE(w.close());
    EXPECT_EQ(t.reporter.questions.size(), 1u);
    EXPECT_TRUE(w.isVisible());
    t.reporter.answer = true;
    EXPECT_TRUE(w.close());
    EXPECT_EQ(t.reporter.questions.size(), 2u);
}
