#include "mix/Panic.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "support/WindowTest.h"

using namespace velmor;
using namespace velmor::test;

// The fade's line: from where the player stands, in hundredths of a decibel, to the volume
// law's silence, in 3 s.
TEST(PanicLevel, FallsInAStraightLineInDecibelsToSilenceIn3s) {
    EXPECT_EQ(PanicLevel(0, 0), 0);
    EXPECT_EQ(PanicLevel(0, 1500), -2250);
    EXPECT_EQ(PanicLevel(-1800, 1500), -3150);
    EXPECT_EQ(PanicLevel(-1800, 3000), -4500);
    EXPECT_EQ(PanicLevel(-1800, 9000), -4500);
    EXPECT_EQ(PanicLevel(-4500, 1500), -4500);
}

namespace {

// Decks 1 and 2 play the first entries of their lists, deck 1 at volume 100 and deck 2 at
// 60; deck 3 has a track open and stands still.
struct PanicTest : WindowTest {
    PanicTest() {
        t.fill(0, {"a.mp3", "b.mp3"});
        t.fill(1, {"c.mp3", "d.mp3"});
        t.fill(2, {"e.mp3"});
        ui.Volumen[1]->setValue(60);
        t.playPause(0);
        t.playPause(1);
        clearPlayerLogs();
    }
    void tick(int n) {
        for (; n > 0; --n)
            w.panic.tick();
        DeliverNotifications();
    }
    FakePlayer& deck1 = t.player(0);
    FakePlayer& deck2 = t.player(1);
};

} // namespace

TEST_F(PanicTest, ThePlayingDecksFadeOutTogetherOver3sAndStopAtTheirCues) {
    w.panic.press();
    EXPECT_TRUE(w.panic.running());
    tick(30);
    EXPECT_EQ(deck1.Volume(), -2250);
    EXPECT_EQ(deck2.Volume(), -3150);
    tick(29);
    EXPECT_EQ(deck1.PlayState(), MediaPlayer::Playing);
    tick(1);
    EXPECT_FALSE(w.panic.running());
    EXPECT_EQ(deck1.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(deck2.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(deck1.CurrentPosition(), 0.0);
    EXPECT_EQ(deck1.Volume(), 0) << "back to its own level, as at any stop";
    EXPECT_EQ(deck2.Volume(), -1800);
    EXPECT_EQ(deck1.FileName(), "/music/a.mp3") << "not moved on";
    EXPECT_EQ(w.decks[0]->trackNumber(), 1);
    EXPECT_FALSE(t.player(2).log.contains("Stop")) << "deck 3 stood still";
}

// Nothing goes on into the next entry while the fade runs; a deck whose track ends in it
// stops there and is left alone by the rest of the fade.
TEST_F(PanicTest, ATrackEndingDuringTheFadeDoesNotMoveItsDeckOn) {
    w.panic.press();
    EXPECT_EQ(deck1.QueuedNext(), "");
    tick(10);
    deck1.endTrack();
    DeliverNotifications();
    EXPECT_EQ(deck1.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(deck1.FileName(), "/music/a.mp3");
    EXPECT_EQ(deck1.Volume(), 0);
    tick(50);
    EXPECT_EQ(deck1.Volume(), 0);
    EXPECT_EQ(deck1.FileName(), "/music/a.mp3");
    EXPECT_EQ(deck1.QueuedNext(), "/music/b.mp3") << "queued again once the panic is over";
}

TEST_F(PanicTest, ASecondPressDuringTheFadeStopsEverythingAtOnce) {
    w.panic.press();
    tick(5);
    w.panic.press();
    DeliverNotifications();
    EXPECT_FALSE(w.panic.running());
    EXPECT_EQ(deck1.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(deck2.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(deck2.FileName(), "/music/c.mp3");
}

// From any control of the window, Shift+Esc; never Esc alone. A fade running on a deck ends
// when the panic takes the deck over.
TEST_F(PanicTest, ShiftEscStartsItAndEndsARunningFade) {
    ui.chkInOrOut[1]->click(); // out: the player is left as it plays
    w.fades.cmdFade_Click(1);
    ASSERT_TRUE(ui.FadeTimer[1]->isActive());
    QTest::keyClick(ui.lstPlay[0], Qt::Key_Escape);
    EXPECT_FALSE(w.panic.running());
    QTest::keyClick(ui.txtLength[1], Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(w.panic.running());
    EXPECT_FALSE(ui.FadeTimer[1]->isActive());
    EXPECT_TRUE(ui.cmdFade[1]->isEnabled());
}
