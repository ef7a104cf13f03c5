#include "common/BrowserLists.h"
#include "common/Widgets.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

// A screen under 9000 twips high is refused; a failing step is told and skips the rest:
// Deck 1 was done, Deck 2 up to the failing step, Deck 1 never activated.
TEST(Startup, TheScreenMustBeHighEnoughAndAFailingStepSkipsTheRest) {
    EXPECT_TRUE(TestWindow(9000).loaded);
    TestWindow small(8999);
    EXPECT_FALSE(small.loaded);
    EXPECT_EQ(small.reporter.last().icon, Icon::Exclamation);

    TestWindow t(11520, false);
    t.player(1).failures["VolumeRead"] = "The player does not answer";
    t.w().ui.optPla[2]->setChecked(true);
    EXPECT_TRUE(t.w().Form_Load());
    ASSERT_EQ(t.reporter.told, std::vector<QString>{"The player does not answer"});
    const Controls& ui = t.w().ui;
    EXPECT_FALSE(ui.cmdStop[0]->isEnabled());
    EXPECT_FALSE(ui.cmdPlayPause[1]->isEnabled());
    EXPECT_TRUE(ui.cmdStop[1]->isEnabled());
    EXPECT_EQ(t.w().activation.ActiveDeck(), 2);
}

// Every deck starts empty at full volume with Deck 1 active; choosing a deck, by its frame
// or its option, lights only its circle and names the pair.
TEST(Startup, EveryDeckStartsEmptyAndActivatingADeckLightsOnlyItsCircle) {
    TestWindow t;
    ASSERT_TRUE(t.loaded);
    Controls& ui = t.w().ui;
    for (int d = 0; d < kDecks; ++d) {
        EXPECT_FALSE(ui.cmdPlayPause[d]->isEnabled() || ui.cmdStop[d]->isEnabled()) << d;
        EXPECT_EQ(ui.Volumen[d]->value() + ui.timer[d]->interval(), 100 + 250) << d;
        EXPECT_EQ(t.w().decks.TrackNumber[d], 1);
    }
    EXPECT_EQ(t.w().activation.ActiveDeck(), 0);
    t.w().activation.fra_Click(3);
    EXPECT_EQ(ui.lblCero->text() + ui.lblUno->text(), "41");
    for (int d = 0; d < kDecks; ++d)
        EXPECT_EQ(ui.selec[d]->FillColor() == kLightBlue, d == 3) << d;
    t.w().activation.optPla_Click(1);
    EXPECT_EQ(ui.lblCero->text() + ui.lblUno->text(), "23");
}
