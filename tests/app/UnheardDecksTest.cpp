// A deck that plays while nothing is heard is told of, and moves on where the set-up says.

#include "support/TestWindow.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

const QString kUnheard = "Deck 1 plays but nothing is heard: the track may be silent here, or "
                         "its file damaged.";

// The window with a silent master by a clock moved by hand; Deck 1 plays a.mp3, b.mp3 next.
struct UnheardDecksTest : ::testing::Test {
    UnheardDecksTest() {
        t.fill(0, {"a.mp3", "b.mp3"});
        t.playPause(0);
    }
    // The meters look at the master every tenth of a second for `seconds`.
    void lookFor(double seconds) {
        for (int tenth = 0; tenth < int(seconds * 10); ++tenth) {
            now = now.addMSecs(100);
            w.meters.tmrDisplay_Timer();
        }
    }

    QDateTime now{QDate(2026, 12, 8), QTime(21, 0, 0)};
    TestWindow t{11520, true, [this](MainOptions& options) {
                     options.clock = [this] { return now; };
                     options.masterLevels = [] { return MasterLevels{}; };
                 }};
    Main& w = t.w();
};

} // namespace

TEST_F(UnheardDecksTest, FiveSilentSecondsAreToldAndFourAreNot) {
    w.meters.tmrDisplay_Timer();
    lookFor(4);
    EXPECT_TRUE(t.reporter.notices.empty());
    lookFor(1);
    EXPECT_EQ(t.reporter.notices, std::vector<QString>{kUnheard});
}

TEST_F(UnheardDecksTest, AMutedOrFadingDeckIsNotExpectedToBeHeard) {
    w.panels[0]->cmdMute_Click();
    lookFor(10);
    w.panels[0]->cmdMute_Click();
    w.fades.cmdFade_Click(0);
    ASSERT_TRUE(w.ui.FadeTimer[0]->isActive());
    lookFor(10);
    EXPECT_TRUE(t.reporter.notices.empty());
}

// Off by default; on, the deck goes on to its next entry.
TEST_F(UnheardDecksTest, WhereTheSetUpSaysTheDeckMovesOn) {
    EXPECT_FALSE(w.unheard.movesOn());
    w.unheard.setMovesOn(true);
    lookFor(5.1);
    DeliverNotifications();
    EXPECT_EQ(t.reporter.notices,
              std::vector<QString>{kUnheard + " It moves on to its next entry."});
    EXPECT_EQ(t.player(0).FileName(), "/music/b.mp3");
}
