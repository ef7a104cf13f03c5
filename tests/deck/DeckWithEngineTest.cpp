#include "common/LevelMeterBar.h"
#include "common/Widgets.h"
#include "playlist/DeckPlaylist.h"
#include "support/AudioFixtures.h"
#include "support/EngineWindow.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
// Plays deck 0 from its loaded entry until it stops; the captions it showed on the way.
QStringList PlayThrough(EngineWindow& t, int rate, int blocks) {
    Main& w = t.w();
    w.transport.cmdPlayPause_Click(0);
    QStringList captions{w.ui.fra[0]->Caption()};
    for (int block = 0; block < blocks; ++block) {
        t.driver->render(rate / 10);
        QCoreApplication::processEvents();
        if (captions.last() != w.ui.fra[0]->Caption())
            captions << w.ui.fra[0]->Caption();
        if (block > 5 && w.pla[0]->PlayState() == MediaPlayer::Stopped)
            break;
    }
    return captions;
}
} // namespace

// The real window on the real engine, rendered offline: a deck plays its whole playlist by
// itself, one track after the other, and stops on the last.
TEST(DeckWithEngine, PlayOncePlaysTheWholeListInOrder) {
    constexpr int kRate = 48000;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList names{"First.wav", "Second.wav", "Third.wav"};
    for (const QString& name : names)
        WriteWav(dir.filePath(name).toStdString(), Tone(440, 1.5, kRate), kRate, 1);

    EngineWindow t(kRate);
    ASSERT_TRUE(t.loaded);
    Main& w = t.w();
    t.fill(0, names, dir.path());
    ASSERT_EQ(w.ui.fra[0]->Caption(), "1. First 0:1");
    // Ten seconds of audio at most for three tracks of one and a half.
    EXPECT_EQ(PlayThrough(t, kRate, 100),
              (QStringList{"1. First 0:1", "1. Second 0:1", "1. Third 0:1"}));
    EXPECT_EQ(w.pla[0]->PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(w.pla[0]->FileName(), w.playlists.list(0).fullPath(2));
    EXPECT_EQ(w.decks.TrackNumber[0], 3);
    EXPECT_EQ(w.ui.cmdPlayPause[0]->text(), ">");
    EXPECT_FALSE(w.ui.cmdStop[0]->isEnabled());
    EXPECT_TRUE(t.reporter.empty());
}

// A text file named .mp3 (a failed download) and a file gone missing in the middle of a
// list: the engine refuses both, and the deck plays on from the first track to the last.
TEST(DeckWithEngine, EntriesTheEngineRefusesAreSteppedOver) {
    constexpr int kRate = 48000;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteWav(dir.filePath("a.wav").toStdString(), Tone(440, 1.0, kRate), kRate, 1);
    WriteBytes(dir.filePath("broken.mp3").toStdString(), "<html>Not found</html>\n");
    WriteWav(dir.filePath("c.wav").toStdString(), Tone(660, 1.0, kRate), kRate, 1);

    EngineWindow t(kRate);
    Main& w = t.w();
    t.fill(0, {"a.wav", "broken.mp3", "missing.mp3", "c.wav"}, dir.path());
    EXPECT_EQ(PlayThrough(t, kRate, 60), (QStringList{"1. a 0:1", "1. c 0:1"}));
    EXPECT_EQ(w.decks.TrackNumber[0], 4);
    const DeckPlaylist& list = w.playlists.list(0);
    EXPECT_EQ(list.loaded(), 3);
    EXPECT_TRUE(list.unplayableReason(1).contains("broken.mp3 cannot be played"));
    EXPECT_TRUE(list.unplayableReason(2).contains("missing.mp3 cannot be played"));
    EXPECT_TRUE(t.reporter.empty());
    EXPECT_EQ(t.reporter.notices.size(), 1u);
}

namespace {
// Counts a widget's paints.
struct Paints : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};
} // namespace

// The meters show, at the window's display frame, what each deck sends and the master, and
// draw nothing anew while nothing changes.
TEST(DeckWithEngine, TheMetersShowEachDecksLevelAfterItsFaderAndTheMasters) {
    constexpr int kRate = 48000;
    QTemporaryDir dir;
    const QString tone = "tone.wav";
    WriteWav(dir.filePath(tone).toStdString(), Tone(1000, 4, kRate, 0.251189f), kRate, 1);
    EngineWindow t(kRate);
    Main& w = t.w();
    t.fill(0, {tone}, dir.path());
    t.fill(1, {tone}, dir.path());
    w.ui.Volumen[1]->setValue(50);
    for (int d : {0, 1})
        w.transport.cmdPlayPause_Click(d);
    t.driver->render(kRate / 2);
    w.meters.tmrDisplay_Timer();
    EXPECT_NEAR(w.ui.mtrLevel[0]->shown().peak[0], -12, 0.5);
    EXPECT_NEAR(w.ui.mtrLevel[1]->shown().peak[1], -12 - 22.5, 0.5);
    EXPECT_EQ(w.ui.mtrLevel[2]->shown().peak[0], MeterBallistics::kFloorDb);
    EXPECT_GT(w.ui.mtrMaster->shown().peak[0], -12);

    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Paints paints;
    w.ui.mtrLevel[0]->installEventFilter(&paints);
    QTest::qWait(1000); // nothing more is rendered: the bars fall, for frames on end
    EXPECT_GT(paints.count, 5);
    QTest::qWait(1000); // fallen to nothing, and the hold is over
    const int still = paints.count;
    QTest::qWait(300);
    EXPECT_EQ(paints.count, still) << "nothing changes: nothing is drawn";
}
