#pragma once

#include <mutex>

namespace velmor::audio {

// PortAudio opens every PCM of ALSA's configuration to list it, and opening a PCM loads its
// plug-in. Two of the plug-ins Debian installs with PulseAudio's are built on FFmpeg: the
// AC-3 encoder for S/PDIF (`a52`) and FFmpeg's resampler (`lavrate`). Opening either maps
// libavcodec and some sixty libraries behind it, 13 MB of the process, for devices that no
// deck plays through. They are taken out of this process's reading of the configuration
// (the files stay as they are). Call before each Pa_Initialize: PortAudio lets ALSA forget
// its configuration when it ends, and ALSA reads it afresh.
void LeaveOutFfmpegPcms();

// Held while the configuration is trimmed: whoever opens an ALSA device outside PortAudio
// (the MIDI sequencer) takes it too.
std::mutex& AlsaConfigurationLock();

} // namespace velmor::audio
