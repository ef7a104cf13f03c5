#pragma once

#include "audio/Output.h"

#include <atomic>
#include <thread>

namespace velmor::audio {

// A silent output that keeps real time: the decks play, end and report exactly as with a
// sound card. Used where no device can be opened or the device was lost.
class NullOutput : public Output {
public:
    explicit NullOutput(int sampleRate = 48000, int bufferFrames = 256)
        : rate_(sampleRate), buffer_(bufferFrames) {}
    ~NullOutput() override { stop(); }

    int sampleRate() const override { return rate_; }
    int bufferFrames() const override { return buffer_; }
    std::string name() const override { return "silent"; }
    void start(OutputCallback& callback) override;
    void stop() override;

private:
    int rate_, buffer_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};

} // namespace velmor::audio
