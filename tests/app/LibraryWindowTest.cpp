// The library window in the real window: opened by its key, searched as you type, and its
// tracks added to the active deck by Enter (at the end) and Shift+Enter (played next).

#include "app/LibraryWindow.h"
#include "history/HistoryStore.h"
#include "library/LibraryModel.h"
#include "library/MusicFolders.h"
#include "support/AudioFixtures.h"
#include "support/TaggedFiles.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

using namespace velmor;
using namespace velmor::test;

namespace {

// A music folder of three tagged tracks, the library made of it, and Deck 1 loaded with
// "/music/a.mp3" of a list of two.
struct LibraryWindowTest : WindowTest {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(music);
        track("beat it.wav", "Michael Jackson", "Beat It");
        track("halo.wav", "Beyoncé", "Halo");
        track("good times.wav", "Chic", "Good Times");
        ASSERT_TRUE(WriteMusicFolders(dir.path() + "/library.conf", {music}, nullptr));
        w.library.start(dir.path() + "/library.sqlite", dir.path() + "/library.conf");
        w.library.waitForScan();
        w.playlists.list(0).append({{"a.mp3", "/music"}, {"b.mp3", "/music"}});
        w.decks[0]->load(0);
        DeliverNotifications();
    }
    void track(const QString& name, const std::string& artist, const std::string& title) {
        const std::string path = (music + "/" + name).toStdString();
        WriteWav(path, Stereo(Tone(440, 0.2, 44100)), 44100, 2);
        ASSERT_TRUE(WriteTags(path, {{"ARTIST", artist}, {"TITLE", title}}));
    }
    LibraryWindow& open() {
        activate();
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : &w, 'l');
        LibraryWindow* window = w.library.window();
        EXPECT_NE(window, nullptr);
        QCoreApplication::processEvents();
        return *window;
    }
    int selected(LibraryWindow& window) const {
        const QModelIndexList rows = window.results->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() : -1;
    }
    QStringList deck1() const {
        QStringList names;
        const DeckPlaylist& list = w.playlists.list(0);
        for (int i = 0; i < list.count(); ++i)
            names << list.name(i);
        return names;
    }

    QTemporaryDir dir;
    const QString music = dir.path() + "/music";
};

} // namespace

// Its parts have names a screen reader finds.
TEST_F(LibraryWindowTest, ItsKeyOpensItWithTheSearchBoxFocusedAndItsPartsNamed) {
    LibraryWindow& window = open();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Library");
    EXPECT_TRUE(window.search->hasFocus());
    EXPECT_EQ(window.search->accessibleName(), "Search the library");
    EXPECT_EQ(window.results->accessibleName(), "Search results");
    EXPECT_EQ(window.scan->accessibleName(), "Library scan");
}

TEST_F(LibraryWindowTest, LettersTypedIntoTheSearchNeverReachTheDeckKeys) {
    LibraryWindow& window = open();
    t.player(0).log.clear();
    QTest::keyClicks(window.search, "wq");
    DeliverNotifications();
    EXPECT_EQ(window.search->text(), "wq");
    EXPECT_EQ(t.player(0).log, QStringList{});
}

TEST_F(LibraryWindowTest, TheArrowsMoveTheSelectionFromTheSearchBox) {
    LibraryWindow& window = open();
    ASSERT_EQ(w.library.results().rowCount(), 3);
    EXPECT_EQ(selected(window), 0);
    QTest::keyClick(window.search, Qt::Key_Down);
    EXPECT_EQ(selected(window), 1);
    EXPECT_TRUE(window.search->hasFocus());
}

// Shift+Enter puts the track right after the loaded entry, to be played next.
TEST_F(LibraryWindowTest, EnterAddsTheSelectedTrackToTheEndOfTheActiveDeckShiftEnterNext) {
    LibraryWindow& window = open();
    QTest::keyClicks(window.search, "halo");
    QTest::keyClick(window.search, Qt::Key_Return);
    EXPECT_EQ(deck1(), (QStringList{"a.mp3", "b.mp3", "halo.wav"}));
    EXPECT_EQ(w.playlists.list(0).folder(2), music);
    window.search->clear();
    QTest::keyClicks(window.search, "chic");
    QTest::keyClick(window.search, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(deck1(), (QStringList{"a.mp3", "good times.wav", "b.mp3", "halo.wav"}));
    EXPECT_EQ(w.playlists.list(0).loaded(), 0);
}

TEST_F(LibraryWindowTest, AnEveningPlayedIsListedAndExportedAsCsvAndM3u8) {
    HistoryStore* store = w.history->store();
    ASSERT_NE(store, nullptr);
    const QDateTime start(QDate(2026, 12, 5), QTime(21, 14, 5));
    store->add(
        {start, start.addSecs(200), 2, "Chic", "Good Times", music + "/good times.wav", true});
    LibraryWindow& window = open();
    ASSERT_EQ(window.evenings->count(), 1);
    EXPECT_TRUE(window.exportEvening->isEnabled());
    const QString evening = window.evenings->itemData(0).toString();
    w.library.exportEvening(evening, dir.path() + "/tonight.csv");
    w.library.exportEvening(evening, dir.path() + "/tonight.m3u8");
    const QStringList csv =
        QString::fromStdString(ReadBytes((dir.path() + "/tonight.csv").toStdString()))
            .split("\r\n");
    EXPECT_EQ(csv.at(1), "2026-12-05 21:14:05,2026-12-05 21:17:25,2,Chic,Good Times," + music +
                             "/good times.wav,yes");
    const QStringList m3u8 =
        QString::fromStdString(ReadBytes((dir.path() + "/tonight.m3u8").toStdString())).split("\n");
    EXPECT_EQ(m3u8.at(0), "#EXTM3U");
}

// A damaged library is set aside and made anew: the start goes on, and a notice says so.
TEST_F(WindowTest, ADamagedLibraryIsToldInANoticeAndMadeAnew) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/library.sqlite";
    WriteBytes(file.toStdString(), std::string(4096, 'x'));
    w.library.start(file, "");
    ASSERT_EQ(t.reporter.notices.size(), 1u);
    EXPECT_TRUE(t.reporter.notices[0].startsWith("The music library was damaged"));
    EXPECT_EQ(w.library.results().rowCount(), 0);
}
