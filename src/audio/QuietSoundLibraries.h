#pragma once

namespace velmor::audio {

// ALSA and JACK print diagnostics of their own while PortAudio looks at their devices: some
// eighty lines that read like errors at every start, and again at every search for a lost
// card. They go nowhere instead; what a user must know, the engine tells in the window.
// VELMOR_SOUND_DIAGNOSTICS=1 in the environment keeps them, for finding out what a sound
// set-up does. Call before PortAudio starts; later calls do nothing.
void QuietSoundLibraries();

} // namespace velmor::audio
