#include "common/Widgets.h"
#include "deck/LevelMeters.h"
#include "support/FakeOutputs.h"
#include "support/WindowTest.h"

#include <QLabel>

using namespace velmor;
using namespace velmor::test;

TEST(MasterStrip, TheDropoutsTextNamesTheHeadphonesOnlyWhenTheyHadSome) {
    EXPECT_EQ(DropoutsText(0, 0), "");
    EXPECT_EQ(DropoutsText(3, 0), "Dropouts: 3");
    EXPECT_EQ(DropoutsText(3, 1), QString::fromUtf8("Dropouts: 3 \u00b7 phones 1"));
    EXPECT_EQ(DropoutsText(0, 2), QString::fromUtf8("Dropouts: 0 \u00b7 phones 2"));
}

// Nothing is said while there were no dropouts; once there were, the count shows whole at
// the window's design size, in front of the active list.
TEST(MasterStrip, TheDropoutsShowOnlyOnceThereWereSomeWholeAndInFront) {
    MasterLevels levels;
    TestWindow t(11520, true,
                 [&](MainOptions& options) { options.masterLevels = [&] { return levels; }; });
    Main& w = t.w();
    QLabel* dropouts = w.ui.lblDropouts;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.meters.tmrDisplay_Timer();
    EXPECT_FALSE(dropouts->isVisible());

    levels.underruns = 99999;
    levels.phonesUnderruns = 99999;
    w.meters.tmrDisplay_Timer();
    EXPECT_TRUE(dropouts->isVisible());
    EXPECT_LE(dropouts->sizeHint().width(), dropouts->width());
    EXPECT_LE(dropouts->sizeHint().height(), dropouts->height());
    w.activation.fra_Click(2);
    const QPoint middle = dropouts->geometry().center();
    EXPECT_EQ(w.ui.fra[0]->parentWidget()->childAt(middle), dropouts);
}

TEST(MasterStrip, TheHeadphoneSlidersSetTheHeadphonesLevelAndBlend) {
    FakeOutputs outputs;
    TestWindow t(11520, true, [&](MainOptions& options) { options.outputs = &outputs; });
    t.w().ui.sldPhones->setValue(40);
    t.w().ui.sldCueMix->setValue(100);
    EXPECT_EQ(outputs.level, 40);
    EXPECT_EQ(outputs.mix, 100);
}

// The display (meters and overviews) ticks only while something on it may move: it rests
// once every meter has fallen and no deck plays, and a deck that starts wakes it.
TEST(MasterStrip, TheDisplayRestsWhileNothingPlaysAndWakesWhenADeckStarts) {
    TestWindow t;
    Main& w = t.w();
    w.meters.tmrDisplay_Timer();
    EXPECT_FALSE(w.ui.tmrDisplay->isActive());

    t.open(0, "/music/1.mp3");
    t.playPause(0);
    EXPECT_TRUE(w.ui.tmrDisplay->isActive());
    w.meters.tmrDisplay_Timer();
    EXPECT_TRUE(w.ui.tmrDisplay->isActive());
}
