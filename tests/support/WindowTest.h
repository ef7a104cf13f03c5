#pragma once

#include "support/TestWindow.h"

#include <QTest>
#include <gtest/gtest.h>

namespace velmor::test {

// A test on the real window after start-up, with its controls at hand.
struct WindowTest : ::testing::Test {
    TestWindow t;
    Main& w = t.w();
    Controls& ui = w.ui;

    void clearPlayerLogs() {
        for (FakePlayer* player : t.players)
            player->log.clear();
    }
    // Deck d gets "/music/<d + 1>.mp3".
    void openEveryDeck() {
        for (int d = 0; d < kDecks; ++d)
            t.open(d, QString("/music/%1.mp3").arg(d + 1));
    }
    // Shows the window and makes it the active one, so that keys and clicks reach it.
    void activate() {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
};

} // namespace velmor::test
