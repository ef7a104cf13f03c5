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

TEST_F(TransportTest, MuteTogglesThePlayerAndTheButtonTogether) {
    w.transport.cmdMute_Click(0);
    EXPECT_TRUE(player.Mute());
    EXPECT_EQ(ui.cmdMute[0]->BackColor(), kRed);
    EXPECT_EQ(player.Volume(), 0);
    w.transport.cmdMute_Click(0);
    EXPECT_FALSE(player.Mute());
    EXPECT_EQ(ui.cmdMute[0]->BackColor(), kButtonFace);
}

TEST_F(TransportTest, SpeedButtonsSetButtonsThenTimerThenRate) {
    struct Case {
        ColorButton* button;
        double rate;
        int interval;
    };
    for (const Case& c : {Case{ui.cmdFastPlay[0], 1.5, 167}, Case{ui.cmdSlowPlay[0], 0.5, 500},
                          Case{ui.cmdUltraPlay[0], 2.0, 125}, Case{ui.cmdNormalPlay[0], 1, 250}}) {
        c.button->click();
        EXPECT_EQ(player.Rate(), c.rate);
        EXPECT_EQ(ui.timer[0]->interval(), c.interval);
        for (ColorButton* b :
             {ui.cmdSlowPlay[0], ui.cmdNormalPlay[0], ui.cmdFastPlay[0], ui.cmdUltraPlay[0]})
            EXPECT_EQ(b->isEnabled(), b != c.button) << c.rate;
    }
    EXPECT_FALSE(ui.timer[0]->isActive());
    // The rate goes last: a refusing player leaves buttons and timer already set.
    player.failures["Rate"] = "Rate not supported";
    w.transport.cmdUltraPlay_Click(0);
    EXPECT_FALSE(ui.cmdUltraPlay[0]->isEnabled());
    EXPECT_EQ(ui.timer[0]->interval(), 125);
    EXPECT_EQ(t.reporter.last().text, "Rate not supported");
}

TEST_F(TransportTest, SeekChecksMinutesThenSecondsAndSendsTheSum) {
    w.show();
    QApplication::processEvents();
    struct Case {
        const char *minutes, *seconds;
        int position;        // -1: no seek
        const char* refusal; // the box's text, with the focus on the box at fault
        QLineEdit* focus;
    };
    const Case cases[] = {
        {"99", "59", 5999, nullptr, nullptr},
        {"1.5", "0", 90, nullptr, nullptr},
        {"100", "0", -1, "Number out of range", ui.txtSet[0]},
        {"-1", "abc", -1, "Number out of range", ui.txtSet[0]}, // the seconds not examined
        {"0", "60", -1, "Number out of range", ui.txtSetSec[0]},
        {"0", "-1", -1, "Number out of range", ui.txtSetSec[0]},
        {"abc", "0", -1, "Type mismatch", nullptr},
    };
    for (const Case& c : cases) {
        player.log.clear();
        t.reporter.clear();
        ui.txtSet[0]->setText(c.minutes);
        ui.txtSetSec[0]->setText(c.seconds);
        ui.txtSetSec[1]->setFocus();
        w.transport.cmdSet_Click(0);
        const std::string what = std::string(c.minutes) + " " + c.seconds;
        if (c.position >= 0) {
            EXPECT_EQ(player.log, QStringList{QString("Position %1").arg(c.position)}) << what;
            EXPECT_EQ(ui.Tracker[0]->value(), std::min(c.position, ui.Tracker[0]->maximum()));
            EXPECT_TRUE(t.reporter.empty()) << what;
            continue;
        }
        EXPECT_TRUE(player.log.isEmpty()) << what;
        ASSERT_EQ(t.reporter.messages.size(), 1u) << what;
        EXPECT_EQ(t.reporter.last().text, c.refusal) << what;
        if (c.focus) {
            EXPECT_EQ(QApplication::focusWidget(), c.focus) << what;
        }
    }
    EXPECT_EQ(ui.txtSet[0]->text(), "abc"); // the box keeps what was typed
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

TEST_F(TransportTest, TheVolumeSliderSetsThePlayerLevelAndTheLabel) {
    ui.Volumen[1]->setValue(60); // a value set by the program counts as a move
    EXPECT_EQ(t.player(1).Volume(), -1800);
    EXPECT_EQ(ui.lblVolumen[1]->text(), "60");
    EXPECT_EQ(player.Volume(), 0);
}
