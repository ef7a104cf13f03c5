#include "common/BrowserLists.h"
#include "common/Widgets.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

TEST(Startup, EveryDeckStartsEmptyStoppedAtFullVolumeAndNormalSpeedWithDeck1Active) {
    TestWindow t;
    ASSERT_TRUE(t.loaded);
    EXPECT_TRUE(t.reporter.empty());
    const Controls& ui = t.w().ui;
    for (int d = 0; d < kDecks; ++d) {
        SCOPED_TRACE(d);
        EXPECT_FALSE(ui.cmdPlayPause[d]->isEnabled());
        EXPECT_FALSE(ui.cmdStop[d]->isEnabled());
        EXPECT_EQ(ui.Volumen[d]->value(), 100);
        EXPECT_FALSE(ui.cmdNormalPlay[d]->isEnabled());
        EXPECT_EQ(ui.timer[d]->interval(), 250);
        EXPECT_EQ(ui.shpVa[d]->WidthTwips(), 1);
        EXPECT_EQ(t.w().decks.TrackNumber[d], 1);
    }
    EXPECT_EQ(t.w().activation.ActiveDeck(), 0);
}

TEST(Startup, TheScreenMustBeAtLeast9000TwipsHigh) {
    EXPECT_TRUE(TestWindow(9000).loaded);
    TestWindow small(8999);
    EXPECT_FALSE(small.loaded);
    ASSERT_EQ(small.reporter.messages.size(), 1u);
    EXPECT_EQ(small.reporter.last().icon, Icon::Exclamation);
}

TEST(Startup, AFailingStepIsReportedAndSkipsTheRest) {
    TestWindow t(11520, false);
    t.player(1).failures["VolumeRead"] = "The player does not answer";
    t.w().ui.optPla[2]->setChecked(true);
    EXPECT_TRUE(t.w().Form_Load());
    ASSERT_EQ(t.reporter.told, std::vector<QString>{"The player does not answer"});
    EXPECT_EQ(t.reporter.last().icon, Icon::Exclamation);
    const Controls& ui = t.w().ui;
    EXPECT_FALSE(ui.cmdStop[0]->isEnabled());      // deck 1 was done
    EXPECT_FALSE(ui.cmdPlayPause[1]->isEnabled()); // deck 2 up to the failing step
    EXPECT_TRUE(ui.cmdStop[1]->isEnabled());       // but no further
    EXPECT_TRUE(ui.cmdStop[3]->isEnabled());
    EXPECT_EQ(t.w().activation.ActiveDeck(), 2); // deck 1 was never activated
}

// Choosing a deck, by its frame or its option, lights only its circle and names the pair.
TEST(Startup, ActivatingADeckLightsOnlyItsCircleAndNamesThePair) {
    TestWindow t;
    Controls& ui = t.w().ui;
    t.w().activation.fra_Click(3);
    EXPECT_EQ(ui.lblCero->text() + ui.lblUno->text(), "41");
    for (int d = 0; d < kDecks; ++d)
        EXPECT_EQ(ui.selec[d]->FillColor(), d == 3 ? kLightBlue : kButtonFace);
    t.w().activation.optPla_Click(1);
    EXPECT_EQ(t.w().activation.ActiveDeck(), 1);
    EXPECT_EQ(ui.lblCero->text() + ui.lblUno->text(), "23");
}
