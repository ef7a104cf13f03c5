#pragma once

#include "audio/Output.h"

#include <functional>
#include <random>
#include <vector>

namespace velmor::test {

// A sound card in simulated time, offline and deterministic: it asks for a buffer every
// bufferFrames() frames of its own clock, and that clock runs fast or slow by a chosen
// amount (0.001: 0.1 % fast, one buffer more in every thousand). Its callbacks may come late,
// as on a busy machine: each one, by chance, up to a chosen delay, without moving the clock
// (a late buffer is followed by the next ones as fast as they can come, as a card's are).
struct Lateness {
    double chance = 0;     // of a buffer coming late
    double maxSeconds = 0; // how late, evenly spread up to this
    unsigned seed = 1;
};

class DriftingOutput : public audio::Output {
public:
    DriftingOutput(int sampleRate, int bufferFrames, double drift, Lateness lateness = {});

    int sampleRate() const override { return rate_; }
    int bufferFrames() const override { return buffer_; }
    bool rendersOnDemand() const override { return true; }
    std::string name() const override { return "drifting"; }
    void start(audio::OutputCallback& callback) override { callback_ = &callback; }
    void stop() override { callback_ = nullptr; }

    // The true time, in seconds, at which the next buffer is asked for.
    double nextCallSeconds() const { return nextCall_; }
    // Asks for that buffer (the reader work first, as on-demand outputs do).
    void call();
    // The latest buffer, interleaved stereo.
    const std::vector<float>& buffer() const { return out_; }

private:
    const int rate_, buffer_;
    const double period_; // true seconds between two buffers
    Lateness lateness_;
    std::minstd_rand random_;
    std::uniform_real_distribution<double> chance_{0.0, 1.0};
    long calls_ = 0;
    double nextCall_ = 0;
    std::vector<float> out_;
    audio::OutputCallback* callback_ = nullptr;

    void schedule();
};

// Lets each output call back in the order their clocks say, until `seconds` of true time.
void RunClocks(const std::vector<DriftingOutput*>& outputs, double seconds);

// A callback for an output from a function of its buffer (interleaved stereo) and frames.
class CallbackOf : public audio::OutputCallback {
public:
    explicit CallbackOf(std::function<void(float*, int)> render) : render_(std::move(render)) {}
    void renderOutput(float* out, int, int frames) noexcept override { render_(out, frames); }
    void fillAhead() override {}
    void outputLost() noexcept override {}
    void outputUnderflowed() noexcept override {}

private:
    std::function<void(float*, int)> render_;
};

} // namespace velmor::test
