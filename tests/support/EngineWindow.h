#pragma once

#include "app/Main.h"
#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "support/RecordingReporter.h"

#include <QStringList>
#include <memory>

namespace velmor::test {

// The real main window on engine-backed players over the offline driver, after start-up:
// what a deck plays is rendered on demand and can be measured.
struct EngineWindow {
    explicit EngineWindow(int rate = 48000, int bufferFrames = 256,
                          const std::function<void(MainOptions&)>& more = {});
    Main& w() { return *window; }
    // Appends `names` of `folder` to deck d's list and opens the first, as adding to an empty
    // deck does, with the notifications delivered.
    void fill(int d, const QStringList& names, const QString& folder);

    audio::OfflineOutput* driver = nullptr;
    std::unique_ptr<audio::Engine> engine;
    MasterLevelsReader master{[this] { return engine.get(); }};
    RecordingReporter reporter;
    std::unique_ptr<Main> window; // declared last: gone before the engine it plays on
    bool loaded = false;
};

} // namespace velmor::test
