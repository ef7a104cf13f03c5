#include "common/Widgets.h"
#include "playlist/DeckPlaylist.h"
#include "support/WindowTest.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct PlayerEventsTest : WindowTest {

    void endTrack(int d) {
        t.player(d).endTrack();
        DeliverNotifications();
    }
    void expectStoppedDisplay(int d) {
        EXPECT_EQ(ui.cmdPlayPause[d]->text(), ">");
        EXPECT_EQ(ui.cmdStop[d]->text(), "o");
        EXPECT_FALSE(ui.cmdStop[d]->isEnabled());
        EXPECT_EQ(ui.cmdPlayPause[d]->BackColor(), kButtonFace);
        EXPECT_EQ(ui.fra[d]->ForeColor(), kBlack);
        EXPECT_FALSE(ui.timer[d]->isActive());
    }
    void expectPlayingDisplay(int d) {
        EXPECT_EQ(ui.cmdPlayPause[d]->text(), "| |");
        EXPECT_TRUE(ui.cmdStop[d]->isEnabled());
        EXPECT_EQ(ui.fra[d]->ForeColor(), kBlue);
        EXPECT_TRUE(ui.timer[d]->isActive());
    }
};
} // namespace

TEST_F(PlayerEventsTest, AnOpenedFileShowsNumberTitleAndLength) {
    FakePlayer& player = t.player(0);
    player.durations["/music/Song.mp3"] = 185.4;
    t.open(0, "/music/Song.mp3");
    EXPECT_EQ(ui.fra[0]->Caption(), "1. Song 3:5");
    EXPECT_EQ(w.decks.TrackLength[0], 185.4);
    EXPECT_EQ(ui.Tracker[0]->maximum(), 185);
    EXPECT_EQ(ui.Tracker[0]->value(), 0);
    EXPECT_EQ(ui.shpVa[0]->WidthTwips(), 0);
    EXPECT_EQ(ui.shpQueda[0]->WidthTwips(), 1065);
    EXPECT_EQ(ui.lblTracking[0]->text(), "0:0");
    EXPECT_TRUE(ui.cmdPlayPause[0]->isEnabled());

    t.player(2).setFileName("/music/x.mp3");
    t.player(2).closeFile();
    DeliverNotifications();
    EXPECT_EQ(ui.fra[2]->Caption(), "3. ");
    EXPECT_FALSE(ui.cmdPlayPause[2]->isEnabled());

    // A name too short for a title is told, in a notice since the notification is nobody's
    // command; what came before it stays done.
    t.open(1, "/music/a.b");
    EXPECT_EQ(t.reporter.notices.size(), 1u);
    EXPECT_TRUE(t.reporter.empty());
    EXPECT_TRUE(ui.cmdPlayPause[1]->isEnabled());
    EXPECT_EQ(w.decks.TrackLength[1], 185.4);
}

TEST_F(PlayerEventsTest, APlaylistPlaysThroughByItselfAndStopsOnItsLastEntry) {
    FakePlayer& player = t.player(0);
    t.fill(0, {"A.mp3", "B.mp3", "C.mp3"});
    t.playPause(0);
    expectPlayingDisplay(0);

    endTrack(0);
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 2);
    EXPECT_EQ(ui.fra[0]->Caption(), "1. B 3:5");
    expectPlayingDisplay(0);

    endTrack(0);
    EXPECT_EQ(player.FileName(), "/music/C.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 3);
    expectPlayingDisplay(0);

    ui.txtSet[0]->setText("2"); // the cue point, read as seconds
    player.log.clear();
    endTrack(0);
    EXPECT_EQ(player.FileName(), "/music/C.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(w.decks.TrackNumber[0], 3);
    EXPECT_EQ(player.CurrentPosition(), 2.0);
    EXPECT_EQ(ui.Tracker[0]->value(), 2);
    EXPECT_EQ(ui.lblTracking[0]->text(), "0:2");
    EXPECT_FALSE(player.log.contains("Play"));
    expectStoppedDisplay(0);
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(PlayerEventsTest, StopRewindsWithoutMovingOnAndPlayThenRepeatsTheTrack) {
    FakePlayer& player = t.player(0);
    t.fill(0, {"A.mp3", "B.mp3"});
    t.playPause(0);
    player.setPosition(60);
    w.transport.cmdStop_Click(0);
    DeliverNotifications();
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(player.CurrentPosition(), 0);
    EXPECT_EQ(w.decks.TrackNumber[0], 1);
    expectStoppedDisplay(0);
    t.playPause(0);
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    expectPlayingDisplay(0);
}

TEST_F(PlayerEventsTest, APausedDeckShowsLightBlueAndRedAndKeepsItsTimer) {
    t.fill(3, {"A.mp3"});
    t.playPause(3);
    t.playPause(3);
    EXPECT_EQ(t.player(3).PlayState(), MediaPlayer::Paused);
    EXPECT_EQ(ui.fra[3]->ForeColor(), kLightBlue);
    EXPECT_EQ(ui.cmdPlayPause[3]->text(), ">");
    EXPECT_EQ(ui.cmdPlayPause[3]->BackColor(), kRed);
    EXPECT_TRUE(ui.cmdStop[3]->isEnabled());
    EXPECT_TRUE(ui.timer[3]->isActive());
    t.playPause(3);
    EXPECT_EQ(ui.cmdPlayPause[3]->BackColor(), kButtonFace);
    expectPlayingDisplay(3);
}

TEST_F(PlayerEventsTest, DecksEndingTogetherEachMoveOnInTheirOwnList) {
    t.fill(0, {"A.mp3", "B.mp3"});
    t.fill(1, {"X.mp3", "Y.mp3"});
    t.playPause(0);
    t.playPause(1);
    w.decks.StoppedByUser[1] = true; // deck 2's flag must not hold deck 1 back
    t.player(0).endTrack();
    w.decks.StoppedByUser[1] = false;
    t.player(1).endTrack();
    DeliverNotifications();
    EXPECT_EQ(t.player(0).FileName(), "/music/B.mp3");
    EXPECT_EQ(t.player(1).FileName(), "/music/Y.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 2);
    EXPECT_EQ(w.decks.TrackNumber[1], 2);
    expectPlayingDisplay(0);
    expectPlayingDisplay(1);
}

TEST_F(PlayerEventsTest, EveryStopPutsTheSlidersLevelBack) {
    FakePlayer& player = t.player(0);
    t.fill(0, {"A.mp3", "B.mp3"});
    ui.Volumen[0]->setValue(80);
    t.playPause(0);
    player.setVolume(-4000); // as a fade or the crossfader leaves it
    endTrack(0);
    EXPECT_EQ(player.Volume(), -900);
    player.setVolume(-2000);
    w.transport.cmdStop_Click(0);
    EXPECT_EQ(player.Volume(), -900);
    EXPECT_EQ(ui.Volumen[0]->value(), 80);
    EXPECT_EQ(ui.lblVolumen[0]->text(), "80");
}

TEST_F(PlayerEventsTest, NoEntryToMoveToLeavesTheDeckStoppedWithoutAMessage) {
    FakePlayer& player = t.player(0);
    t.fill(0, {"A.mp3", "B.mp3", "C.mp3"});
    t.playPause(0);
    endTrack(0); // on B, TrackNumber 2
    w.playlists.list(0).removeAt(2);
    w.playlists.list(0).removeAt(0); // only B is left: nothing at index 2
    endTrack(0);
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(w.decks.TrackNumber[0], 2);
    expectStoppedDisplay(0);
    EXPECT_TRUE(t.reporter.empty());

    // A previous-track request with nothing before the loaded entry.
    w.decks.TrackNumber[0] = 1;
    t.playPause(0);
    w.decks.PreviousRequested[0] = true;
    endTrack(0);
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 1);
    EXPECT_FALSE(w.decks.PreviousRequested[0]);
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(PlayerEventsTest, AFailingStepAtATracksEndIsToldWithoutABoxAndTheStepsBeforeItStayDone) {
    t.fill(0, {"A.mp3", "B.mp3"});
    t.playPause(0);
    ui.txtSet[0]->setText("soon");
    w.decks.PreviousRequested[0] = true;
    endTrack(0);
    ASSERT_EQ(t.reporter.notices, std::vector<QString>{"Type mismatch"});
    EXPECT_TRUE(t.reporter.empty());
    EXPECT_FALSE(ui.timer[0]->isActive());
    EXPECT_EQ(ui.fra[0]->ForeColor(), kBlack);
    EXPECT_TRUE(ui.cmdStop[0]->isEnabled()); // the steps after the cue were not reached
    EXPECT_TRUE(w.decks.PreviousRequested[0]);
}

TEST_F(PlayerEventsTest, AtATracksEndEntriesThatCannotBePlayedAreSteppedOver) {
    // a, a text file named .mp3, a file gone missing, c: a then c, nothing in a box.
    FakePlayer& player = t.player(0);
    DeckPlaylist& list = w.playlists.list(0);
    player.refused["/music/broken.mp3"] = "not an audio file";
    player.refused["/music/missing.mp3"] = "no such file";
    t.fill(0, {"a.mp3", "broken.mp3", "missing.mp3", "c.mp3"});
    w.loader.LoadPlayableEntry(0, 0, +1);
    t.playPause(0);
    endTrack(0);
    EXPECT_EQ(player.FileName(), "/music/c.mp3");
    expectPlayingDisplay(0);
    EXPECT_EQ(w.decks.TrackNumber[0], 4);
    EXPECT_EQ(list.loaded(), 3);
    EXPECT_TRUE(list.isUnplayable(1) && list.isUnplayable(2));
    EXPECT_TRUE(list.unplayableReason(2).contains("no such file"));
    EXPECT_TRUE(t.reporter.empty());
    ASSERT_EQ(t.reporter.notices.size(), 1u); // one notice for the two
    EXPECT_TRUE(t.reporter.notices[0].contains("broken.mp3"));

    // c ends: the last entry, the deck stops there.
    endTrack(0);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(w.decks.TrackNumber[0], 4);
    EXPECT_EQ(list.loaded(), 3);
}

TEST_F(PlayerEventsTest, NothingButBadEntriesAfterATrackEndsItOnceAndQuietly) {
    FakePlayer& player = t.player(1);
    for (const char* name : {"x.mp3", "y.mp3", "z.mp3"})
        player.refused[QString("/music/") + name] = "empty file";
    t.fill(1, {"a.mp3", "x.mp3", "y.mp3", "z.mp3"});
    t.playPause(1);
    endTrack(1);
    EXPECT_EQ(player.FileName(), "/music/a.mp3");
    expectStoppedDisplay(1);
    EXPECT_EQ(w.decks.TrackNumber[1], 1);
    EXPECT_EQ(t.reporter.notices.size(), 1u);
    EXPECT_TRUE(t.reporter.notices[0].contains("3 entries"));
    // Played again to its end, the deck passes the marked entries without trying them.
    t.playPause(1);
    player.log.clear();
    endTrack(1);
    EXPECT_FALSE(player.log.join(' ').contains("FileName"));
    EXPECT_EQ(t.reporter.notices.size(), 1u);
    EXPECT_TRUE(t.reporter.empty());
}
