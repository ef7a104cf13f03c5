#include "audio/JinglePlayer.h"

#include "audio/Decoder.h"
#include "audio/ResamplingSource.h"

#include <algorithm>
#include <cmath>

namespace velmor::audio {

std::unique_ptr<JingleSound> ReadJingle(const std::string& path, int rate, double maxSeconds) {
    const std::unique_ptr<Decoder> decoder = OpenDecoder(path);
    const double seconds = static_cast<double>(decoder->lengthFrames()) / decoder->sampleRate();
    if (seconds > maxSeconds)
        throw JingleTooLong(seconds);
    DecoderSource source(*decoder);
    ResamplingSource resampled(source, decoder->sampleRate(), rate);
    AudioSource& input =
        decoder->sampleRate() == rate ? static_cast<AudioSource&>(source) : resampled;
    auto sound = std::make_unique<JingleSound>();
    const auto expected = static_cast<size_t>(std::ceil(seconds * rate)) + 1;
    sound->samples.reserve(2 * expected);
    constexpr int kChunk = 4096;
    std::vector<float> chunk(2 * kChunk);
    // A file longer than its header says is read no further than the longest jingle.
    const auto most = static_cast<size_t>(std::ceil(maxSeconds * rate));
    for (int got; (got = input.getNextAudioBlock(chunk.data(), kChunk)) > 0;) {
        sound->samples.insert(sound->samples.end(), chunk.begin(), chunk.begin() + 2 * got);
        if (sound->samples.size() / 2 >= most)
            break;
    }
    sound->samples.resize(std::min(sound->samples.size(), 2 * most));
    return sound;
}

JinglePlayer::JinglePlayer(int sampleRate)
    : level_(1.0f, static_cast<int>(DeckMixer::kLevelRampSeconds * sampleRate)),
      sum_(2 * kChunkFrames) {
    for (Slot& slot : slots_)
        slot.gate = LinearRamp(0.0f, std::max(1, static_cast<int>(kGateSeconds * sampleRate)));
}

void JinglePlayer::setSound(int index, std::unique_ptr<JingleSound> sound) {
    Slot& slot = slots_[index];
    slot.wanted.store(false, std::memory_order_relaxed);
    slot.sound.store(sound.get(), std::memory_order_release);
    if (owned_[index])
        retired_.push_back({std::move(owned_[index]), blocks_.load()});
    owned_[index] = std::move(sound);
    letGo();
}

// A buffer the callback began before the sound was replaced may still read it; one counted
// after the replacement has ended, and every later one loads the new sound.
void JinglePlayer::letGo() {
    const uint64_t now = blocks_.load();
    std::erase_if(retired_, [now](const Retired& r) { return now > r.block; });
}

void JinglePlayer::play(int index) {
    Slot& slot = slots_[index];
    if (!owned_[index])
        return;
    slot.wanted.store(true, std::memory_order_relaxed);
    slot.starts.fetch_add(1, std::memory_order_release);
    letGo();
}

void JinglePlayer::stop(int index) {
    slots_[index].wanted.store(false, std::memory_order_relaxed);
}

bool JinglePlayer::playing(int index) const {
    const Slot& slot = slots_[index];
    return slot.wanted.load(std::memory_order_relaxed) &&
           slot.finished.load(std::memory_order_acquire) !=
               slot.starts.load(std::memory_order_relaxed);
}

void JinglePlayer::mixInto(float* stereo, int frames) noexcept {
    level_.setTarget(gain_.load(std::memory_order_relaxed));
    for (int done = 0; done < frames;) {
        const int n = std::min(frames - done, kChunkFrames);
        mixChunk(stereo + 2 * done, n);
        done += n;
    }
    blocks_.fetch_add(1, std::memory_order_acq_rel);
}

// The slots' sum, at the jingles' level, measured and added to the mix.
void JinglePlayer::mixChunk(float* stereo, int frames) noexcept {
    bool any = false;
    for (Slot& slot : slots_)
        any |= mixSlot(slot, frames, any);
    if (!any) {
        for (int i = 0; i < frames; ++i)
            level_.next();
        meter_.publish({}, frames);
        return;
    }
    LevelMeter::Block sent;
    for (int i = 0; i < frames; ++i) {
        const float gain = level_.next();
        const float left = sum_[2 * i] * gain, right = sum_[2 * i + 1] * gain;
        stereo[2 * i] += left;
        stereo[2 * i + 1] += right;
        sent.add(left, right);
    }
    meter_.publish(sent, frames);
}

// Writes (`adds`: adds) the slot's next frames to the sum; false when it has none.
bool JinglePlayer::mixSlot(Slot& slot, int frames, bool adds) noexcept {
    const JingleSound* sound = slot.sound.load(std::memory_order_acquire);
    if (sound != slot.held) {
        slot.held = sound;
        slot.voice = false;
        slot.finished.store(slot.started, std::memory_order_release);
    }
    if (const uint64_t starts = slot.starts.load(std::memory_order_acquire);
        starts != slot.started) {
        slot.started = starts;
        slot.voice = sound != nullptr;
        slot.position = 0;
        slot.gate.jumpTo(0.0f);
    }
    if (!slot.voice)
        return false;
    if (!adds)
        std::fill(sum_.begin(), sum_.begin() + 2 * frames, 0.0f);
    slot.gate.setTarget(slot.wanted.load(std::memory_order_relaxed) ? 1.0f : 0.0f);
    for (int i = 0; i < frames && slot.position < sound->frames(); ++i, ++slot.position) {
        const float gate = slot.gate.next();
        sum_[2 * i] += sound->samples[2 * slot.position] * gate;
        sum_[2 * i + 1] += sound->samples[2 * slot.position + 1] * gate;
    }
    if (slot.position >= sound->frames() ||
        (slot.gate.value() == 0.0f && slot.gate.target() == 0.0f)) {
        slot.voice = false;
        slot.finished.store(slot.started, std::memory_order_release);
    }
    return true;
}

} // namespace velmor::audio
