#include "PlaylistFixture.h"

#include "common/Widgets.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>

using namespace velmor;
using namespace velmor::test;

namespace {
struct BrowserTest : PlaylistFixture {
    FakePlayer& player = t.player(0);
    QString music;
    void SetUp() override {
        music = folder("music");
        for (const char* name : {"b.mp3", "a.mp3", "m.wav", "notes.txt"})
            file(QString("music/") + name);
        file("music/list.m3u", "#EXTM3U\r\nx.mp3\r\nSub\\y.mp3\r\n/abs/z.MP3\r\nw.wav\r\n");
        browse(music);
        player.log.clear();
    }
    void rightClickOnFiles() {
        QWidget* viewport = ui.fil->viewport();
        const QPoint at = ui.fil->visualItemRect(ui.fil->item(0)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &event);
        }
    }
};
} // namespace

TEST(Browser, OpensOnTheProcesssCurrentFolder) {
    TestWindow t;
    EXPECT_EQ(t.w().ui.dir->Path(), QDir::toNativeSeparators(QDir::currentPath()));
    EXPECT_EQ(t.w().ui.fil->Path(), t.w().ui.dir->Path());
    EXPECT_EQ(t.w().ui.drv->itemText(0), "/");
}

TEST_F(BrowserTest, ShowsTheMatchingFilesInAnyCaseSortedAndTheSubfolders) {
    for (const char* name : {"D.MP3", "E.M3U", "f.Wav", "g.flac", "h.OGG", "i.opus", "j.aiff",
                             "k.m3u8", "l.wma", "m.mp3.part"})
        file(QString("music/") + name);
    folder("music/Sub");
    browse(music);
    EXPECT_EQ(shownFiles(),
              (QStringList{"a.mp3", "b.mp3", "D.MP3", "E.M3U", "f.Wav", "g.flac", "h.OGG", "i.opus",
                           "j.aiff", "k.m3u8", "list.m3u", "m.wav"}));
    EXPECT_FALSE(ui.dir->findItems("Sub", Qt::MatchEndsWith).isEmpty());
    EXPECT_EQ(ui.fil->Path(), music);
}

TEST_F(BrowserTest, AFolderOrDriveThatCannotBeReadLeavesTheBrowserWhereItWas) {
    w.browser.dir_Choose(tmp.filePath("gone"));
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_TRUE(t.reporter.last().text.endsWith("gone cannot be opened: it does not exist."));
    EXPECT_EQ(t.reporter.last().icon, Icon::Exclamation);
    EXPECT_EQ(ui.dir->Path(), music);
    EXPECT_EQ(ui.fil->count(), 4);

    ui.drv->addItem(tmp.filePath("no medium"));
    ui.drv->setCurrentIndex(ui.drv->count() - 1); // raises drv_Change
    EXPECT_EQ(t.reporter.messages.size(), 2u);
    EXPECT_EQ(ui.drv->Drive(), tmp.filePath("no medium"));
    EXPECT_EQ(ui.dir->Path(), music);
    EXPECT_EQ(ui.fil->Path(), music);

    ui.drv->setCurrentIndex(0);
    EXPECT_EQ(ui.dir->Path(), "/");
    EXPECT_EQ(ui.fil->Path(), "/");
}

TEST_F(BrowserTest, AddingExpandsM3uFilesInPlaceInTheFileListsOrder) {
    add({"m.wav", "list.m3u", "a.mp3"});
    EXPECT_EQ(entries(0), (QStringList{music + "|a.mp3", music + "|x.mp3", music + "/Sub|y.mp3",
                                       "/abs|z.MP3", music + "|w.wav", music + "|m.wav"}));
    // The list's tracks do not exist: they are kept, marked.
    EXPECT_FALSE(w.playlists.list(0).isUnplayable(0));
    EXPECT_EQ(w.playlists.list(0).unplayableReason(2),
              music + "/Sub/y.mp3 cannot be played: it does not exist.");
    add({"a.mp3"});
    add({"a.mp3"});
    EXPECT_EQ(w.playlists.list(0).count(), 8);
    EXPECT_EQ(w.playlists.list(0).fullPath(7), music + "/a.mp3");
}

TEST_F(BrowserTest, AnUpperCaseM3uIsExpandedToo) {
    file("music/TRACK.M3U", "\xEF\xBB\xBF/m/\xC3\xB1u one.mp3\r\n   \r\n\t\r\n  /m/two.mp3");
    browse(music);
    add({"TRACK.M3U"});
    EXPECT_EQ(entries(0), (QStringList{u"/m|ñu one.mp3"_qs, music + "/  /m|two.mp3"}));
}

TEST_F(BrowserTest, ADeckThatNeverHadAFileGetsItsFirstEntryUnstarted) {
    add({"b.mp3", "a.mp3"});
    EXPECT_EQ(player.log, QStringList{"FileName " + music + "/a.mp3"});
    DeliverNotifications();
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(w.decks.TrackNumber[0], 1);
    add({"m.wav"}); // the deck has a file now: it keeps it
    EXPECT_EQ(player.log.size(), 1);
}

TEST_F(BrowserTest, AFirstEntryThatCannotBePlayedGivesTheDeckTheNextOne) {
    player.refused[music + "/a.mp3"] = "the file is empty";
    add({"a.mp3", "b.mp3", "m.wav"});
    DeliverNotifications();
    EXPECT_EQ(player.FileName(), music + "/b.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 2);
    EXPECT_EQ(w.playlists.list(0).loaded(), 1);
    EXPECT_TRUE(w.playlists.list(0).isUnplayable(0));
    EXPECT_TRUE(ui.cmdPlayPause[0]->isEnabled());
    EXPECT_EQ(t.reporter.notices.size(), 1u);
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(BrowserTest, AddingToAPlayingOrPausedDeckLeavesItsPlaybackAlone) {
    t.open(0, "/elsewhere/x.mp3");
    player.log.clear();
    w.transport.cmdPlayPause_Click(0);
    DeliverNotifications();
    add({"a.mp3"});
    w.browser.LoadUnlessPlaying(0, 0); // a playing deck keeps its track
    w.transport.cmdPlayPause_Click(0);
    DeliverNotifications();
    add({"b.mp3"});
    EXPECT_EQ(player.FileName(), "/elsewhere/x.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Paused);
    EXPECT_EQ(player.log, (QStringList{"Play", "Pause"}));
}

TEST_F(BrowserTest, AddingGoesToTheActiveDeckOnly) {
    w.activation.fra_Click(3);
    add({"a.mp3"});
    EXPECT_EQ(entries(3), QStringList{music + "|a.mp3"});
    for (int d = 0; d < 3; ++d)
        EXPECT_EQ(w.playlists.list(d).count(), 0);
    EXPECT_EQ(t.player(3).FileName(), music + "/a.mp3");
}

TEST_F(BrowserTest, NothingAddedMeansNothingLoaded) {
    file("music/empty.m3u", "#EXTM3U\r\nnot a track\r\n");
    browse(music);
    add({});
    add({"empty.m3u"});
    EXPECT_EQ(w.playlists.list(0).count(), 0);
    EXPECT_TRUE(player.log.isEmpty());
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(BrowserTest, AnM3uThatCannotBeReadKeepsWhatCameBeforeAndStopsThere) {
    t.open(2, "/elsewhere/x.mp3");
    t.playPause(2); // a box all the same: the user waits for what adding gives
    file("music/z.m3u");
    browse(music);
    QFile::remove(tmp.filePath("music/list.m3u")); // gone between listing and adding
    add({"a.mp3", "b.mp3", "list.m3u", "m.wav", "z.m3u"});
    EXPECT_EQ(entries(0), (QStringList{music + "|a.mp3", music + "|b.mp3"}));
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_TRUE(t.reporter.last().text.endsWith("list.m3u cannot be read: it does not exist."));
    EXPECT_TRUE(player.log.isEmpty()); // the first-entry load came after the failure
}

TEST_F(BrowserTest, AFolderThatVanishedStillAddsWhatTheListShowed) {
    QDir(music).removeRecursively();
    w.browser.cmdOKCarpeta_Click();
    // The names shown before the playlist file are added; the playlist file cannot be read.
    EXPECT_EQ(entries(0), (QStringList{music + "|a.mp3", music + "|b.mp3"}));
    EXPECT_EQ(t.reporter.messages.size(), 1u);
    w.browser.dir_Change();
    EXPECT_EQ(t.reporter.messages.size(), 2u);
    EXPECT_EQ(ui.fil->count(), 4);
}

TEST_F(BrowserTest, AddFolderAddsEveryShownFileAndLeavesNothingSelected) {
    ui.fil->item(1)->setSelected(true);
    w.browser.cmdOKCarpeta_Click();
    EXPECT_EQ(w.playlists.list(0).count(), 7);
    EXPECT_TRUE(ui.fil->selectedItems().isEmpty());

    browse(folder("empty"));
    w.browser.cmdOKCarpeta_Click();
    EXPECT_EQ(w.playlists.list(0).count(), 7);
    EXPECT_TRUE(ui.fil->selectedItems().isEmpty());
}

TEST_F(BrowserTest, ARightClickOnTheFileListAddsTheSelectionAsItWas) {
    select({"b.mp3"});
    rightClickOnFiles();
    EXPECT_EQ(entries(0), QStringList{music + "|b.mp3"});
    EXPECT_EQ(SelectedRows(ui.fil), QList<int>{1});
    w.browser.fil_MouseUp(Qt::LeftButton);
    EXPECT_EQ(w.playlists.list(0).count(), 1);
}

TEST_F(BrowserTest, NamesWithSpacesLettersAndLeadingBlanksAddAsTheyAre) {
    const QString odd = folder(u"odd ñame"_qs);
    for (const QString& name : {u" lead.mp3"_qs, u"two  spaces.mp3"_qs, u"Ünïcødé.wav"_qs})
        file(u"odd ñame/"_qs + name);
    browse(odd);
    w.browser.cmdOKCarpeta_Click();
    EXPECT_EQ(w.playlists.list(0).fullPath(0), odd + "/ lead.mp3");
    EXPECT_EQ(w.playlists.list(0).name(2), u"Ünïcødé.wav"_qs);
}

TEST_F(BrowserTest, AFolderOfTenThousandFilesAddsInOrder) {
    const QString big = folder("big");
    for (int i = 0; i < 10000; ++i)
        file(QString("big/%1.mp3").arg(i, 5, 10, QChar('0')));
    browse(big);
    ASSERT_EQ(ui.fil->count(), 10000);
    w.browser.cmdOKCarpeta_Click();
    const DeckPlaylist& list = w.playlists.list(0);
    ASSERT_EQ(list.count(), 10000);
    EXPECT_EQ(list.name(0), "00000.mp3");
    EXPECT_EQ(list.fullPath(9999), big + "/09999.mp3");
}

// The pointer passing over a list, no button pressed, as a wheel mouse user does it.
TEST_F(BrowserTest, AutoFocusGivesEachListTheFocusUnderThePointer) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ui.cmdOK->setFocus();
    QTest::mouseMove(ui.fil->viewport(), QPoint(20, 20));
    EXPECT_EQ(QApplication::focusWidget(), ui.cmdOK);

    ui.chkFocus->setChecked(true);
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(ui.fil), static_cast<QAbstractItemView*>(ui.dir),
          static_cast<QAbstractItemView*>(ui.lstPlay[0])}) {
        QTest::mouseMove(list->viewport(), QPoint(30, 30)); // a move to where it was is none
        EXPECT_EQ(QApplication::focusWidget(), list);
    }
}
