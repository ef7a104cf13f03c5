#pragma once

#include <atomic>

namespace velmor::audio {

// The dip of the main mix under a voice: on, the mix falls by the depth in a straight line in
// decibels over kDownSeconds; off, it comes back the same way over kUpSeconds. The UI thread
// sets it; the audio callback ramps toward it, sample by sample.
class MasterDuck {
public:
    static constexpr double kDownSeconds = 0.15;
    static constexpr double kUpSeconds = 1.0;
    static constexpr double kDefaultDepthDb = 15.0;

    explicit MasterDuck(int sampleRate) : rate_(sampleRate) {}

    // UI thread.
    void set(bool on) { on_.store(on, std::memory_order_relaxed); }
    bool on() const { return on_.load(std::memory_order_relaxed); }
    void setDepth(double db) { depth_.store(static_cast<float>(db), std::memory_order_relaxed); }

    // Audio callback: turns the stereo frames down by where the dip stands.
    void process(float* stereo, int frames) noexcept;
    // How far the mix is turned down now, in dB (0 when not at all). Any thread.
    double dipDb() const { return dip_.load(std::memory_order_relaxed); }

private:
    const int rate_;
    std::atomic<bool> on_{false};
    std::atomic<float> depth_{static_cast<float>(kDefaultDepthDb)};
    std::atomic<float> dip_{0}; // for readers
    float dipDb_ = 0;           // the callback's own: how far down it is now
    float gain_ = 1;
};

} // namespace velmor::audio
