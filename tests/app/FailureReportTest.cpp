#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QTimer>

using namespace velmor;
using namespace velmor::test;

namespace {
// Every deck loaded, the window active, Deck 2's Play failing.
struct FailureReportTest : WindowTest {
    void SetUp() override {
        openEveryDeck();
        activate();
        t.player(1).failures["Play"] = "The device is gone";
        t.reporter.clear();
    }
    void clickPlayOfDeck2() { QTest::mouseClick(ui.cmdPlayPause[1], Qt::LeftButton); }
};
} // namespace

// A failure takes the keyboard in a box only when the user's own click caused it with nothing
// playing; while a deck plays, or when a timer met it, it is a notice.
TEST_F(FailureReportTest, TheUsersOwnClickWithNothingPlayingIsToldInABox) {
    clickPlayOfDeck2();
    EXPECT_EQ(t.reporter.told, std::vector<QString>{"The device is gone"});
    EXPECT_EQ(t.reporter.messages.size(), 1u);
}

TEST_F(FailureReportTest, WhatATimerMeetsOrAClickWhileADeckPlaysIsANotice) {
    QTimer::singleShot(0, &w, [&] { w.panels[1]->cmdPlayPause_Click(); });
    DeliverNotifications();
    t.playPause(0);
    clickPlayOfDeck2();
    EXPECT_EQ(t.reporter.told, (std::vector<QString>{"The device is gone", "The device is gone"}));
    EXPECT_EQ(t.reporter.messages.size(), 0u);
}
