#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace velmor::audio {

// What an output drives: the mixer, and (for outputs that render on demand) the readers.
class OutputCallback {
public:
    virtual ~OutputCallback() = default;
    // Called on the audio thread: writes `frames` interleaved frames of `channels` channels
    // (2, or 4: the main mix on the first two, the headphones on the last two). Real-time safe.
    virtual void renderOutput(float* out, int channels, int frames) noexcept = 0;
    // Does the reader work now, on the calling thread (outputs that render on demand).
    virtual void fillAhead() = 0;
    // The device stopped for good (unplugged, its server gone). Any thread; real-time safe.
    virtual void outputLost() noexcept = 0;
    // The device ran out of audio before this buffer (it says so with the buffer).
    // Audio thread; real-time safe.
    virtual void outputUnderflowed() noexcept = 0;
};

// Where the mix goes: a sound card, a paced silent sink, or a buffer for tests.
class Output {
public:
    virtual ~Output() = default;
    virtual int sampleRate() const = 0;
    virtual int bufferFrames() const = 0;
    virtual int channels() const { return 2; }
    // The latency the device reports for the stream it opened; 0 where it says none.
    virtual double latencySeconds() const { return 0; }
    // Threads of the sound library that carry the output's audio on to the device (a sound
    // server's client thread), raised with the thread that calls back. Any thread but the
    // audio callback's.
    virtual std::vector<pid_t> carrierThreads() const { return {}; }
    // True for an output that renders only when asked, with the reader work done in step.
    virtual bool rendersOnDemand() const { return false; }
    virtual std::string name() const = 0;
    virtual void start(OutputCallback& callback) = 0;
    // Stops once the device has played what it holds.
    virtual void stop() = 0;
    // Stops at once, dropping what the device holds: for a device that went away, which may
    // never play it out.
    virtual void abort() { stop(); }
};

} // namespace velmor::audio
