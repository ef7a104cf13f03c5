#include "common/Widgets.h"
#include "support/WindowTest.h"

using namespace velmor;
using namespace velmor::test;

namespace {
using StartUpTest = WindowTest;
} // namespace

// 9000 twips are high enough; a lower screen is refused with a warning.
TEST(StartUp, NineThousandTwipsAreHighEnoughAndALowerScreenIsRefused) {
    EXPECT_TRUE(TestWindow(9000).loaded);
    TestWindow small(8999);
    EXPECT_FALSE(small.loaded);
    EXPECT_EQ(small.reporter.last().text, "Please use 800x600 or more.");
    EXPECT_EQ(small.reporter.last().icon, Icon::Exclamation);
}

// A failing step is told and skips the rest: Deck 1 was done, Deck 2 up to the failing step,
// Deck 1 never activated.
TEST(StartUp, AFailingStepIsToldAndSkipsTheRest) {
    TestWindow t(11520, false);
    t.player(1).failures["VolumeRead"] = "The player does not answer";
    const Controls& ui = t.w().ui;
    ui.optPla[2]->setChecked(true);
    EXPECT_TRUE(t.w().Form_Load());
    EXPECT_EQ(t.reporter.told, std::vector<QString>{"The player does not answer"});
    EXPECT_FALSE(ui.cmdStop[0]->isEnabled());
    EXPECT_FALSE(ui.cmdPlayPause[1]->isEnabled());
    EXPECT_TRUE(ui.cmdStop[1]->isEnabled()); // its step was not reached
    EXPECT_EQ(t.w().activation.ActiveDeck(), 2);
}

// Every deck starts empty at full volume, on its first track.
TEST_F(StartUpTest, EveryDeckStartsEmptyAtFullVolume) {
    for (int d = 0; d < kDecks; ++d) {
        SCOPED_TRACE(d);
        EXPECT_FALSE(ui.cmdPlayPause[d]->isEnabled());
        EXPECT_FALSE(ui.cmdStop[d]->isEnabled());
        EXPECT_EQ(ui.Volumen[d]->value(), 100);
        EXPECT_EQ(w.decks[d]->trackNumber(), 1);
    }
}
