// The decks' list boxes: a double click plays, the right button cues, Delete and Delete All.

#include "playlist/MusicFolderTest.h"

using namespace velmor;
using namespace velmor::test;

namespace {
// Deck 1 holds t.mp3 (in /m0 and /m1), c.mp3, d.wav and e.mp3, and plays another file.
struct PlaylistsTest : MusicFolderTest {
    void SetUp() override {
        MusicFolderTest::SetUp();
        list0.append({{"t.mp3", "/m0"},
                      {"t.mp3", "/m1"},
                      {"c.mp3", "/m2"},
                      {"d.wav", "/m3"},
                      {"e.mp3", "/m4"}});
        t.open(0, "/elsewhere/x.mp3");
        t.playPause(0);
        player.log.clear();
    }
    void key(int k) { QTest::keyClick(lst, Qt::Key(k)); }
};
} // namespace

// The first entry is as much a choice as any other; one marked unplayable is tried again and
// loses its mark.
TEST_F(PlaylistsTest, ADoubleClickStopsTheDeckAndPlaysTheChosenEntry) {
    list0.markUnplayable(0, "not an audio file");
    choose(0);
    w.playlists.lstPlay_DblClick(0);
    EXPECT_EQ(player.log,
              (QStringList{"Stop", "Position 0", "Volume 0", "FileName /m0/t.mp3", "Play"}));
    EXPECT_EQ(list0.loaded(), 0);
    EXPECT_FALSE(list0.isUnplayable(0));
}

TEST_F(PlaylistsTest, ARealDoubleClickPlaysTheEntryUnderTheMouse) {
    mouse(lst, QEvent::MouseButtonPress, Qt::LeftButton, 4);
    mouse(lst, QEvent::MouseButtonRelease, Qt::LeftButton, 4);
    mouse(lst, QEvent::MouseButtonDblClick, Qt::LeftButton, 4);
    EXPECT_EQ(player.log.last(2), (QStringList{"FileName /m4/e.mp3", "Play"}));
}

// The right button's press stops the deck and its release cues the entry clicked last; it
// moves neither the current entry nor the selection.
TEST_F(PlaylistsTest, TheRightButtonCuesTheEntryClickedLast) {
    choose(2);
    mouse(lst, QEvent::MouseButtonPress, Qt::RightButton, 4);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    mouse(lst, QEvent::MouseButtonRelease, Qt::RightButton, 4);
    EXPECT_EQ(player.FileName(), "/m2/c.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(lst->currentIndex().row(), 2);
    EXPECT_EQ(SelectedRows(lst), QList<int>{2});
}

// While a deck plays, a failure is told without a box.
TEST_F(PlaylistsTest, TheRightButtonWithNothingChosenSaysSo) {
    w.playlists.list(1).append("o.mp3", "/o");
    mouse(ui.lstPlay[1], QEvent::MouseButtonRelease, Qt::RightButton, 0);
    ASSERT_EQ(t.reporter.notices.size(), size_t(1));
    EXPECT_EQ(t.reporter.notices[0], "No entry of the playlist is chosen");
}

TEST_F(PlaylistsTest, DeleteDeletesTheSelectionOfTheActiveDecksList) {
    lst->selectionModel()->select(list0.index(1), QItemSelectionModel::Select);
    lst->selectionModel()->select(list0.index(3), QItemSelectionModel::Select);
    key(Qt::Key_Backspace); // deletes nothing
    EXPECT_EQ(list0.count(), 5);
    key(Qt::Key_Delete);
    EXPECT_EQ(list0.tracks(), (QList<Track>{{"t.mp3", "/m0"}, {"c.mp3", "/m2"}, {"e.mp3", "/m4"}}));
}

TEST_F(PlaylistsTest, DeleteActsOnTheActiveDeckNotTheListTyped) {
    w.playlists.list(1).append("o.mp3", "/other");
    w.activation.fra_Click(1);
    ui.lstPlay[1]->selectAll();
    lst->selectAll();
    key(Qt::Key_Delete);
    EXPECT_EQ(list0.count(), 5);
    EXPECT_EQ(w.playlists.list(1).count(), 0);
}

// The loaded mark goes with its entry: DeckPlaylistTest states it of the list itself.
TEST_F(PlaylistsTest, DeleteAllEmptiesTheActiveDecksList) {
    choose(1);
    w.playlists.cmdBorrarTodo_Click();
    EXPECT_EQ(list0.count(), 0);
    EXPECT_EQ(lst->currentIndex().row(), -1);
}
