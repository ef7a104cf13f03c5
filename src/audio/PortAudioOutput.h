#pragma once

#include "audio/Output.h"

#include <atomic>

struct PaStreamCallbackTimeInfo;

namespace velmor::audio {

// The default output device through PortAudio: float stereo at the device's own rate (or at
// the rate asked for), in buffers of 256 frames (or what the device takes).
class PortAudioOutput : public Output {
public:
    // Throws std::runtime_error when no device can be opened (at that rate, if one is given).
    explicit PortAudioOutput(int sampleRate = 0);
    ~PortAudioOutput() override;
    PortAudioOutput(const PortAudioOutput&) = delete;
    PortAudioOutput& operator=(const PortAudioOutput&) = delete;

    int sampleRate() const override { return rate_; }
    int bufferFrames() const override { return buffer_; }
    std::string name() const override { return name_; }
    void start(OutputCallback& callback) override;
    void stop() override;
    void abort() override;

private:
    static int Render(const void*, void* output, unsigned long frames,
                      const ::PaStreamCallbackTimeInfo*, unsigned long flags, void* user);
    static void Finished(void* user);

    void* stream_ = nullptr;
    int rate_ = 0;
    int buffer_ = 256;
    std::string name_;
    std::atomic<OutputCallback*> callback_{nullptr};
    std::atomic<bool> stopping_{false};
};

} // namespace velmor::audio
