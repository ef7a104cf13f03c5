#pragma once

#include "audio/BlockRing.h"
#include "audio/LevelMeter.h"

#include <atomic>
#include <cstdint>

namespace velmor::audio {

class CueTap;

// What the window wants of a deck; written by the UI thread, read by the audio callback.
struct DeckControls {
    std::atomic<uint64_t> generation{0}; // the latest open/seek/rate/stop request
    std::atomic<bool> playing{false};
    std::atomic<float> gain{1.0f}; // from the level in hundredths of a decibel
    std::atomic<bool> muted{false};
    // A new end for file `endTrack` (0: none) when some of its audio may be rendered beyond
    // it already: what lies past `endSeconds` is not played. `endTrack` is cleared before and
    // set after `endSeconds`, so that the two read as one.
    std::atomic<uint64_t> endTrack{0};
    std::atomic<double> endSeconds{0};
};

static_assert(std::atomic<double>::is_always_lock_free &&
                  std::atomic<uint64_t>::is_always_lock_free,
              "the audio callback must never wait for a lock");

// What the audio callback reports of a deck.
struct DeckStatus {
    std::atomic<uint64_t> heardGeneration{0};
    std::atomic<double> heardSeconds{0};      // track time of the next frame to be heard
    std::atomic<uint64_t> heardTrack{0};      // the file of the next frame to be heard
    std::atomic<uint64_t> endedGeneration{0}; // the request whose track played to its end
    // Times a file was gone on into from the end of the one before, and the request of the
    // latest such join.
    std::atomic<uint64_t> joins{0};
    std::atomic<uint64_t> joinedGeneration{0};
};

// A gain that moves in a straight line to its target over a set number of frames.
class LinearRamp {
public:
    explicit LinearRamp(float value, int frames) : value_(value), target_(value), frames_(frames) {}
    void setTarget(float target) {
        if (target == target_)
            return;
        target_ = target;
        step_ = (target_ - value_) / static_cast<float>(frames_);
    }
    float next() {
        if (value_ != target_) {
            value_ += step_;
            if ((step_ > 0 && value_ >= target_) || (step_ < 0 && value_ <= target_))
                value_ = target_;
        }
        return value_;
    }
    float value() const { return value_; }
    float target() const { return target_; }
    void jumpTo(float value) { value_ = target_ = value; }

private:
    float value_, target_, step_ = 0;
    int frames_;
};

// The transport of one deck in the audio callback: takes its frames from the ring and adds
// them to the mix with the level, mute and play/pause/seek ramps. Never locks or allocates.
class DeckMixer {
public:
    static constexpr double kTransportRampSeconds = 0.004;
    static constexpr double kLevelRampSeconds = 0.05; // one step of a fade, so fades are smooth

    DeckMixer(BlockRing& ring, DeckControls& controls, DeckStatus& status, int outputRate);

    // Adds this deck's next frames to `mix`, and to `cue` (the headphones) as the transport
    // plays them; returns true when it ran dry while playing.
    bool mixInto(float* mix, int frames, CueTap* cue = nullptr) noexcept;
    // What the deck has sent to the mix.
    LevelMeter& meter() { return meter_; }

private:
    const AudioBlock* currentBlock(uint64_t generation) noexcept;
    void readEnd() noexcept; // the end the window set last

    BlockRing& ring_;
    DeckControls& controls_;
    DeckStatus& status_;
    LinearRamp transport_, mute_, level_;
    LevelMeter meter_;
    int offset_ = 0; // frames of the front block already played
    uint64_t heardGeneration_ = 0;
    uint64_t heardTrack_ = 0;
    uint64_t joins_ = 0;
    uint64_t endTrack_ = 0;
    double endSeconds_ = 0;
    double heardSeconds_ = 0;
};

} // namespace velmor::audio
