#pragma once

#include "deck/player/MediaPlayer.h"

#include <cstdint>
#include <functional>

namespace velmor {

namespace audio {
class Engine;
}

// The master's levels after the limiter, and whether the limiter turned the sum down since
// the last look: what the master meter and its clip light show; and the dropouts.
struct MasterLevels {
    MediaPlayer::Levels levels;
    bool limited = false;
    // Dropouts since the start: times the main output and the headphones' device of their
    // own had nothing to play.
    uint64_t underruns = 0;
    uint64_t phonesUnderruns = 0;
};

// Takes the master's levels from the engine, once there is one (`engine` gives nullptr
// until then).
class MasterLevelsReader {
public:
    explicit MasterLevelsReader(std::function<audio::Engine*()> engine)
        : engine_(std::move(engine)) {}
    MasterLevels take();

private:
    std::function<audio::Engine*()> engine_;
    uint64_t limitedBuffers_ = 0;
};

} // namespace velmor
