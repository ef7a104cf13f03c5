#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

// Deck 2's panel shows its position: the bars, the slider and the two times, and seeking with the
// slider.
namespace {
struct DeckPanelPositionTest : WindowTest {
    FakePlayer& player = t.player(1);

    void playSong() {
        player.durations["/music/Song.mp3"] = 200;
        t.open(1, "/music/Song.mp3");
        t.playPause(1);
        player.setPosition(70.2);
        player.log.clear();
    }
};
} // namespace

// A drag seeks, and a playing deck's times follow at the next tick.
TEST_F(DeckPanelPositionTest, ATickShowsTheTimesTheSliderAndTheBarsAndADragSeeks) {
    playSong();
    w.panels[1]->timer_Timer();
    EXPECT_EQ(ui.lblTracking[1]->text(), "1:10");
    EXPECT_EQ(ui.lblRTracking[1]->text(), "2:10");
    EXPECT_EQ(ui.Tracker[1]->value(), 70);
    EXPECT_NEAR(ui.shpVa[1]->WidthTwips(), 373.815, 1e-3);
    EXPECT_NEAR(ui.shpQueda[1]->WidthTwips(), 691.185, 1e-3);
    EXPECT_TRUE(player.log.isEmpty()) << "the timer's own setting of the slider is no seek";
    EXPECT_EQ(ui.lblTracking[0]->text(), "0:0") << "other decks stay as they were";
    ui.Tracker[1]->setSliderPosition(90);
    EXPECT_EQ(player.log, QStringList{"Position 90"});
    EXPECT_EQ(ui.lblTracking[1]->text(), "1:10");
}
