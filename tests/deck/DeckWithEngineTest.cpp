#include "common/LevelMeterBar.h"
#include "common/Widgets.h"
#include "support/AudioFixtures.h"
#include "support/EngineWindow.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

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
