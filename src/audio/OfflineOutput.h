#pragma once

#include "audio/Output.h"

#include <vector>

namespace velmor::audio {

// Renders on demand, faster than real time and deterministically: before every buffer the
// readers fill their rings completely, so nothing depends on thread timing.
class OfflineOutput : public Output {
public:
    explicit OfflineOutput(int sampleRate = 48000, int bufferFrames = 256, int channels = 2)
        : rate_(sampleRate), buffer_(bufferFrames), channels_(channels) {}

    int sampleRate() const override { return rate_; }
    int bufferFrames() const override { return buffer_; }
    int channels() const override { return channels_; }
    bool rendersOnDemand() const override { return true; }
    std::string name() const override { return "offline"; }
    void start(OutputCallback& callback) override { callback_ = &callback; }
    void stop() override { callback_ = nullptr; }

    // The next `frames` frames of the mix, interleaved (stereo, or the main mix and the
    // headphones for four channels), in buffers of bufferFrames().
    std::vector<float> render(long frames);

private:
    int rate_, buffer_, channels_;
    OutputCallback* callback_ = nullptr;
};

} // namespace velmor::audio
