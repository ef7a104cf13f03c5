#include "common/EventHooks.h"
#include "common/LevelMeterBar.h"
#include "common/Widgets.h"
#include "support/AudioFixtures.h"
#include "support/EngineWindow.h"
#include "support/FakeCards.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

// The meters show, at the window's display frame, what each deck sends and the master, and
// draw nothing anew while nothing changes.
TEST(DeckWithEngine, TheMetersShowEachDecksLevelAfterItsFaderAndTheMasters) {
    QTemporaryDir dir;
    WriteWav(dir.filePath("tone.wav").toStdString(), Tone(1000, 4, 48000, 0.251189f), 48000, 1);
    EngineWindow t;
    Main& w = t.w();
    w.ui.Volumen[1]->setValue(50);
    for (int d : {0, 1}) {
        t.fill(d, {"tone.wav"}, dir.path());
        w.panels[d]->cmdPlayPause_Click();
    }
    t.driver->render(24000);
    w.meters.tmrDisplay_Timer();
    EXPECT_NEAR(w.ui.mtrLevel[0]->shown().peak[0], -12, 0.5);
    EXPECT_NEAR(w.ui.mtrLevel[1]->shown().peak[1], -12 - 22.5, 0.5);
    EXPECT_EQ(w.ui.mtrLevel[2]->shown().peak[0], MeterBallistics::kFloorDb);
    EXPECT_GT(w.ui.mtrMaster->shown().peak[0], -12);

    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    int paints = 0;
    OnEvent(w.ui.mtrLevel[0], QEvent::Paint, [&](QEvent*) {
        ++paints;
        return false;
    });
    QTest::qWait(1000); // nothing more is rendered: the bars fall, for frames on end
    EXPECT_GT(paints, 5);
    // Once fallen to nothing and the hold over, nothing changes: nothing is drawn.
    EXPECT_TRUE(WaitFor([&] {
        const int before = paints;
        QTest::qWait(300);
        return paints == before;
    }));
}

// A deck pulled to 0 is not heard in the room; one step up it is 44.55 dB down, as the
// volume law says. The level read back, which a fade steps on from, is the law's -4500.
TEST(DeckWithEngine, VolumeZeroIsSilenceAndOneIsTheLawsStep) {
    QTemporaryDir dir;
    const float minusOneDb = 0.891251f; // a track peaking at -1 dBFS
    WriteWav(dir.filePath("tone.wav").toStdString(), Tone(1000, 4, 48000, minusOneDb), 48000, 1);
    EngineWindow t;
    Main& w = t.w();
    t.fill(0, {"tone.wav"}, dir.path());
    w.panels[0]->cmdPlayPause_Click();
    t.driver->render(4800);

    w.ui.Volumen[0]->setValue(0);
    t.driver->render(4800); // past the level's ramp
    EXPECT_EQ(PeakOf(t.driver->render(9600)), 0.0f);
    EXPECT_EQ(w.pla[0]->Volume(), -4500);

    w.ui.Volumen[0]->setValue(1);
    t.driver->render(4800);
    EXPECT_NEAR(ToneDb(t.driver->render(9600), 0, 9600, 1000, 48000), -1 - 44.55, 0.05);
}
