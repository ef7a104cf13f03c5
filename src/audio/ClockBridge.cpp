#include "audio/ClockBridge.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmor::audio {

namespace {

constexpr double kOne = 4294967296.0; // 2^32: one frame of phase

// The modified Bessel function of the first kind, order 0, for the Kaiser window.
double BesselI0(double x) {
    double sum = 1, term = 1;
    for (int k = 1; k < 40; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

// Four floats worked on at once (SSE on x86, NEON on ARM): a frame's sixteen taps are four
// steps of them.
using Lanes = float __attribute__((vector_size(16)));

Lanes LanesAt(const float* p) {
    Lanes lanes;
    std::memcpy(&lanes, p, sizeof lanes);
    return lanes;
}

} // namespace

// Why our own interpolator and not libsoxr's variable rate: soxr's header promises nothing
// about memory while processing (its variable-rate stage keeps FIFOs that may grow), and the
// callback must never allocate. The rate changes by 0.2 % at most, so there is no band to
// guard against aliasing: a sinc over the whole band, Kaiser-windowed (beta 6) over
// 16 frames, is flat within 0.01 dB at every fraction up to 18 kHz at 48 kHz (0.6 dB at
// 20 kHz), and at a fraction of zero it is the input itself. Cubic interpolation would dull
// 16 kHz by 3 dB at half a frame, and the fraction sweeps through every value as the clocks
// slide, so that the top of the sound would pulse.
ClockBridge::ClockBridge(int sampleRate, int targetFrames, int capacityFrames)
    : rate_(sampleRate), target_(targetFrames), ring_(static_cast<size_t>(capacityFrames)),
      table_((kPhases + 1) * kTaps), slopes_(kPhases * kTaps),
      left_(kTaps + static_cast<size_t>(kChunkFrames * (1 + kMaxCorrection)) + 2),
      right_(left_.size()) {
    constexpr double kBeta = 6, kHalf = kTaps / 2.0;
    for (int p = 0; p <= kPhases; ++p) {
        const double fraction = static_cast<double>(p) / kPhases;
        double row[kTaps], sum = 0;
        for (int k = 0; k < kTaps; ++k) {
            const double x = k - (kHalf - 1) - fraction; // from the point heard, in frames
            const double sinc = x == 0 ? 1 : std::sin(M_PI * x) / (M_PI * x);
            const double r = x / kHalf;
            row[k] = std::abs(r) >= 1
                         ? 0
                         : sinc * BesselI0(kBeta * std::sqrt(1 - r * r)) / BesselI0(kBeta);
            if (p % kPhases == 0 && x != 0)
                row[k] = 0; // whole frames: the input itself, not a rounding of it
            sum += row[k];
        }
        for (int k = 0; k < kTaps; ++k) // a steady level passes unchanged at every fraction
            table_[p * kTaps + k] = static_cast<float>(row[k] / sum);
    }
    for (int i = 0; i < kPhases * kTaps; ++i)
        slopes_[i] = table_[i + kTaps] - table_[i];
}

void ClockBridge::push(const float* stereo, int frames) noexcept {
    const size_t kept =
        ring_.pushSome(static_cast<size_t>(frames), [stereo](Frame& frame, size_t i) {
            frame = {stereo[2 * i], stereo[2 * i + 1]};
        });
    if (kept < static_cast<size_t>(frames))
        fullRing_.fetch_add(1, std::memory_order_relaxed);
}

void ClockBridge::pull(float* stereo, int frames) noexcept {
    for (int done = 0; done < frames;) {
        const int n = std::min(frames - done, kChunkFrames);
        pullChunk(stereo + 2 * done, n);
        done += n;
    }
}

void ClockBridge::idle(float* stereo, int frames) noexcept {
    playing_ = false;
    ring_.drop(ring_.size());
    std::fill(stereo, stereo + 2 * frames, 0.0f);
}

void ClockBridge::pullChunk(float* stereo, int frames) noexcept {
    const int target = targetFrames();
    size_t fill = ring_.size();
    if (!playing_) {
        if (fill < static_cast<size_t>(target)) {
            std::fill(stereo, stereo + 2 * frames, 0.0f);
            return;
        }
        restart();
    }
    if (fill > static_cast<size_t>(target) + kCutBackFrames) {
        ring_.drop(fill - static_cast<size_t>(target));
        fill = static_cast<size_t>(target);
        smoothedFill_ = target;
        cutBacks_.fetch_add(1, std::memory_order_relaxed);
    }
    steer(fill, target, frames);

    // The frames this chunk reads: one each time the phase passes a whole frame.
    const uint64_t end = phase_ + static_cast<uint64_t>(frames) * step_;
    const size_t wanted = static_cast<size_t>(end >> 32);
    const size_t got = ring_.popSome(wanted, [this](const Frame& frame, size_t i) {
        left_[kTaps + i] = frame[0];
        right_[kTaps + i] = frame[1];
    });
    size_t used = 0; // input frames the taps have moved past
    for (int i = 0; i < frames; ++i) {
        interpolate(&left_[used], &right_[used], stereo + 2 * i);
        const uint64_t phase = phase_ + step_;
        used += static_cast<size_t>(phase >> 32); // whole frames passed: one, now and then 0 or 2
        phase_ = static_cast<uint32_t>(phase);
        if (used > got) { // dry: silence until the ring is back at the target
            std::fill(stereo + 2 * (i + 1), stereo + 2 * frames, 0.0f);
            underruns_.fetch_add(1, std::memory_order_relaxed);
            playing_ = false;
            return;
        }
    }
    if (used == 0)
        return;
    // The last kTaps frames go before the next chunk's.
    std::copy_n(left_.begin() + static_cast<long>(used), kTaps, left_.begin());
    std::copy_n(right_.begin() + static_cast<long>(used), kTaps, right_.begin());
}

// The correction is the loop's proportional part and its integral, the integral being the
// drift it has learnt. With the fill's error e (frames) and the correction c, the ring moves
// by rate * (drift - c) frames a second; c = kp e + ki * integral(e) makes that a second-order
// loop of natural frequency sqrt(rate ki) and damping rate kp / (2 sqrt(rate ki)).
void ClockBridge::steer(size_t fill, int target, int frames) noexcept {
    const double seconds = static_cast<double>(frames) / rate_;
    const double omega = kLoopRadiansPerSecond;
    const double kp = 2 * omega / rate_, ki = omega * omega / rate_;
    smoothedFill_ +=
        (static_cast<double>(fill) - smoothedFill_) * std::min(1.0, seconds / kSmoothingSeconds);
    const double error = smoothedFill_ - target;
    integral_ = std::clamp(integral_ + ki * error * seconds, -kMaxCorrection, kMaxCorrection);
    const double correction = std::clamp(kp * error + integral_, -kMaxCorrection, kMaxCorrection);
    step_ = static_cast<uint64_t>(std::llround((1 + correction) * kOne));
    correction_.store(correction, std::memory_order_relaxed);
    drift_.store(integral_, std::memory_order_relaxed);
}

// From silence: the frames before the first are zeros, so the sound fades in over kTaps
// frames rather than starting with a step. The integral is kept: the drift it learnt still
// holds.
void ClockBridge::restart() noexcept {
    playing_ = true;
    smoothedFill_ = static_cast<double>(ring_.size());
    std::fill_n(left_.begin(), kTaps, 0.0f);
    std::fill_n(right_.begin(), kTaps, 0.0f);
    phase_ = 0;
}

// One frame from the kTaps frames from `left` and `right` on.
void ClockBridge::interpolate(const float* left, const float* right, float* frame) const noexcept {
    static_assert(kPhases == 256 && kTaps % 4 == 0);
    const uint32_t row = phase_ >> 24;
    const float within = static_cast<float>(phase_ & 0x00ffffffu) * (1.0f / 16777216.0f);
    const float* base = &table_[row * kTaps];
    const float* slope = &slopes_[row * kTaps];
    Lanes l = {}, r = {};
    for (int k = 0; k < kTaps; k += 4) {
        const Lanes c = LanesAt(base + k) + within * LanesAt(slope + k);
        l += c * LanesAt(left + k);
        r += c * LanesAt(right + k);
    }
    frame[0] = (l[0] + l[1]) + (l[2] + l[3]);
    frame[1] = (r[0] + r[1]) + (r[2] + r[3]);
}

} // namespace velmor::audio
