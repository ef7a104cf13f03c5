#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace velmor::audio {

// The largest of the last `window` values pushed: a fixed ring, no allocation after
// construction, constant time a push on average.
class SlidingMax {
public:
    explicit SlidingMax(int window, float initial);
    float push(float value) noexcept;

private:
    struct Entry {
        float value;
        int64_t index;
    };
    std::vector<Entry> entries_; // a ring: increasing index, decreasing value, from front_ on
    size_t front_ = 0, back_ = 0, count_ = 0;
    int64_t next_ = 0;
    const int window_;
};

// The master bus's safety net: a look-ahead peak limiter on the sum of the decks. Below its
// ceiling it changes nothing: every sample comes out bit for bit, only delayed by
// delayFrames(). Above it, the gain comes down before the peak arrives, holds through a
// burst of peaks (a bass note's cycles, two tones beating) and comes back up slowly, so that
// two loud decks together are turned down, never clipped and never pumped.
//
// The gain is worked out every kChunkFrames frames and moves in a straight line in between:
// the per-sample work is a multiply. The gain at each chunk's edges is never above what the
// loudest sample of the chunks on either side allows, so the line between them is not
// either. Real-time safe: all memory is taken at construction.
class MasterLimiter {
public:
    static constexpr double kCeilingDb = -0.5; // under -0.3 dBFS even through a resampler
    static constexpr double kLookAheadSeconds = 0.001;
    static constexpr double kHoldSeconds = 0.025; // longer than a cycle of a 40 Hz bass note
    static constexpr double kReleaseSeconds = 0.25;
    static constexpr int kChunkFrames = 16;

    explicit MasterLimiter(int sampleRate);

    float ceiling() const { return ceiling_; }
    int delayFrames() const { return lookAheadChunks_ * kChunkFrames; }

    // Limits `frames` interleaved stereo frames in place: what comes out went in
    // delayFrames() earlier. Returns true when the limiter was at rest (transparent, holding
    // back only silence) and silence came in: then it went through untouched, at no cost.
    bool process(float* stereo, int frames) noexcept;

    // The lowest gain of the latest process() call: 1 while transparent. Any thread.
    float lastGain() const { return lastGain_.load(std::memory_order_relaxed); }
    // How many process() calls turned something down. Any thread.
    uint64_t limitedBlocks() const { return limitedBlocks_.load(std::memory_order_relaxed); }

private:
    void endChunk() noexcept;
    bool atRest() const noexcept;

    const float ceiling_;
    const int lookAheadChunks_;
    const float releaseDecay_; // what is left of the level's excess after one chunk
    std::vector<float> delay_; // interleaved, delayFrames() long, chunk-aligned
    int delayAt_ = 0;          // frame of delay_ to give out next
    int phase_ = 0;            // frames of the current chunk done
    float chunkPeak_ = 0;
    float previousLevel_;
    SlidingMax held_;
    float released_;
    std::vector<float> smoothing_; // the released level's excess over the ceiling, recent chunks
    size_t smoothingAt_ = 0;
    float gainFrom_ = 1.0f, gainTo_ = 1.0f; // at the edges of the chunk being given out
    float lowestGain_ = 1.0f;
    // Chunks of silence in a row; past the look-ahead and the hold nothing but silence is
    // left in the limiter. It starts out at rest.
    const int restChunks_;
    int quietChunks_;
    std::atomic<float> lastGain_{1.0f};
    std::atomic<uint64_t> limitedBlocks_{0};
};

} // namespace velmor::audio
