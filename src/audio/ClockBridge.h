#pragma once

#include "audio/SpscRing.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmor::audio {

// Carries stereo audio from one device's callback to the callback of another device that
// keeps time by a clock of its own: headphones on a card of their own, a recorder, a booth
// output. No two clocks agree: sound cards differ by tens of ppm (0.1 % is far out), so a
// plain ring between them slowly runs dry or overflows, however long it is. The bridge
// keeps its ring near a target fill instead: the reading side reads the ring a little
// faster or slower than its own rate, by a correction that a PI loop on the ring's smoothed
// fill sets, through an interpolator. The correction moves slowly and stays within
// kMaxCorrection (3.5 cents), so it is not heard; two sound cards need some tens of ppm.
//
// push() on the writing device's audio thread, pull() and idle() on the reading one's; both
// real-time safe: no lock, no allocation, no system call. The counters may be read anywhere.
class ClockBridge {
public:
    static constexpr double kMaxCorrection = 0.002; // twice the worst drift we allow for, 0.1 %
    // The loop, critically damped: a change of drift is made up within about half a minute.
    // The fill it acts on is smoothed over a second, so that a buffer coming late now and
    // then barely moves the rate. A faster loop swings the rate more: where the two devices'
    // buffers slide past each other, the fill seen at each callback jumps by a buffer.
    static constexpr double kLoopRadiansPerSecond = 0.1;
    static constexpr double kSmoothingSeconds = 1.0;
    // More than this beyond the target (the reading device stalled, or is far behind), the
    // ring is cut back to the target rather than played out at a sped-up rate.
    static constexpr int kCutBackFrames = 4096;
    // The interpolator: a windowed sinc of kTaps input frames, its coefficients tabled at
    // kPhases fractions of a frame and interpolated between. It delays by kTaps / 2 + 1 frames.
    static constexpr int kTaps = 16;
    static constexpr int kPhases = 256;
    static constexpr int kChunkFrames = 1024; // pull() works in pieces of at most this

    // Keeps about `targetFrames` in a ring of `capacityFrames`; `sampleRate` sets the loop's
    // time constants.
    ClockBridge(int sampleRate, int targetFrames, int capacityFrames);

    // The writing side: `frames` interleaved stereo frames. What does not fit (the reading
    // device stalled) is dropped and counted as an overrun.
    void push(const float* stereo, int frames) noexcept;

    // The reading side: `frames` interleaved stereo frames. Silence until the ring first
    // reaches the target; a ring that runs dry while playing is an underrun, and is filled
    // to the target again before it plays on.
    void pull(float* stereo, int frames) noexcept;
    // The reading side, while nothing is carried (the writer is elsewhere): silence, the
    // ring emptied, and a fresh start at the target when the audio comes back.
    void idle(float* stereo, int frames) noexcept;

    // The reading side: the fill to keep from now on (its device's buffer, say, changed).
    void setTarget(int frames) noexcept { target_.store(frames, std::memory_order_relaxed); }
    int targetFrames() const { return target_.load(std::memory_order_relaxed); }
    // Times the reading side found the ring dry once it played.
    uint64_t underruns() const { return underruns_.load(std::memory_order_relaxed); }
    // Times frames were thrown away: the ring full, or cut back.
    uint64_t overruns() const {
        return fullRing_.load(std::memory_order_relaxed) +
               cutBacks_.load(std::memory_order_relaxed);
    }
    // The reading side's rate correction: input frames read per output frame, minus one.
    double correction() const { return correction_.load(std::memory_order_relaxed); }
    // The part of it the loop has learnt: how much faster the writing clock runs.
    double drift() const { return drift_.load(std::memory_order_relaxed); }

private:
    using Frame = std::array<float, 2>;

    void pullChunk(float* stereo, int frames) noexcept;
    void steer(size_t fill, int target, int frames) noexcept;
    void restart() noexcept;
    void interpolate(const float* left, const float* right, float* frame) const noexcept;

    const int rate_;
    std::atomic<int> target_;
    SpscRing<Frame> ring_;
    std::atomic<uint64_t> fullRing_{0};

    // The reading side's own.
    bool playing_ = false;
    double smoothedFill_ = 0, integral_ = 0;
    uint64_t step_ = uint64_t{1} << 32; // input frames per output frame, 32 fraction bits
    uint32_t phase_ = 0;        // the point heard, past frame kTaps / 2 - 1 of those the taps cover
    std::vector<float> table_;  // kPhases + 1 rows of kTaps coefficients, oldest frame first
    std::vector<float> slopes_; // each row's step to the next
    // A chunk's input, taken from the ring at once, after the kTaps frames before it.
    std::vector<float> left_, right_;
    std::atomic<double> correction_{0}, drift_{0};
    static_assert(std::atomic<double>::is_always_lock_free); // stored on the audio thread
    std::atomic<uint64_t> underruns_{0}, cutBacks_{0};
};

} // namespace velmor::audio
