#pragma once

#include "deck/player/MediaPlayer.h"

#include <cstdint>
#include <functional>

namespace velmor {

namespace audio {
class Engine;
}

// The master's levels after the limiter, and whether the limiter turned the sum down since
// the last look: what the master meter and its clip light show.
struct MasterLevels {
    MediaPlayer::Levels levels;
    bool limited = false;
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
