#include "common/BrowserLists.h"
#include "common/LevelMeterBar.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
// Deck 2's transport, seek panel and position display; the player's notifications shown.
struct TransportTest : WindowTest {
    FakePlayer& player = t.player(1);

    void load(const QString& path, double length) {
        player.durations[path] = length;
        t.open(1, path);
    }
    QString times() { return ui.lblTracking[1]->text() + " " + ui.lblRTracking[1]->text(); }
};
using PlayerEventsTest = TransportTest;
} // namespace

TEST_F(TransportTest, MuteAndSpeedButtonsSetThePlayerButtonsAndTimer) {
    for (bool muted : {true, false}) {
        w.transport.cmdMute_Click(1);
        EXPECT_EQ(player.Mute(), muted);
        EXPECT_EQ(ui.cmdMute[1]->BackColor() == kRed, muted);
    }
    struct Case {
        ColorButton* button;
        double rate;
        int interval;
    };
    ColorButton* const speeds[] = {ui.cmdSlowPlay[1], ui.cmdNormalPlay[1], ui.cmdFastPlay[1],
                                   ui.cmdUltraPlay[1]};
    for (const Case& c : {Case{speeds[2], 1.5, 167}, Case{speeds[0], 0.5, 500},
                          Case{speeds[3], 2.0, 125}, Case{speeds[1], 1, 250}}) {
        c.button->click();
        EXPECT_EQ(player.Rate(), c.rate);
        EXPECT_EQ(ui.timer[1]->interval(), c.interval);
        for (ColorButton* b : speeds)
            EXPECT_EQ(b->isEnabled(), b != c.button) << c.rate;
    }
    // The rate goes last: a refusing player leaves buttons and timer already set.
    player.failures["Rate"] = "Rate not supported";
    w.transport.cmdUltraPlay_Click(1);
    EXPECT_FALSE(speeds[3]->isEnabled());
    EXPECT_EQ(ui.timer[1]->interval(), 125);
    EXPECT_EQ(t.reporter.messages.size(), 1u);
}

TEST_F(TransportTest, SeekChecksMinutesThenSecondsAndSendsTheSumAndItsBoxesHandOnTheFocus) {
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
        {"100", "0", -1, ui.txtSet[1]},
        {"-1", "abc", -1, ui.txtSet[1]}, // the seconds not examined
        {"0", "60", -1, ui.txtSetSec[1]},
        {"0", "-1", -1, ui.txtSetSec[1]},
        {"abc", "0", -1, ui.txtSetSec[0]},
    };
    for (const Case& c : cases) {
        player.log.clear();
        t.reporter.clear();
        ui.txtSet[1]->setText(c.minutes);
        ui.txtSetSec[1]->setText(c.seconds);
        ui.txtSetSec[0]->setFocus(); // another deck's box
        w.transport.cmdSet_Click(1);
        SCOPED_TRACE(std::string(c.minutes) + " " + c.seconds);
        const QStringList seek{QString("Position %1").arg(c.position)};
        EXPECT_EQ(player.log, c.position >= 0 ? seek : QStringList());
        EXPECT_EQ(t.reporter.messages.size(), c.position >= 0 ? 0u : 1u);
        if (c.position >= 0) {
            EXPECT_EQ(ui.Tracker[1]->value(), std::min(c.position, ui.Tracker[1]->maximum()));
        } else {
            EXPECT_EQ(QApplication::focusWidget(), c.focus);
        }
    }
    // The boxes select all on a click and give the folder list the focus on Enter.
    ui.txtSetSec[2]->setText("42");
    QTest::mouseClick(ui.txtSetSec[2], Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(ui.txtSetSec[2]->selectedText(), "42");
    QTest::keyClick(ui.txtSetSec[2], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), reinterpret_cast<QWidget*>(ui.dir));
}

TEST_F(TransportTest, TicksShowBarsSliderAndBothTimesAndOnlyTheUsersMovesSeek) {
    load("/music/Song.mp3", 200);
    t.playPause(1);
    player.setPosition(70.2);
    player.log.clear();
    w.position.timer_Timer(1);
    EXPECT_EQ(times(), "1:10 2:10");
    EXPECT_EQ(ui.Tracker[1]->value(), 70);
    EXPECT_NEAR(ui.shpVa[1]->WidthTwips(), 373.815, 1e-3);
    EXPECT_NEAR(ui.shpQueda[1]->WidthTwips(), 691.185, 1e-3);
    EXPECT_TRUE(player.log.isEmpty()); // the timer's own setting of the slider is no seek
    EXPECT_EQ(ui.lblTracking[0]->text(), "0:0") << "other decks stay as they were";

    ui.Tracker[1]->setSliderPosition(90); // a drag
    EXPECT_EQ(player.log, QStringList{"Position 90"});
    EXPECT_EQ(ui.lblTracking[1]->text(), "1:10"); // playing: the labels follow at the next tick
    w.show();
    ui.Tracker[1]->setFocus();
    QTest::keyClick(ui.Tracker[1], Qt::Key_Right); // keys move it by one second
    EXPECT_EQ(player.CurrentPosition(), 91.0);

    load("/music/Empty.wav", 0); // a track without length leaves the bars alone
    t.playPause(1);
    ui.shpVa[1]->setWidthTwips(300);
    w.position.timer_Timer(1);
    EXPECT_EQ(ui.shpVa[1]->WidthTwips(), 300);
    EXPECT_NEAR(ui.shpQueda[1]->WidthTwips(), 691.185, 1e-3);
}

TEST_F(PlayerEventsTest, AnOpenedFileShowsItsLengthAClosedOneNothingAndABadNameIsANotice) {
    t.player(0).durations["/music/Song.mp3"] = 185.4;
    t.open(0, "/music/Song.mp3");
    EXPECT_EQ(ui.fra[0]->Caption(), "1. Song 3:5");
    EXPECT_EQ(ui.Tracker[0]->maximum(), 185);
    EXPECT_EQ(ui.lblRTracking[0]->text(), "3:5");

    t.player(2).setFileName("/music/x.mp3");
    t.player(2).closeFile();
    DeliverNotifications();
    EXPECT_EQ(ui.fra[2]->Caption(), "3. ");
    EXPECT_FALSE(ui.cmdPlayPause[2]->isEnabled());

    // A name too short for a title: a notice, since the notification is nobody's command;
    // what came before it stays done.
    t.open(1, "/music/a.b");
    EXPECT_EQ(t.reporter.notices.size(), 1u);
    EXPECT_TRUE(t.reporter.empty());
    EXPECT_TRUE(ui.cmdPlayPause[1]->isEnabled());
    EXPECT_EQ(w.decks.TrackLength[1], 185.4);
}

// A failure in the user's command is a box; while a deck plays or at a track's end, a notice.
// Either way the steps before it stay done and no stop is left flagged as the user's.
TEST_F(PlayerEventsTest, AFailingStepIsToldAndTheStepsBeforeItStayDone) {
    t.fill(1, {"A.mp3", "B.mp3"});
    player.failures["Play"] = "The device is gone";
    w.transport.cmdPlayPause_Click(1);
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(t.reporter.last().icon, Icon::Exclamation);
    player.failures = {{"Stop", "The device is gone"}};
    t.playPause(1);
    w.transport.cmdStop_Click(1);
    EXPECT_EQ(t.reporter.notices.size(), 1u);
    EXPECT_FALSE(w.decks.StoppedByUser[1]);
    player.failures.clear();

    ui.txtSet[1]->setText("soon");
    w.decks.PreviousRequested[1] = true;
    player.endTrack();
    DeliverNotifications();
    ASSERT_EQ(t.reporter.notices.size(), 2u);
    EXPECT_FALSE(ui.timer[1]->isActive());
    EXPECT_TRUE(ui.cmdStop[1]->isEnabled()); // the steps after the cue were not reached
    EXPECT_TRUE(w.decks.PreviousRequested[1]);
}

TEST_F(PlayerEventsTest, ALongTitleGivesWayInItsMiddleBeforeTheLevelMeter) {
    t.open(2, "/music/" + QString("A long title ").repeated(8) + "and its end.mp3");
    const QString shown = ui.fra[2]->DisplayedCaption();
    EXPECT_TRUE(shown.startsWith("3. A long") && shown.endsWith("its end 3:5") &&
                shown.contains(QChar(0x2026)))
        << qPrintable(shown);
    QWidget* meter = ui.mtrLevel[2];
    meter->hide();
    const QImage frame = ui.fra[2]->grab().toImage();
    for (int y = 0; y <= meter->geometry().bottom() + 2; ++y)
        for (int x = meter->x(); x < frame.width(); ++x)
            ASSERT_GT(QColor(frame.pixel(x, y)).lightness(), 80) << x << "," << y;
}
