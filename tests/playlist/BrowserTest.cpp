#include "PlaylistFixture.h"

#include "common/Widgets.h"

#include <QCoreApplication>
#include <QMouseEvent>

using namespace velmor;
using namespace velmor::test;

namespace {
struct BrowserTest : PlaylistFixture {
    QString music = folder("music");
    void SetUp() override {
        for (const char* name :
             {"b.mp3", "a.mp3", "C.MP3", "m.wav", "notes.txt", "l.wma", "x.mp3.part"})
            file(QString("music/") + name);
        file("music/list.M3U", "#EXTM3U\r\nx.mp3\r\nSub\\y.mp3\r\n/abs/z.MP3\r\n");
        browse(music);
    }
};
} // namespace

TEST_F(BrowserTest, AFolderOrDriveThatCannotBeReadLeavesTheBrowserWhereItWas) {
    EXPECT_EQ(shownFiles(), (QStringList{"a.mp3", "b.mp3", "C.MP3", "list.M3U", "m.wav"}));
    w.browser.dir_Choose(tmp.filePath("gone"));
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_TRUE(t.reporter.last().text.endsWith("gone cannot be opened: it does not exist."));
    EXPECT_EQ(ui.dir->Path(), music);
    EXPECT_EQ(ui.fil->count(), 5);
    ui.drv->addItem(tmp.filePath("no medium"));
    ui.drv->setCurrentIndex(ui.drv->count() - 1); // raises drv_Change
    EXPECT_EQ(t.reporter.messages.size(), 2u);
    EXPECT_EQ(ui.fil->Path(), music);
    ui.drv->setCurrentIndex(0);
    EXPECT_EQ(ui.fil->Path(), "/");
}

TEST_F(BrowserTest, AddingExpandsListsInPlaceOnTheActiveDeckAndLoadsItsFirstEntryUnstarted) {
    FakePlayer& fourth = t.player(3);
    w.activation.fra_Click(3);
    fourth.log.clear();
    add({}); // nothing added, nothing loaded
    add({"m.wav", "list.M3U", "a.mp3"});
    EXPECT_EQ(entries(3), (QStringList{music + "|a.mp3", music + "|x.mp3", music + "/Sub|y.mp3",
                                       "/abs|z.MP3", music + "|m.wav"}));
    EXPECT_EQ(w.playlists.list(3).unplayableReason(2),
              music + "/Sub/y.mp3 cannot be played: it does not exist.");
    EXPECT_EQ(fourth.log, QStringList{"FileName " + music + "/a.mp3"});
    DeliverNotifications();
    EXPECT_EQ(fourth.PlayState(), MediaPlayer::Stopped);
    add({"b.mp3"}); // the deck has a file now: it keeps it
    EXPECT_EQ(fourth.log.size(), 1);
    EXPECT_EQ(w.playlists.list(3).count() + w.playlists.list(0).count(), 6);
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(BrowserTest, AListThatCannotBeReadKeepsWhatCameBeforeAndStopsThere) {
    t.open(2, "/elsewhere/x.mp3");
    t.playPause(2); // a box all the same: the user waits for what adding gives
    QFile::remove(tmp.filePath("music/list.M3U")); // gone between listing and adding
    t.player(0).log.clear();
    add({"a.mp3", "b.mp3", "list.M3U", "m.wav"});
    EXPECT_EQ(entries(0), (QStringList{music + "|a.mp3", music + "|b.mp3"}));
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_TRUE(t.reporter.last().text.endsWith("list.M3U cannot be read: it does not exist."));
    EXPECT_TRUE(t.player(0).log.isEmpty()); // the first-entry load came after the failure
}

TEST_F(BrowserTest, ARightClickAddsTheSelectionAsItWasAndAddFolderAddsAllShown) {
    select({"b.mp3"});
    const QPoint at = ui.fil->visualItemRect(ui.fil->item(0)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, ui.fil->viewport()->mapToGlobal(at), Qt::RightButton,
                          Qt::RightButton, {});
        QCoreApplication::sendEvent(ui.fil->viewport(), &event);
    }
    EXPECT_EQ(entries(0), QStringList{music + "|b.mp3"});
    EXPECT_EQ(SelectedRows(ui.fil), QList<int>{1});
    w.browser.fil_MouseUp(Qt::LeftButton);
    w.browser.cmdOKCarpeta_Click();
    EXPECT_EQ(w.playlists.list(0).count(), 8);
    EXPECT_TRUE(ui.fil->selectedItems().isEmpty());
}
