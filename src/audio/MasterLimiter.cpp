#include "audio/MasterLimiter.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace velmor::audio {

SlidingMax::SlidingMax(int window, float initial)
    : entries_(static_cast<size_t>(window) + 1), window_(window) {
    push(initial);
}

float SlidingMax::push(float value) noexcept {
    // front_ and back_ stay within the ring: back_ is where the next entry goes.
    const size_t size = entries_.size();
    auto before = [size](size_t at) { return at == 0 ? size - 1 : at - 1; };
    while (count_ > 0 && entries_[before(back_)].value <= value) {
        back_ = before(back_);
        --count_;
    }
    entries_[back_] = {value, next_};
    back_ = back_ + 1 == size ? 0 : back_ + 1;
    ++count_;
    while (entries_[front_].index <= next_ - window_) {
        front_ = front_ + 1 == size ? 0 : front_ + 1;
        --count_;
    }
    ++next_;
    return entries_[front_].value;
}

namespace {

int LookAheadChunks(int rate) {
    const long chunks =
        std::lround(MasterLimiter::kLookAheadSeconds * rate / MasterLimiter::kChunkFrames);
    return static_cast<int>(std::max(2L, chunks));
}

int HoldChunks(int rate) {
    return static_cast<int>(
        std::lround(MasterLimiter::kHoldSeconds * rate / MasterLimiter::kChunkFrames));
}

} // namespace

// Levels here are what the loudest sample of a stretch asks for: at least the ceiling, and
// the gain that brings a level to the ceiling is ceiling / level. Each chunk edge gets the
// louder of its two chunks; the held level is the loudest edge of the look-ahead and the
// hold before it; the release lets it fall slowly; the average over the look-ahead turns the
// steps into ramps that are never above any edge they pass.
MasterLimiter::MasterLimiter(int sampleRate)
    : ceiling_(static_cast<float>(std::pow(10.0, kCeilingDb / 20))),
      lookAheadChunks_(LookAheadChunks(sampleRate)),
      releaseDecay_(static_cast<float>(
          std::exp(-kChunkFrames / (kReleaseSeconds * static_cast<double>(sampleRate))))),
      delay_(static_cast<size_t>(2 * delayFrames()), 0.0f), previousLevel_(ceiling_),
      held_(HoldChunks(sampleRate) + lookAheadChunks_ - 1, ceiling_), released_(ceiling_),
      smoothing_(static_cast<size_t>(lookAheadChunks_ - 1), 0.0f),
      restChunks_(HoldChunks(sampleRate) + 2 * lookAheadChunks_), quietChunks_(restChunks_) {}

namespace {

// One stretch of a chunk, in place: the delayed frames go out along the gain's line, the new
// ones go into the delay. Returns the loudest of the new samples, or `peak` if louder.
float Pass(float* __restrict stereo, float* __restrict delayed, int frames, float gain, float step,
           float ceiling, float peak) {
    for (int i = 0; i < frames; ++i) {
        const float left = stereo[2 * i], right = stereo[2 * i + 1];
        peak = std::max(peak, std::max(std::abs(left), std::abs(right)));
        const float g = gain + step * static_cast<float>(i);
        // The line already keeps every sample at or below the ceiling; the clamp only
        // catches the rounding of the last bit.
        stereo[2 * i] = std::clamp(delayed[2 * i] * g, -ceiling, ceiling);
        stereo[2 * i + 1] = std::clamp(delayed[2 * i + 1] * g, -ceiling, ceiling);
        delayed[2 * i] = left;
        delayed[2 * i + 1] = right;
    }
    return peak;
}

} // namespace

bool MasterLimiter::atRest() const noexcept {
    return quietChunks_ >= restChunks_ && gainFrom_ == 1.0f && gainTo_ == 1.0f;
}

bool MasterLimiter::process(float* stereo, int frames) noexcept {
    // Silence in, with only silence held back: silence out, and nothing in the limiter moves
    // (the chunk under way stays as quiet as it was).
    if (atRest() && std::all_of(stereo, stereo + 2 * frames, [](float s) { return s == 0.0f; })) {
        lastGain_.store(1.0f, std::memory_order_relaxed);
        return true;
    }
    lowestGain_ = std::min(gainFrom_, gainTo_);
    while (frames > 0) {
        const int n = std::min(frames, kChunkFrames - phase_);
        const float step = (gainTo_ - gainFrom_) / kChunkFrames;
        chunkPeak_ =
            Pass(stereo, delay_.data() + 2 * delayAt_, n,
                 gainFrom_ + step * static_cast<float>(phase_), step, ceiling_, chunkPeak_);
        stereo += 2 * n;
        frames -= n;
        phase_ += n;
        delayAt_ += n;
        if (phase_ == kChunkFrames)
            endChunk();
    }
    lastGain_.store(lowestGain_, std::memory_order_relaxed);
    if (lowestGain_ < 1.0f)
        limitedBlocks_.fetch_add(1, std::memory_order_relaxed);
    return false;
}

void MasterLimiter::endChunk() noexcept {
    phase_ = 0;
    if (delayAt_ == delayFrames())
        delayAt_ = 0;
    const float level = std::max(chunkPeak_, ceiling_);
    quietChunks_ = chunkPeak_ == 0.0f ? std::min(quietChunks_ + 1, restChunks_) : 0;
    chunkPeak_ = 0;
    const float edge = std::max(level, previousLevel_);
    previousLevel_ = level;
    const float held = held_.push(edge);
    if (held >= released_)
        released_ = held;
    else {
        released_ = held + (released_ - held) * releaseDecay_;
        if (released_ - held < 1e-4f * ceiling_)
            released_ = held; // the last thousandth of a decibel: back to exactly transparent
    }
    smoothing_[smoothingAt_] = released_ - ceiling_;
    smoothingAt_ = smoothingAt_ + 1 == smoothing_.size() ? 0 : smoothingAt_ + 1;
    const float excess = std::accumulate(smoothing_.begin(), smoothing_.end(), 0.0f) /
                         static_cast<float>(smoothing_.size());
    gainFrom_ = gainTo_;
    gainTo_ = excess > 0 ? ceiling_ / (ceiling_ + excess) : 1.0f;
    lowestGain_ = std::min(lowestGain_, gainTo_);
}

} // namespace velmor::audio
