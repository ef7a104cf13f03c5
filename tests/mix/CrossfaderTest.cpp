#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

// The slider shares the level between the active deck and the next; the last writer wins.
TEST_F(WindowTest, TheCrossfaderSharesTheLevelOfTheActiveDeckAndTheNext) {
    const auto level = [&](int d) { return t.player(d).Volume(); };
    ui.Volumen[0]->setValue(45);
    ui.cross->setValue(25); // a value set by code applies like a move
    EXPECT_EQ(level(0), 45 * 45 - 4500);
    EXPECT_EQ(level(1), -2250);
    ui.Volumen[1]->setValue(80); // a deck's own slider overrides until the next move
    EXPECT_EQ(level(1), -900);
    ui.cross->setValue(26);
    EXPECT_EQ(level(1), -4500 + 42 * 45); // 2 * 26 * 80 / 100 = 41.6

    // Another active deck: the old pair keeps its levels, Deck 4 pairs with Deck 1.
    ui.cross->setValue(0);
    w.activation.optPla_Click(3);
    ui.cross->setValue(100);
    EXPECT_EQ(level(1), -4500);
    EXPECT_EQ(level(3), -4500);
    EXPECT_EQ(level(0), 45 * 45 - 4500);

    // A drag applies the thumb's position; deck B is written first past the middle, so a
    // failure there leaves deck A alone.
    ui.cross->setSliderDown(true);
    ui.cross->setSliderPosition(0);
    EXPECT_EQ(level(0), -4500);
    EXPECT_EQ(level(3), 0);
    ui.cross->setSliderDown(false);
    t.player(0).failures["Volume"] = "The device is gone";
    t.player(3).setVolume(-1000);
    ui.cross->setValue(80);
    EXPECT_EQ(t.reporter.told.size(), 1u);
    EXPECT_EQ(level(3), -1000);
}

TEST_F(WindowTest, AutoFocusGivesTheCrossfaderTheFocusUnderTheMouse) {
    activate();
    ui.Volumen[0]->setFocus();
    QTest::mouseMove(ui.cross);
    EXPECT_TRUE(ui.Volumen[0]->hasFocus());
    ui.chkFocus->setChecked(true);
    QTest::mouseMove(ui.cross, QPoint(5, 5));
    EXPECT_TRUE(ui.cross->hasFocus());
}
