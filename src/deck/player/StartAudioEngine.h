#pragma once

#include "audio/Engine.h"

#include <memory>

namespace velmor {

class Reporter;

// The application's engine: the default sound card, or, where none can be opened, a silent
// output that keeps time, with the user told once. Losing the device while playing is told
// the same way. The reporter must outlive the engine.
std::unique_ptr<audio::Engine> StartAudioEngine(Reporter& reporter);

inline const char* const kNoAudioDevice =
    "No audio output device could be opened: Velmor plays on, but silently.";

} // namespace velmor
