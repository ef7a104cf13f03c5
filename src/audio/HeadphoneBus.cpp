#include "audio/HeadphoneBus.h"

#include <algorithm>

namespace velmor::audio {

HeadphoneBus::HeadphoneBus(int sampleRate, int decks)
    : prelisten_(static_cast<size_t>(decks)),
      levelRamp_(1.0f, static_cast<int>(DeckMixer::kLevelRampSeconds * sampleRate)),
      shareRamp_(0.0f, static_cast<int>(DeckMixer::kLevelRampSeconds * sampleRate)),
      cue_(2 * kChunkFrames), main_(2 * kChunkFrames), out_(2 * kChunkFrames),
      scratch_(2 * kChunkFrames), limiter_(sampleRate),
      bridge_(sampleRate, kChunkFrames + kMarginFrames, kRingFrames) { // target: see the Feed
    taps_.reserve(static_cast<size_t>(decks));
    for (int d = 0; d < decks; ++d)
        taps_.push_back(CueTap(static_cast<int>(kPrelistenRampSeconds * sampleRate)));
}

void HeadphoneBus::begin(int frames) noexcept {
    std::fill(cue_.begin(), cue_.begin() + 2 * frames, 0.0f);
}

CueTap* HeadphoneBus::tap(int deck) noexcept {
    CueTap& tap = taps_[static_cast<size_t>(deck)];
    tap.ramp_.setTarget(
        prelisten_[static_cast<size_t>(deck)].load(std::memory_order_relaxed) ? 1.0f : 0.0f);
    if (tap.ramp_.value() == 0.0f && tap.ramp_.target() == 0.0f)
        return nullptr;
    tap.sum_ = cue_.data();
    return &tap;
}

void HeadphoneBus::takeMain(const float* stereo, int frames) noexcept {
    std::copy(stereo, stereo + 2 * frames, main_.begin());
}

void HeadphoneBus::finish(const float* mainOut, float* quad, int frames) noexcept {
    const HeadphoneRoute route = this->route();
    levelRamp_.setTarget(route == HeadphoneRoute::None ? 0.0f
                                                       : level_.load(std::memory_order_relaxed));
    shareRamp_.setTarget(mainShare_.load(std::memory_order_relaxed));
    for (int i = 0; i < 2 * frames; i += 2) {
        const float level = levelRamp_.next(), share = shareRamp_.next();
        out_[i] = level * (cue_[i] + share * (main_[i] - cue_[i]));
        out_[i + 1] = level * (cue_[i + 1] + share * (main_[i + 1] - cue_[i + 1]));
    }
    limiter_.process(out_.data(), frames);
    if (quad) {
        for (int i = 0; i < frames; ++i) {
            quad[4 * i] = mainOut[2 * i];
            quad[4 * i + 1] = mainOut[2 * i + 1];
            quad[4 * i + 2] = out_[2 * i];
            quad[4 * i + 3] = out_[2 * i + 1];
        }
    } else if (route == HeadphoneRoute::SecondDevice) {
        bridge_.push(out_.data(), frames);
        chunkWritten_.store(frames, std::memory_order_relaxed);
    }
}

// The two devices keep time by their own clocks. The bridge is kept at about the main output's
// buffer plus the headphones' own plus a margin: less, and a main buffer that comes late
// leaves the headphones dry; much more, and the headphones lag the room. The margin covers a
// main callback 40 ms late (2,048 frames, 43 ms at 48 kHz): on a busy two-core machine, audio
// threads without real-time priority come 20-25 ms late in every minute and now and then
// later, and when both devices' threads were held up, the headphones' catch up first and
// empty the ring before the main one refills it. With two devices of 256 frames the
// headphones play 2,560 frames (53 ms at 48 kHz) behind the room, plus their own buffer.
// The second device is opened with two channels.
void HeadphoneBus::Feed::renderOutput(float* out, int, int frames) noexcept {
    if (bus.route() != HeadphoneRoute::SecondDevice)
        return bus.bridge_.idle(out, frames); // nothing comes: not a dry device
    bus.bridge_.setTarget(bus.chunkWritten_.load(std::memory_order_relaxed) + frames +
                          kMarginFrames);
    bus.bridge_.pull(out, frames);
}

} // namespace velmor::audio
