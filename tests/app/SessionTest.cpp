#include "app/EveningSession.h"
#include "common/BrowserLists.h"
#include "legacy/Error.h"
#include "playlist/PlaylistFiles.h"
#include "playlist/SessionFile.h"
#include "support/AudioFixtures.h"
#include "support/Failure.h"
#include "support/FakeOutputs.h"
#include "support/WindowTest.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <csignal>

using namespace velmor;
using namespace velmor::test;

namespace {

// A window that keeps its evening and its audio set-up in a folder of its own.
struct SessionTest : ::testing::Test {
    QTemporaryDir dir;
    FakeOutputs outputs;
    QString music = dir.filePath("music"), state = dir.filePath("state");
    QString setupFile = dir.filePath("audio.conf");
    std::unique_ptr<TestWindow> start() {
        return std::make_unique<TestWindow>(11520, true, [this](MainOptions& options) {
            options.sessionFolder = state;
            options.outputs = &outputs;
            options.audioSetupFile = setupFile;
        });
    }
    QString file() const { return state + "/session"; }
};

} // namespace

// The process is killed in the middle of the evening; the next start offers the evening back,
// keeps the file as it was while the question waits, and restores the four lists, each
// deck's entry loaded and not started, the cue times and the browser's folder; the entry
// whose file has gone is marked. After a clean quit the next start does not ask.
TEST_F(SessionTest, AnEveningKilledComesBackAndACleanQuitIsNotOffered) {
    GTEST_FLAG_SET(death_test_style, "fast"); // the child writes where the test reads
    EXPECT_EXIT(
        {
            // Deck d's list holds d + 2 tracks of the music folder, the last of deck 4 gone;
            // deck 2 has its second entry loaded, the others their first.
            auto t = start();
            QDir().mkpath(music);
            for (int d = 0; d < kDecks; ++d) {
                QStringList names;
                for (int i = 0; i < d + 2; ++i) {
                    names << QString("deck%1-%2.mp3").arg(d + 1).arg(i);
                    WriteBytes(QDir(music).filePath(names.last()).toStdString(), "x");
                }
                if (d == 3)
                    names.last() = "gone.mp3";
                t->fill(d, names, music);
                t->w().decks[d]->load(d == 1 ? 1 : 0);
                t->w().ui.txtSet[d]->setText(QString::number(d));
                t->w().ui.txtSetSec[d]->setText(QString::number(10 + d));
            }
            t->w().browser.dir_Choose(music);
            const auto written = [&] { // the last change above is in the file
                QString folder;
                FailureOf([&] { folder = SessionFromBytes(ReadPlaylistFile(file())).folder; });
                return folder == music;
            };
            if (QTest::qWaitFor(written, 10000)) // else the child returns: it failed to die
                std::raise(SIGKILL);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    const QByteArray last = ReadPlaylistFile(file());

    auto t = start();
    t->reporter.answer = true;
    t->reporter.whileAsking = [&] { // a crash now still finds the last evening
        t->w().ui.txtSet[0]->setText("changed");
        QTest::qWait(2 * EveningSession::kLeastMsBetweenWrites);
        EXPECT_EQ(ReadPlaylistFile(file()), last);
    };
    t->w().session.RestoreLastEvening();
    EXPECT_EQ(t->reporter.questions, std::vector<QString>{kRestoreQuestion});
    EXPECT_EQ(t->reporter.defaults, std::vector<Answer>{Answer::Yes}) << "Return restores";
    t->w().browser.entryChecks().waitUntilDone();
    DeliverNotifications();
    const Controls& ui = t->w().ui;
    EXPECT_EQ(ui.dir->Path(), music);
    // Per deck: its entries, the one loaded (in its player, stopped), its cue; only the file
    // that has gone, the last of Deck 4, is marked.
    const int entries[kDecks] = {2, 3, 4, 5};
    const int loaded[kDecks] = {0, 1, 0, 0};
    const char* const cueMinutes[kDecks] = {"0", "1", "2", "3"};
    const char* const cueSeconds[kDecks] = {"10", "11", "12", "13"};
    for (int d = 0; d < kDecks; ++d) {
        SCOPED_TRACE(d);
        const DeckPlaylist& list = t->w().playlists.list(d);
        EXPECT_EQ(list.count(), entries[d]);
        EXPECT_EQ(list.loaded(), loaded[d]);
        EXPECT_EQ(t->player(d).FileName(), list.fullPath(loaded[d]));
        EXPECT_EQ(t->player(d).PlayState(), MediaPlayer::Stopped);
        EXPECT_EQ(ui.txtSet[d]->text(), cueMinutes[d]);
        EXPECT_EQ(ui.txtSetSec[d]->text(), cueSeconds[d]);
        EXPECT_EQ(list.isUnplayable(entries[d] - 1), d == 3);
    }

    t->w().close(); // the user's own quit
    t.reset();
    t = start();
    t->w().session.RestoreLastEvening();
    EXPECT_TRUE(t->reporter.questions.empty());
}

// A session file that cannot be read is told, set aside under another name and not offered.
TEST_F(SessionTest, AnUnreadableSessionFileIsSetAside) {
    QDir().mkpath(state);
    WriteBytes(file().toStdString(), "not a session");
    auto t = start();
    t->w().session.RestoreLastEvening();
    const QStringList aside = QDir(state).entryList({"session*"});
    ASSERT_EQ(aside.size(), 1) << aside.join(' ').toStdString();
    EXPECT_TRUE(aside[0].startsWith("session.unreadable-"));
    EXPECT_TRUE(t->reporter.questions.empty());
    ASSERT_EQ(t->reporter.notices.size(), 1u);
    EXPECT_TRUE(t->reporter.notices[0].contains(aside[0]));
}

// When the unreadable file cannot be moved aside, it is kept as it is and this evening is
// not written over it.
TEST_F(SessionTest, AnUnreadableSessionFileThatCannotBeSetAsideIsNotWrittenOver) {
    QDir().mkpath(state);
    WriteBytes(file().toStdString(), "not a session");
    // Whatever second the file is set aside in, its new name is taken.
    const QDateTime now = QDateTime::currentDateTime();
    for (int s = 0; s < 10; ++s)
        QDir(state).mkdir("session.unreadable-" + now.addSecs(s).toString("yyyyMMdd-HHmmss"));
    auto t = start();
    t->w().session.RestoreLastEvening();
    ASSERT_EQ(t->reporter.notices.size(), 1u);
    EXPECT_TRUE(t->reporter.notices[0].contains("nor set aside"));
    t->fill(0, {"a.mp3"});
    t->w().close();
    EXPECT_EQ(ReadPlaylistFile(file()), "not a session");
}
