#include "audio/DeckMixer.h"

#include "audio/HeadphoneBus.h"

namespace velmor::audio {

DeckMixer::DeckMixer(BlockRing& ring, DeckControls& controls, DeckStatus& status, int outputRate)
    : ring_(ring), controls_(controls), status_(status),
      transport_(0.0f, static_cast<int>(kTransportRampSeconds * outputRate)),
      mute_(1.0f, static_cast<int>(kTransportRampSeconds * outputRate)),
      level_(1.0f, static_cast<int>(kLevelRampSeconds * outputRate)) {}

// The front block still to be played, once stale audio has faded out and used-up blocks
// are gone.
const AudioBlock* DeckMixer::currentBlock(uint64_t generation) noexcept {
    for (;;) {
        const AudioBlock* block = ring_.front();
        if (!block)
            return nullptr;
        const bool stale = block->generation < generation;
        const bool usedUp = !block->endOfTrack && offset_ >= block->frames;
        // Rendered before the track's end was moved before it: its near-silent tail.
        const bool pastEnd = !block->endOfTrack && block->track == endTrack_ &&
                             block->secondsAt(offset_) >= endSeconds_;
        if (!(usedUp || pastEnd || (stale && transport_.value() == 0.0f)))
            return block;
        ring_.pop();
        offset_ = 0;
    }
}

void DeckMixer::readEnd() noexcept {
    const uint64_t track = controls_.endTrack.load(std::memory_order_acquire);
    const double seconds = controls_.endSeconds.load(std::memory_order_acquire);
    if (track == controls_.endTrack.load(std::memory_order_acquire)) { // not changed meanwhile
        endTrack_ = track;
        endSeconds_ = seconds;
    }
}

bool DeckMixer::mixInto(float* mix, int frames, CueTap* cue) noexcept {
    const uint64_t generation = controls_.generation.load(std::memory_order_acquire);
    readEnd();
    const bool playing = controls_.playing.load(std::memory_order_acquire);
    mute_.setTarget(controls_.muted.load(std::memory_order_relaxed) ? 0.0f : 1.0f);
    level_.setTarget(controls_.gain.load(std::memory_order_relaxed));
    bool ranDry = false;
    bool ended = false;
    LevelMeter::Block sent; // what the deck adds to the mix, after its level and mute

    // A deck standing still adds nothing: it takes its level and mute at once, as each of its
    // frames below would, and its stale audio goes with the look at the place heard below.
    const bool still = !playing && transport_.value() == 0.0f && transport_.target() == 0.0f;
    if (still) {
        level_.jumpTo(level_.target());
        mute_.jumpTo(mute_.target());
    }
    for (int i = 0; i < frames && !still; ++i) {
        const AudioBlock* block = currentBlock(generation);
        // A deck that is not heard takes a new level at once. Ramping it in silence would
        // make the next start begin at the old level: a fade in from a stopped deck would
        // open with a burst at full level, falling to its start level over 50 ms.
        if (transport_.value() == 0.0f) {
            level_.jumpTo(level_.target());
            mute_.jumpTo(mute_.target());
        }
        const float muteGain = mute_.next();
        const float levelGain = level_.next();
        if (!block || block->endOfTrack) {
            // Nothing to play: the track's own end, a request not rendered yet, or a reader
            // that fell behind (an underrun only when this request's audio was under way).
            if (block && block->generation == generation && playing)
                ended = true;
            if (!block && playing && heardGeneration_ == generation)
                ranDry = true;
            transport_.jumpTo(0.0f);
            continue;
        }
        const bool stale = block->generation < generation;
        transport_.setTarget(playing && !stale ? 1.0f : 0.0f);
        if (transport_.value() == 0.0f && transport_.target() == 0.0f)
            continue; // paused, stopped, or waiting for a new request's audio
        const float transport = transport_.next(), gain = transport * muteGain * levelGain;
        const float left = block->samples[2 * offset_], right = block->samples[2 * offset_ + 1];
        mix[2 * i] += left * gain;
        mix[2 * i + 1] += right * gain;
        sent.add(left * gain, right * gain);
        if (cue)
            cue->add(i, left * transport, right * transport);
        if (offset_ == 0 && block->joined) { // the first frame of a file gone on into
            status_.joinedGeneration.store(block->generation, std::memory_order_relaxed);
            status_.joins.store(++joins_, std::memory_order_release);
        }
        ++offset_;
        heardGeneration_ = block->generation;
        heardTrack_ = block->track;
        heardSeconds_ = block->secondsAt(offset_);
    }

    // A deck standing still after a seek is heard from the new place.
    if (const AudioBlock* block = currentBlock(generation);
        block && block->generation == generation) {
        heardGeneration_ = generation;
        heardTrack_ = block->track;
        heardSeconds_ = block->endOfTrack ? block->startSeconds : block->secondsAt(offset_);
    }
    status_.heardSeconds.store(heardSeconds_, std::memory_order_relaxed);
    status_.heardTrack.store(heardTrack_, std::memory_order_relaxed);
    status_.heardGeneration.store(heardGeneration_, std::memory_order_release);
    // After the place heard: whoever learns of the end finds the deck at the end.
    if (ended)
        status_.endedGeneration.store(generation, std::memory_order_release);
    meter_.publish(sent, frames);
    return ranDry;
}

} // namespace velmor::audio
