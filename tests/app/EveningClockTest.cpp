// The window shows the time of day, and when each playing deck's track and list end.

#include "common/Widgets.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

// The window at 21:00:00 by a clock moved by hand; Deck 1 holds a.mp3 (185.4 s) and b.mp3,
// 200 s long by its headers.
struct EveningClockTest : ::testing::Test {
    EveningClockTest() {
        t.fill(0, {"a.mp3", "b.mp3"});
        w.knownTracks.learnLength("/music/b.mp3", 200);
    }
    QString note() const { return w.ui.fra[0]->Note(); }

    QDateTime now{QDate(2026, 12, 8), QTime(21, 0, 0)};
    TestWindow t{11520, true,
                 [this](MainOptions& options) { options.clock = [this] { return now; }; }};
    Main& w = t.w();
};

} // namespace

TEST_F(EveningClockTest, TheClockShowsTheTimeOfDayEachSecond) {
    w.eveningClock.tmrClock_Timer();
    EXPECT_EQ(w.ui.lblClock->text(), "21:00:00");
    now = now.addSecs(1);
    w.eveningClock.tmrClock_Timer();
    EXPECT_EQ(w.ui.lblClock->text(), "21:00:01");
}

// 185.4 s of a.mp3 then 200 s of b.mp3 from 21:00:00. At 150 % the track's 185.4 s take
// 123.6 s, the list's 385.4 s 256.9 s; a seek to 150 s leaves 23.6 s and 156.9 s. Each shows
// at once.
TEST_F(EveningClockTest, APlayingDeckShowsWhenItsTrackAndListEndAfterEverySpeedOrSeek) {
    EXPECT_EQ(note(), "");
    t.playPause(0);
    EXPECT_EQ(note(), "ends 21:03 \u00b7 list 21:06");
    w.panels[0]->ApplySpeed(2);
    EXPECT_EQ(note(), "ends 21:02 \u00b7 list 21:04");
    w.decks[0]->seek(150);
    EXPECT_EQ(note(), "ends 21:00 \u00b7 list 21:02");
}

// A paused deck counts down nothing; the last entry ends with the list.
TEST_F(EveningClockTest, APausedDeckShowsNoEndAndTheLastEntryNoList) {
    t.playPause(0);
    t.playPause(0);
    EXPECT_EQ(note(), "");
    w.panels[0]->cmdAvanceTema_Click(); // b.mp3 plays
    DeliverNotifications();
    w.eveningClock.tmrClock_Timer();
    EXPECT_EQ(note(), "ends 21:03");
}

// A track whose length is not known yet makes the list's end the earliest it can be.
TEST_F(EveningClockTest, AnEntryOfUnknownLengthShowsTheListsEarliestEnd) {
    t.playPause(0);
    w.playlists.list(0).append("c.mp3", "/music");
    w.eveningClock.tmrClock_Timer();
    EXPECT_EQ(note(), "ends 21:03 \u00b7 list \u226521:06");
}
