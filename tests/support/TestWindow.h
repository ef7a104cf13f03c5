#pragma once

#include "app/Main.h"
#include "support/FakePlayer.h"
#include "support/RecordingReporter.h"

#include <functional>
#include <memory>

namespace velmor::test {

// The real main window on fake players, with a recording reporter, after start-up.
struct TestWindow {
    explicit TestWindow(int screenHeightTwips = 11520, bool load = true,
                        const std::function<void(MainOptions&)>& more = {});
    Main& w() { return *window; }
    FakePlayer& player(int d) { return *players[d]; }
    // Opens a file in deck d and delivers the notifications.
    void open(int d, const QString& path);
    // Appends entries of `folder` to deck d's playlist and opens the first, as adding does.
    void fill(int d, const QStringList& names, const QString& folder = "/music");
    // Presses Play/Pause of deck d and delivers the notifications.
    void playPause(int d);

    RecordingReporter reporter;
    std::array<FakePlayer*, kDecks> players{};
    std::unique_ptr<Main> window;
    bool loaded = false;
};

} // namespace velmor::test
