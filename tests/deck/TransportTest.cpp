#include "common/BrowserLists.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct TransportTest : WindowTest {
    FakePlayer& player = t.player(0);
};
} // namespace

TEST_F(TransportTest, MuteAndSpeedButtonsSetThePlayerButtonsAndTimer) {
    for (bool muted : {true, false}) {
        w.transport.cmdMute_Click(0);
        EXPECT_EQ(player.Mute(), muted);
        EXPECT_EQ(ui.cmdMute[0]->BackColor() == kRed, muted);
    }
    struct Case {
        ColorButton* button;
        double rate;
        int interval;
    };
    ColorButton* const speeds[] = {ui.cmdSlowPlay[0], ui.cmdNormalPlay[0], ui.cmdFastPlay[0],
                                   ui.cmdUltraPlay[0]};
    for (const Case& c : {Case{speeds[2], 1.5, 167}, Case{speeds[0], 0.5, 500},
                          Case{speeds[3], 2.0, 125}, Case{speeds[1], 1, 250}}) {
        c.button->click();
        EXPECT_EQ(player.Rate(), c.rate);
        EXPECT_EQ(ui.timer[0]->interval(), c.interval);
        for (ColorButton* b : speeds)
            EXPECT_EQ(b->isEnabled(), b != c.button) << c.rate;
    }
    // The rate goes last: a refusing player leaves buttons and timer already set.
    player.failures["Rate"] = "Rate not supported";
    w.transport.cmdUltraPlay_Click(0);
    EXPECT_FALSE(speeds[3]->isEnabled());
    EXPECT_EQ(ui.timer[0]->interval(), 125);
    EXPECT_EQ(t.reporter.messages.size(), 1u);
}

TEST_F(TransportTest, SeekChecksMinutesThenSecondsAndSendsTheSum) {
    w.show();
    QApplication::processEvents();
    struct Case {
        const char *minutes, *seconds;
        int position;     // -1: refused, with a box
        QLineEdit* focus; // the box at fault, if any
    };
    const Case cases[] = {
        {"99", "59", 5999, nullptr},
        {"1.5", "0", 90, nullptr},
        {"100", "0", -1, ui.txtSet[0]},
        {"-1", "abc", -1, ui.txtSet[0]}, // the seconds not examined
        {"0", "60", -1, ui.txtSetSec[0]},
        {"0", "-1", -1, ui.txtSetSec[0]},
        {"abc", "0", -1, ui.txtSetSec[1]},
    };
    for (const Case& c : cases) {
        player.log.clear();
        t.reporter.clear();
        ui.txtSet[0]->setText(c.minutes);
        ui.txtSetSec[0]->setText(c.seconds);
        ui.txtSetSec[1]->setFocus();
        w.transport.cmdSet_Click(0);
        SCOPED_TRACE(std::string(c.minutes) + " " + c.seconds);
        const QStringList seek{QString("Position %1").arg(c.position)};
        EXPECT_EQ(player.log, c.position >= 0 ? seek : QStringList());
        EXPECT_EQ(t.reporter.messages.size(), c.position >= 0 ? 0u : 1u);
        if (c.position >= 0) {
            EXPECT_EQ(ui.Tracker[0]->value(), std::min(c.position, ui.Tracker[0]->maximum()));
        } else {
            EXPECT_EQ(QApplication::focusWidget(), c.focus);
        }
    }
}

TEST_F(TransportTest, SeekBoxesSelectAllOnClickAndGiveTheFolderListTheFocusOnEnter) {
    w.show();
    QApplication::processEvents();
    ui.txtSetSec[2]->setText("42");
    QTest::mouseClick(ui.txtSetSec[2], Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(ui.txtSetSec[2]->selectedText(), "42");
    QTest::keyClick(ui.txtSetSec[2], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), reinterpret_cast<QWidget*>(ui.dir));
}
