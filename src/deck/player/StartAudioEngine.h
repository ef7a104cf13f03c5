#pragma once

#include "audio/Engine.h"

#include <memory>

namespace velmor {

class Reporter;

// The default sound card, opened; nothing where none can be opened. Slow: PortAudio probes
// every ALSA device first, which takes longer than building the window, so the program
// opens it on a thread of its own meanwhile.
std::unique_ptr<audio::Output> OpenAudioDevice();

// The application's engine on `device`, or, where there is none or it cannot start, on a
// silent output that keeps time, with the user told once. Losing the device while playing is
// told the same way. The reporter must outlive the engine.
std::unique_ptr<audio::Engine> StartAudioEngine(Reporter& reporter,
                                                std::unique_ptr<audio::Output> device);
std::unique_ptr<audio::Engine> StartAudioEngine(Reporter& reporter);

inline const char* const kNoAudioDevice =
    "No audio output device could be opened: Velmor plays on, but silently.";
inline const char* const kAudioDeviceLost =
    "The audio output device stopped working: Velmor plays on, but silently.";

} // namespace velmor
