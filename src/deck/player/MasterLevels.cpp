#include "deck/player/MasterLevels.h"

#include "audio/Engine.h"

namespace velmor {

MasterLevels MasterLevelsReader::take() {
    audio::Engine* engine = engine_();
    if (!engine)
        return {};
    const uint64_t limited = engine->limitedBuffers();
    const bool moved = limited != limitedBuffers_;
    limitedBuffers_ = limited;
    return {engine->takeMasterLevels(), moved, engine->underruns(), engine->headphoneUnderruns()};
}

} // namespace velmor
