#include "app/EveningSession.h"
#include "common/BrowserLists.h"
#include "playlist/PlaylistFiles.h"
#include "playlist/SessionFile.h"
#include "support/AudioFixtures.h"
#include "support/WindowTest.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>

using namespace velmor;
using namespace velmor::test;

namespace {

struct SessionTest : ::testing::Test {
    QTemporaryDir dir;
    QString music = dir.filePath("music");
    QString state = dir.filePath("state");
    std::unique_ptr<TestWindow> start() {
        auto t = std::make_unique<TestWindow>(
            11520, true, [this](MainOptions& options) { options.sessionFolder = state; });
        t->reporter.answer = true;
        return t;
    }
    QString file() const { return state + "/session"; }
    // Deck d's list holds d + 2 tracks of the music folder, the last of deck 4 gone; deck 2
    // has its second entry loaded, the others their first.
    void prepare(TestWindow& t) {
        QDir().mkpath(music);
        for (int d = 0; d < kDecks; ++d) {
            QStringList names;
            for (int i = 0; i < d + 2; ++i) {
                names << QString("deck%1-%2.mp3").arg(d + 1).arg(i);
                WriteBytes(QDir(music).filePath(names.last()).toStdString(), "x");
            }
            if (d == 3)
                names.last() = "gone.mp3";
            t.fill(d, names, music);
            t.w().loader.LoadPlayableEntry(d, d == 1 ? 1 : 0, +1);
            t.w().ui.txtSet[d]->setText(QString::number(d));
            t.w().ui.txtSetSec[d]->setText(QString::number(10 + d));
        }
        t.w().browser.dir_Choose(music);
    }
};

} // namespace

// The process is killed in the middle of the evening; the next start offers the evening back
// and restores the four lists, each deck's entry loaded and not started, the cue times and
// the browser's folder; the entry whose file has gone is marked. After a clean quit the next
// start does not ask.
TEST_F(SessionTest, AnEveningKilledComesBackAndACleanQuitIsNotOffered) {
    GTEST_FLAG_SET(death_test_style, "fast"); // the child writes where the test reads
    EXPECT_EXIT(
        {
            auto t = start();
            prepare(*t);
            auto written = [&] { // the last change of prepare() is in the file
                try {
                    return SessionFromBytes(ReadPlaylistFile(file())).folder == music;
                } catch (const std::exception&) {
                    return false;
                }
            };
            if (!QTest::qWaitFor(written, 10000))
                std::exit(1);
            std::raise(SIGKILL);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    ASSERT_TRUE(QFile::exists(file()));

    auto t = start();
    t->w().session.RestoreLastEvening();
    EXPECT_EQ(t->reporter.questions, std::vector<QString>{kRestoreQuestion});
    t->w().browser.entryChecks().waitUntilDone();
    DeliverNotifications();
    for (int d = 0; d < kDecks; ++d) {
        SCOPED_TRACE(d);
        const DeckPlaylist& list = t->w().playlists.list(d);
        ASSERT_EQ(list.count(), d + 2);
        EXPECT_EQ(list.loaded(), d == 1 ? 1 : 0);
        EXPECT_EQ(t->player(d).FileName(), list.fullPath(list.loaded()));
        EXPECT_EQ(t->player(d).PlayState(), MediaPlayer::Stopped);
        EXPECT_EQ(t->w().ui.txtSet[d]->text(), QString::number(d));
        EXPECT_EQ(t->w().ui.txtSetSec[d]->text(), QString::number(10 + d));
        EXPECT_EQ(list.isUnplayable(d + 1), d == 3); // the file gone
    }
    EXPECT_EQ(t->w().ui.dir->Path(), music);

    t->w().close(); // the user's own quit
    t.reset();
    t = start();
    t->w().session.RestoreLastEvening();
    EXPECT_TRUE(t->reporter.questions.empty());
    EXPECT_EQ(t->w().playlists.list(0).count(), 0);
}

// A session file that cannot be read is told, set aside under another name and not offered.
TEST_F(SessionTest, AnUnreadableSessionFileIsSetAside) {
    QDir().mkpath(state);
    const QByteArray whole = SessionToBytes(SessionData{});
    WriteBytes(file().toStdString(), whole.left(whole.size() / 2).toStdString());
    auto t = start();
    t->w().session.RestoreLastEvening();
    EXPECT_TRUE(t->reporter.questions.empty());
    ASSERT_EQ(t->reporter.notices.size(), 1u);
    EXPECT_FALSE(QFile::exists(file()));
    const QStringList aside = QDir(state).entryList({"session.unreadable-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(t->reporter.notices[0].contains(aside[0]));
}

// While the question waits (and after a No), the file stays the last evening's, though the
// window changes meanwhile: a crash then still offers the evening back.
TEST_F(SessionTest, TheLastEveningIsKeptWhileTheQuestionWaits) {
    QDir().mkpath(state);
    QDir().mkpath(music);
    SessionData last;
    last.decks[2].entries = {{"a.mp3", music}};
    WriteBytes(file().toStdString(), SessionToBytes(last).toStdString());
    auto t = start();
    t->reporter.answer = false;
    t->reporter.whileAsking = [&] {
        t->w().browser.dir_Choose(music);
        QTest::qWait(2 * EveningSession::kLeastMsBetweenWrites);
    };
    t->w().session.RestoreLastEvening();
    ASSERT_EQ(t->reporter.questions.size(), 1u);
    QTest::qWait(2 * EveningSession::kLeastMsBetweenWrites);
    EXPECT_EQ(ReadPlaylistFile(file()), SessionToBytes(last));
    EXPECT_EQ(t->w().playlists.list(2).count(), 0);
}
