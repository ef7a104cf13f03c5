#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

// Deck 2's panel gives its deck the user's orders: mute, the speeds and the seek to a time.
namespace {
struct DeckPanelTransportTest : WindowTest {
    FakePlayer& player = t.player(1);
    ColorButton* const speeds[4] = {ui.cmdSlowPlay[1], ui.cmdNormalPlay[1], ui.cmdFastPlay[1],
                                    ui.cmdUltraPlay[1]};

    // The minutes and seconds typed, then Set, with the focus on another deck's box.
    void seekTo(const QString& minutes, const QString& seconds) {
        player.log.clear();
        t.reporter.clear();
        ui.txtSet[1]->setText(minutes);
        ui.txtSetSec[1]->setText(seconds);
        ui.txtSetSec[0]->setFocus();
        w.panels[1]->cmdSet_Click();
    }
};
} // namespace

TEST_F(DeckPanelTransportTest, MuteMutesTheDeckAndTurnsItsButtonRed) {
    w.panels[1]->cmdMute_Click();
    EXPECT_TRUE(w.decks[1]->muted());
    EXPECT_EQ(ui.cmdMute[1]->BackColor(), kRed);
    w.panels[1]->cmdMute_Click();
    EXPECT_FALSE(w.decks[1]->muted());
    EXPECT_EQ(ui.cmdMute[1]->BackColor(), kButtonFace);
}

TEST_F(DeckPanelTransportTest, ASpeedSetsTheDeckTheTimersTickAndDisablesOnlyItsOwnButton) {
    speeds[2]->click();
    EXPECT_EQ(w.decks[1]->speed(), 2);
    EXPECT_EQ(ui.timer[1]->interval(), 167);
    EXPECT_TRUE(speeds[0]->isEnabled());
    EXPECT_TRUE(speeds[1]->isEnabled());
    EXPECT_FALSE(speeds[2]->isEnabled());
    EXPECT_TRUE(speeds[3]->isEnabled());
    speeds[0]->click();
    EXPECT_EQ(w.decks[1]->speed(), 0);
    EXPECT_EQ(ui.timer[1]->interval(), 500);
    EXPECT_FALSE(speeds[0]->isEnabled());
    EXPECT_TRUE(speeds[2]->isEnabled());
}

TEST_F(DeckPanelTransportTest, SetSendsTheMinutesAndSecondsAsOnePosition) {
    seekTo("99", "59");
    EXPECT_EQ(player.log, QStringList{"Position 5999"});
    seekTo("1.5", "0");
    EXPECT_EQ(player.log, QStringList{"Position 90"});
    EXPECT_TRUE(t.reporter.empty());
}

// A number out of range is refused with the focus on the box at fault; text that is not a
// number is a failure that leaves the focus where it was.
TEST_F(DeckPanelTransportTest, ATimeThatIsNoPlaceInATrackIsToldAndNotSought) {
    w.show();
    QApplication::processEvents();
    seekTo("100", "0");
    EXPECT_TRUE(player.log.isEmpty());
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(t.reporter.last().text, "Number out of range");
    EXPECT_EQ(QApplication::focusWidget(), ui.txtSet[1]);
    seekTo("-1", "abc"); // the seconds are not read
    EXPECT_EQ(t.reporter.last().text, "Number out of range");
    EXPECT_EQ(QApplication::focusWidget(), ui.txtSet[1]);
    seekTo("0", "60");
    EXPECT_EQ(QApplication::focusWidget(), ui.txtSetSec[1]);
    seekTo("abc", "0");
    EXPECT_TRUE(player.log.isEmpty());
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(t.reporter.last().text, "Type mismatch");
    EXPECT_EQ(QApplication::focusWidget(), ui.txtSetSec[0]);
}
