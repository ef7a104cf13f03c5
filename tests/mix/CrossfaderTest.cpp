#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct CrossfaderTest : WindowTest {
    int level(int d) { return t.player(d).Volume(); }
};
} // namespace

TEST_F(CrossfaderTest, TheSliderSharesTheLevelBetweenTheActiveDeckAndTheNextAndTheLastWriterWins) {
    ui.Volumen[0]->setValue(45);
    ui.cross->setValue(25); // a value set by code applies like a move
    EXPECT_EQ(level(0), 45 * 45 - 4500);
    EXPECT_EQ(level(1), -2250);
    // A deck's own slider overrides the crossfade until the crossfader moves again.
    ui.Volumen[1]->setValue(80);
    EXPECT_EQ(level(1), -900);
    ui.cross->setValue(26);
    EXPECT_EQ(level(1), -4500 + 42 * 45); // 2 * 26 * 80 / 100 = 41.6

    // Another active deck: the old pair keeps its levels, the new pair follows the next move.
    ui.cross->setValue(0);
    w.activation.optPla_Click(3);
    EXPECT_EQ(level(1), -4500);
    ui.cross->setValue(100);
    EXPECT_EQ(level(1), -4500);
    EXPECT_EQ(level(3), -4500);
    EXPECT_EQ(level(0), 45 * 45 - 4500); // Deck 4 pairs with Deck 1
}

TEST_F(CrossfaderTest, DraggingAppliesTheThumbPositionAndAFailureIsReported) {
    ui.cross->setSliderDown(true);
    ui.cross->setSliderPosition(0); // a drag: the value follows only at the release
    EXPECT_EQ(level(1), -4500);
    ui.cross->setSliderDown(false);
    EXPECT_EQ(ui.cross->value(), 0);

    t.player(1).failures["Volume"] = "The device is gone";
    ui.cross->setValue(20);
    EXPECT_EQ(t.reporter.told.size(), 1u);
    t.player(0).setVolume(-1000);
    ui.cross->setValue(80); // deck B first: it fails before deck A is written
    EXPECT_EQ(level(0), -1000);
}

TEST_F(CrossfaderTest, AutoFocusGivesTheCrossfaderTheFocusUnderTheMouse) {
    activate();
    ui.Volumen[0]->setFocus();
    QTest::mouseMove(ui.cross);
    EXPECT_TRUE(ui.Volumen[0]->hasFocus());
    ui.chkFocus->setChecked(true);
    QTest::mouseMove(ui.cross, QPoint(5, 5));
    EXPECT_TRUE(ui.cross->hasFocus());
}
