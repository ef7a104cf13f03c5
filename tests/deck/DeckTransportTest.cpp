#include "deck/DeckFixture.h"
#include "legacy/Error.h"

#include <QSignalSpy>

using namespace velmor;
using namespace velmor::test;

namespace {
using DeckTransportTest = DeckTest;
} // namespace

TEST_F(DeckTransportTest, TheSignalsFollowWhatThePlayerReports) {
    QSignalSpy opened(&deck, &Deck::opened);
    QSignalSpy playing(&deck, &Deck::playing);
    QSignalSpy paused(&deck, &Deck::paused);
    QSignalSpy closed(&deck, &Deck::closed);
    player.durations["/music/A.mp3"] = 200;
    fill({"A.mp3"});
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(deck.length(), 200);
    act(&Deck::playPause);
    act(&Deck::playPause);
    EXPECT_EQ(playing.count(), 1);
    EXPECT_EQ(paused.count(), 1);
    player.closeFile();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(entries.loaded(), -1);
}

// Mute, pre-listen and a seek go to the player, and the window is told of each.
TEST_F(DeckTransportTest, MutePrelistenAndASeekReachThePlayerAndTellTheWindow) {
    fill({"A.mp3"});
    QSignalSpy muted(&deck, &Deck::mutedChanged);
    QSignalSpy prelistened(&deck, &Deck::prelistenChanged);
    QSignalSpy sought(&deck, &Deck::sought);
    deck.setMuted(true);
    deck.setPrelisten(true);
    deck.seek(90);
    EXPECT_TRUE(player.Mute());
    EXPECT_TRUE(player.Prelisten());
    EXPECT_EQ(player.CurrentPosition(), 90);
    ASSERT_EQ(muted.count(), 1);
    EXPECT_EQ(muted.at(0).at(0).toBool(), true);
    EXPECT_EQ(prelistened.count(), 1);
    EXPECT_TRUE(deck.prelisten()) << "what the player took";
    EXPECT_EQ(sought.count(), 1);
    deck.setMuted(false);
    EXPECT_FALSE(player.Mute());
}

TEST_F(DeckTransportTest, TheSpeedIsShownEvenWhenThePlayerRefusesItsRate) {
    fill({"A.mp3"});
    deck.setSpeed(2);
    EXPECT_EQ(player.Rate(), 1.5);
    player.failures["Rate"] = "Rate not supported";
    QSignalSpy shown(&deck, &Deck::speedChanged);
    EXPECT_THROW(deck.setSpeed(3), Error);
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(player.Rate(), 1.5);
}
