#pragma once

#include "audio/ClockBridge.h"
#include "audio/DeckMixer.h"
#include "audio/MasterLimiter.h"
#include "audio/OutputKeeper.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmor::audio {

// One deck's way into the headphones: its frames as the transport plays them, before the
// level, the fades, the crossfader and mute, faded in and out when pre-listen is switched.
class CueTap {
public:
    void add(int frame, float left, float right) noexcept {
        const float gain = ramp_.next();
        sum_[2 * frame] += left * gain;
        sum_[2 * frame + 1] += right * gain;
    }

private:
    friend class HeadphoneBus;
    explicit CueTap(int rampFrames) : ramp_(0.0f, rampFrames) {}
    LinearRamp ramp_;
    float* sum_ = nullptr;
};

enum class HeadphoneRoute { None, MainChannels, SecondDevice };

// The headphone sum: the pre-listened decks taken from the same blocks the main mix plays
// (no deck decodes twice), blended with the main mix, at its own level and through a limiter
// of its own, the main bus's limiter being for the room alone. It goes nowhere, to channels
// 3-4 of the main output, or across a ClockBridge to a second device, whose late buffers
// never hold up the main output (what does not fit is dropped) and whose clock drifts from
// the main one (the bridge follows it).
//
// The main audio callback works it in chunks of at most kChunkFrames: begin(), the decks'
// taps, takeMain() before the main limiter, finish() after it.
class HeadphoneBus {
public:
    static constexpr int kChunkFrames = 1024;
    static constexpr double kPrelistenRampSeconds = 0.01;
    static constexpr int kRingFrames = 16384;
    static constexpr int kMarginFrames = 2048; // queued beyond the two devices' buffers

    HeadphoneBus(int sampleRate, int decks);

    // UI thread.
    void setRoute(HeadphoneRoute route) { route_.store(route, std::memory_order_release); }
    HeadphoneRoute route() const { return route_.load(std::memory_order_acquire); }
    void setPrelisten(int deck, bool on) { prelisten_[deck].store(on, std::memory_order_relaxed); }
    void setLevel(float gain) { level_.store(gain, std::memory_order_relaxed); }
    // 0: the pre-listened decks alone; 1: the main mix alone.
    void setCueMix(float mainShare) { mainShare_.store(mainShare, std::memory_order_relaxed); }

    // The main audio callback.
    bool active() const noexcept { return route() != HeadphoneRoute::None; }
    float* mainScratch() noexcept { return scratch_.data(); }
    void begin(int frames) noexcept;
    CueTap* tap(int deck) noexcept; // null while the deck is not pre-listened
    void takeMain(const float* stereo, int frames) noexcept;
    // The headphones' frames; with `quad`, written there interleaved after `mainOut`'s.
    void finish(const float* mainOut, float* quad, int frames) noexcept;

    // What a second device plays: the bridge, filled to its target before it plays.
    MixSource& feed() { return feed_; }
    // Times the second device found nothing to play once it played.
    uint64_t underruns() const { return bridge_.underruns(); }

private:
    struct Feed : MixSource {
        explicit Feed(HeadphoneBus& bus) : bus(bus) {}
        void renderOutput(float* out, int channels, int frames) noexcept override;
        void fillAhead() override {}
        HeadphoneBus& bus;
    };

    std::atomic<HeadphoneRoute> route_{HeadphoneRoute::None};
    std::vector<std::atomic<bool>> prelisten_;
    std::atomic<float> level_{1.0f}, mainShare_{0.0f};
    std::vector<CueTap> taps_;
    LinearRamp levelRamp_, shareRamp_;
    std::vector<float> cue_, main_, out_, scratch_;
    MasterLimiter limiter_;
    ClockBridge bridge_;
    std::atomic<int> chunkWritten_{0}; // the frames of the latest write to the bridge
    Feed feed_{*this};
};

} // namespace velmor::audio
