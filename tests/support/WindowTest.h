#pragma once

#include "support/TestWindow.h"

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
};

} // namespace velmor::test
