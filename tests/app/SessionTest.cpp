#include "app/EveningSession.h"
#include "common/BrowserLists.h"
#include "common/Error.h"
#include "playlist/PlaylistFiles.h"
#include "playlist/SessionFile.h"
#include "support/AudioFixtures.h"
#include "support/Failure.h"
#include "support/FakeOutputs.h"
#include "support/WindowTest.h"

#include <QComboBox>
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
                t->w().loader.LoadPlayableEntry(d, d == 1 ? 1 : 0, +1);
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
    // The folder, then per deck: entries, the one loaded, whether the player has it, its state,
    // the cue, whether the gone file is marked.
    QString decks = ui.dir->Path();
    for (int d = 0; d < kDecks; ++d) {
        const DeckPlaylist& list = t->w().playlists.list(d);
        decks += QString::asprintf(";%d %d %d%d %s:%s %d", int(list.count()), list.loaded(),
                                   t->player(d).FileName() == list.fullPath(list.loaded()),
                                   t->player(d).PlayState(), qPrintable(ui.txtSet[d]->text()),
                                   qPrintable(ui.txtSetSec[d]->text()), list.isUnplayable(d + 1));
    }
    EXPECT_EQ(decks, music + ";2 0 10 0:10 0;3 1 10 1:11 0;4 0 10 2:12 0;5 0 10 3:13 1");

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
    EXPECT_TRUE(aside.size() == 1 && aside[0].startsWith("session.unreadable-") &&
                t->reporter.questions.empty())
        << aside.join(' ').toStdString();
    EXPECT_TRUE(t->reporter.notices.size() == 1 && t->reporter.notices[0].contains(aside.value(0)));
}

// The set-up key opens the window. A choice takes effect and is kept; a device that cannot be
// opened is told in a box, and the window and the file keep the choice that plays.
TEST_F(SessionTest, TheSetUpWindowOpensKeepsAndRefusesChoices) {
    auto t = start();
    Main& w = t->w();
    w.actions.forId("window.audio_setup")->call();
    FrmAudio* frm = w.audioSetup.frmAudio();
    ASSERT_TRUE(frm && frm->isVisible() && frm->lblLatency->text().contains("23.2 ms"));
    // A desktop that refuses real-time priority is told: a busy computer may break up the sound.
    EXPECT_TRUE(frm->lblLatency->text().endsWith(
        "\nAudio threads: normal priority (real-time was refused)"));
    const auto choose = [&](QComboBox* box, const QString& text) {
        box->setCurrentIndex(box->findText(text));
        emit box->activated(box->currentIndex());
    };
    choose(frm->cboBuffer, "512 frames");
    choose(frm->cboPhones, "quad");
    const AudioSetup playing{"", PhonesRoute::Device, "quad", 512};
    EXPECT_TRUE(outputs.setup == playing && ReadAudioSetup(setupFile) == playing &&
                t->reporter.empty());
    // The master strip sets the headphones' level and blend.
    w.ui.sldPhones->setValue(40);
    w.ui.sldCueMix->setValue(100);
    EXPECT_EQ(std::pair(outputs.level, outputs.mix), std::pair(40, 100));

    choose(frm->cboPhones, "refused");
    EXPECT_EQ(t->reporter.messages.size(), 1u);
    EXPECT_TRUE(frm->cboPhones->currentText() == "quad" && ReadAudioSetup(setupFile) == playing);
}
