#include "PlaylistFixture.h"

#include "common/FileNames.h"
#include "common/Widgets.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QTest>

using namespace velmor;
using namespace velmor::test;

namespace {
const QStringList kFive{"/m0/t.mp3", "/m1/t.mp3", "/m2/c.mp3", "/m3/d.wav", "/m4/e.mp3"};

struct PlaylistsTest : PlaylistFixture {
    FakePlayer& player = t.player(0);
    QListWidget* lst = ui.lstPlay[0];
    void SetUp() override { appendTracks(0, kFive); }
    void choose(int row) {
        lst->setCurrentRow(row);
        w.playlists.lstPlay_DblClick(0);
    }
    void mouse(QEvent::Type type, Qt::MouseButton button, int row) {
        const QPoint at = lst->visualItemRect(lst->item(row)).center();
        QMouseEvent event(type, at, lst->viewport()->mapToGlobal(at), button, button, {});
        QCoreApplication::sendEvent(lst->viewport(), &event);
    }
};
} // namespace

TEST(DeckPlaylist, RemovesRunsOfRowsAndKeepsMarksAndNamesWithTheirEntries) {
    QListWidget view;
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    DeckPlaylist list(&view);
    const QString odd = FileNameFromBytes("caf\xE9.mp3"); // shown otherwise than named
    list.append({{"a", "/0"}, {"b", "/1"}, {odd, "/2"}, {"d", "/3"}, {"e", "/4"}, {"f", "/5"}});
    list.setLoaded(2);
    list.markUnplayable(2, "why");
    list.markUnplayable(5, "gone");
    EXPECT_TRUE(view.item(2)->font().bold() && view.item(2)->font().strikeOut());
    for (int row : {0, 1, 3})
        view.item(row)->setSelected(true);
    list.removeSelected();
    EXPECT_EQ(list.tracks(), (QList<Track>{{odd, "/2"}, {"e", "/4"}, {"f", "/5"}}));
    EXPECT_EQ(view.item(0)->text(), DisplayName(odd));
    EXPECT_EQ(list.loaded(), 0);
    EXPECT_EQ(view.item(2)->toolTip(), "gone");
    EXPECT_FALSE(list.isUnplayable(1));
    list.setLoaded(1);
    EXPECT_FALSE(view.item(0)->font().bold());
    list.clearUnplayable(2);
    EXPECT_FALSE(view.item(2)->font().strikeOut() || list.isUnplayable(2));
    EXPECT_TRUE(view.item(2)->toolTip().isEmpty()); // the list's own tooltip shows again
    list.removeAt(1);
    EXPECT_EQ(list.loaded(), -1);
}

// Delete acts on the active deck's list, which is the one in front.
TEST_F(PlaylistsTest, TheDeleteKeyDeletesTheSelection) {
    lst->item(1)->setSelected(true);
    QTest::keyClick(lst, Qt::Key_Backspace);
    EXPECT_EQ(w.playlists.list(0).count(), 5);
    QTest::keyClick(lst, Qt::Key_Delete);
    EXPECT_EQ(w.playlists.list(0).fullPath(1), "/m2/c.mp3");
}

TEST_F(PlaylistsTest, DoubleClickStopsThenPlaysTheChosenEntryOrTheNextPlayableOne) {
    t.open(0, "/elsewhere/x.mp3");
    t.playPause(0);
    player.log.clear();
    player.refused["/m2/c.mp3"] = "not an audio file";
    choose(2);
    EXPECT_EQ(player.log.first(), "Stop");
    EXPECT_EQ(player.log.mid(player.log.size() - 2), (QStringList{"FileName /m3/d.wav", "Play"}));
    EXPECT_EQ(w.decks.TrackNumber[0], 4);
    EXPECT_EQ(lst->currentRow(), 2);
    EXPECT_TRUE(w.playlists.list(0).isUnplayable(2));
    EXPECT_EQ(t.reporter.notices.size(), 1u);
    // A marked entry chosen again is tried again: its file may be back.
    player.refused.clear();
    choose(2);
    EXPECT_EQ(player.FileName(), "/m2/c.mp3");
    EXPECT_FALSE(w.playlists.list(0).isUnplayable(2));
    // Nothing playable from the chosen entry on: the deck stays stopped on what it had.
    player.refused["/m4/e.mp3"] = "no such file";
    choose(4);
    EXPECT_EQ(player.FileName(), "/m2/c.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(w.decks.TrackNumber[0], 3);
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(PlaylistsTest, RightPressStopsTheDeckAndReleaseCuesTheEntryClickedLast) {
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, 0); // nothing chosen: said in a box
    EXPECT_EQ(t.reporter.messages.size(), 1u);
    lst->setCurrentRow(1);
    t.open(0, "/elsewhere/x.mp3");
    t.playPause(0);
    mouse(QEvent::MouseButtonPress, Qt::RightButton, 4);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.FileName(), "/elsewhere/x.mp3"); // stopped, not moved on
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, 4);
    EXPECT_EQ(player.FileName(), "/m1/t.mp3");
    DeliverNotifications();
    EXPECT_NE(player.PlayState(), MediaPlayer::Playing);
    // The right button moved neither the current entry nor the selection; the left one does.
    EXPECT_EQ(SelectedRows(lst), QList<int>{1});
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, 4);
    EXPECT_EQ(lst->currentRow(), 4);
    EXPECT_EQ(t.reporter.messages.size(), 1u);
}
