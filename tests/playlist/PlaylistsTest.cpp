#include "PlaylistFixture.h"

#include "common/Widgets.h"

#include <QMouseEvent>
#include <QTest>

using namespace velmor;
using namespace velmor::test;

namespace {
struct PlaylistsTest : PlaylistFixture {
    FakePlayer& player = t.player(0);
    QListWidget* lst = ui.lstPlay[0];

    void fiveTracks(int d = 0) {
        appendTracks(d, {"/m0/t.mp3", "/m1/t.mp3", "/m2/c.mp3", "/m3/d.wav", "/m4/e.mp3"});
    }
    void click(int d, int row) { ui.lstPlay[d]->setCurrentRow(row); }
    void mouse(QEvent::Type type, Qt::MouseButton button, int row) {
        QWidget* viewport = lst->viewport();
        const QPoint at = lst->visualItemRect(lst->item(row)).center();
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    }
};
} // namespace

TEST_F(PlaylistsTest, ScatteredDeletesKeepEveryNameWithItsOwnFolder) {
    fiveTracks();
    lst->item(1)->setSelected(true);
    lst->item(3)->setSelected(true);
    w.playlists.cmdBorrar_Click();
    EXPECT_EQ(entries(0), (QStringList{"/m0|t.mp3", "/m2|c.mp3", "/m4|e.mp3"}));

    // Two entries with the same name play their own files.
    click(0, 0);
    w.playlists.lstPlay_DblClick(0);
    EXPECT_EQ(player.FileName(), "/m0/t.mp3");
    click(0, 2);
    w.playlists.lstPlay_DblClick(0);
    EXPECT_EQ(player.FileName(), "/m4/e.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 3);
}

TEST_F(PlaylistsTest, DeletingNothingOrFromAnEmptyListChangesNothing) {
    w.playlists.cmdBorrar_Click();
    w.playlists.cmdBorrarTodo_Click();
    fiveTracks();
    w.playlists.cmdBorrar_Click();
    EXPECT_EQ(w.playlists.list(0).count(), 5);
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(PlaylistsTest, DeleteAllEmptiesOnlyTheActiveDeck) {
    fiveTracks(0);
    fiveTracks(2);
    w.activation.fra_Click(2);
    w.playlists.cmdBorrarTodo_Click();
    EXPECT_EQ(w.playlists.list(2).count(), 0);
    EXPECT_EQ(w.playlists.list(0).count(), 5);
    EXPECT_EQ(w.playlists.list(0).fullPath(4), "/m4/e.mp3");
}

TEST_F(PlaylistsTest, TheDeleteKeyDeletesTheSelectionOfTheListInFront) {
    fiveTracks(1);
    w.activation.optPla_Click(1);
    ui.lstPlay[1]->item(0)->setSelected(true);
    QTest::keyClick(ui.lstPlay[1], Qt::Key_Delete);
    EXPECT_EQ(entries(1).first(), "/m1|t.mp3");
    EXPECT_EQ(w.playlists.list(1).count(), 4);
    QTest::keyClick(ui.lstPlay[1], Qt::Key_Backspace);
    EXPECT_EQ(w.playlists.list(1).count(), 4);
}

TEST_F(PlaylistsTest, DoubleClickStopsThePlayerOnlyThenOpensAndPlaysTheEntry) {
    fiveTracks();
    t.open(0, "/elsewhere/x.mp3");
    w.transport.cmdPlayPause_Click(0);
    DeliverNotifications();
    click(0, 4);
    player.log.clear();
    w.playlists.lstPlay_DblClick(0);
    EXPECT_EQ(player.log.first(), "Stop");
    EXPECT_EQ(player.log.mid(player.log.size() - 2), (QStringList{"FileName /m4/e.mp3", "Play"}));
    EXPECT_EQ(w.decks.TrackNumber[0], 5);
    EXPECT_FALSE(w.decks.StoppedByUser[0]);
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(PlaylistsTest, DoubleClickOnAnEntryThatCannotBePlayedPlaysTheNextPlayableOne) {
    fiveTracks();
    DeckPlaylist& list = w.playlists.list(0);
    w.playlists.lstPlay_DblClick(0); // nothing clicked yet
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(t.reporter.last().icon, Icon::Exclamation);
    EXPECT_EQ(t.reporter.last().title, "Velmor");

    player.refused["/m2/c.mp3"] = "not an audio file";
    click(0, 2);
    w.playlists.lstPlay_DblClick(0);
    EXPECT_EQ(player.FileName(), "/m3/d.wav");
    EXPECT_TRUE(player.log.endsWith("Play"));
    EXPECT_EQ(w.decks.TrackNumber[0], 4);
    EXPECT_EQ(list.loaded(), 3);
    EXPECT_EQ(lst->currentRow(), 2); // the list's current entry stays where it was clicked
    EXPECT_TRUE(list.isUnplayable(2));
    EXPECT_EQ(t.reporter.notices.size(), 1u);

    // A marked entry chosen again is tried again: its file may be back.
    player.refused.clear();
    w.playlists.lstPlay_DblClick(0);
    EXPECT_EQ(player.FileName(), "/m2/c.mp3");
    EXPECT_FALSE(list.isUnplayable(2));
    EXPECT_EQ(list.loaded(), 2);

    // Nothing playable from the chosen entry on: the deck stays stopped on what it had.
    player.refused["/m4/e.mp3"] = "no such file";
    click(0, 4);
    w.playlists.lstPlay_DblClick(0);
    EXPECT_EQ(player.FileName(), "/m2/c.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(w.decks.TrackNumber[0], 3);
    EXPECT_EQ(t.reporter.messages.size(), 1u);
}

TEST_F(PlaylistsTest, RightPressStopsTheDeckAndReleaseCuesTheEntryClickedLast) {
    fiveTracks();
    click(0, 1);
    lst->item(1)->setSelected(true);
    t.open(0, "/elsewhere/x.mp3");
    w.transport.cmdPlayPause_Click(0);
    DeliverNotifications();

    mouse(QEvent::MouseButtonPress, Qt::RightButton, 4);
    // Stopped as the Stop button does: the deck stays on its track instead of moving on.
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.FileName(), "/elsewhere/x.mp3");
    EXPECT_FALSE(w.decks.StoppedByUser[0]);
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, 4);
    EXPECT_EQ(player.FileName(), "/m1/t.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 2);
    DeliverNotifications();
    EXPECT_NE(player.PlayState(), MediaPlayer::Playing);
    // The right button moved neither the current entry nor the selection.
    EXPECT_EQ(lst->currentRow(), 1);
    EXPECT_EQ(SelectedRows(lst), QList<int>{1});
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(PlaylistsTest, RightReleaseWithoutAnEntrySaysSoLikeADoubleClickAndStepsOverABadOne) {
    fiveTracks();
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, 0);
    w.playlists.lstPlay_DblClick(0);
    ASSERT_EQ(t.reporter.messages.size(), 2u);
    EXPECT_EQ(t.reporter.messages[0].text, t.reporter.messages[1].text);
    EXPECT_EQ(t.reporter.messages[0].icon, Icon::Exclamation);

    click(0, 0);
    player.refused["/m0/t.mp3"] = "unsupported format";
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, 0);
    EXPECT_EQ(player.FileName(), "/m1/t.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 2);
    EXPECT_EQ(t.reporter.notices.size(), 1u);
}

TEST_F(PlaylistsTest, AutoFocusFollowsTheMouseOnlyWhenTicked) {
    fiveTracks();
    ui.cmdOK->setFocus();
    mouse(QEvent::MouseMove, Qt::NoButton, 0);
    EXPECT_EQ(w.focusWidget(), ui.cmdOK);
    ui.chkFocus->setChecked(true);
    mouse(QEvent::MouseMove, Qt::NoButton, 0);
    EXPECT_EQ(w.focusWidget(), lst);
}

TEST_F(PlaylistsTest, AnEntryBeyondTheTrackCounterIsReportedNotWrappedRound) {
    QList<Track> many(40000, Track{"a.mp3", "/m"});
    w.playlists.list(0).append(many);
    click(0, 39999);
    w.playlists.lstPlay_DblClick(0);
    EXPECT_EQ(t.reporter.last().text, "Overflow");
    EXPECT_EQ(w.decks.TrackNumber[0], 1);
}

TEST_F(PlaylistsTest, AnUnplayableMarkTravelsWithItsEntryAndCanBeCleared) {
    fiveTracks();
    DeckPlaylist& list = w.playlists.list(0);
    list.markUnplayable(2, "c.mp3 cannot be played: the file is empty.");
    lst->item(0)->setSelected(true);
    w.playlists.cmdBorrar_Click();
    EXPECT_FALSE(list.isUnplayable(0));
    ASSERT_TRUE(list.isUnplayable(1));
    EXPECT_EQ(list.unplayableReason(1), "c.mp3 cannot be played: the file is empty.");
    EXPECT_EQ(lst->item(1)->toolTip(), list.unplayableReason(1));
    EXPECT_TRUE(lst->item(1)->font().strikeOut());

    list.clearUnplayable(1);
    EXPECT_FALSE(list.isUnplayable(1));
    EXPECT_FALSE(lst->item(1)->font().strikeOut());
    EXPECT_TRUE(lst->item(1)->toolTip().isEmpty()); // the list's own tooltip shows again
}

TEST_F(PlaylistsTest, TheLoadedEntryIsShownApartWithoutMovingCurrentOrSelection) {
    fiveTracks();
    DeckPlaylist& list = w.playlists.list(0);
    click(0, 1);
    lst->item(1)->setSelected(true);
    list.setLoaded(3);
    EXPECT_NE(lst->item(3)->font(), lst->item(2)->font());
    EXPECT_NE(lst->item(3)->background(), lst->item(2)->background());
    EXPECT_EQ(lst->currentRow(), 1);
    EXPECT_EQ(SelectedRows(lst), QList<int>{1});

    lst->item(0)->setSelected(true);
    w.playlists.cmdBorrar_Click(); // entries 0 and 1 go; the loaded one is now entry 1
    EXPECT_EQ(list.loaded(), 1);
    list.setLoaded(2);
    EXPECT_EQ(lst->item(1)->font(), lst->item(0)->font()); // the old mark is gone
    list.removeAt(2);
    EXPECT_EQ(list.loaded(), -1);
}
