#include "audio/DeckReader.h"

#include "audio/ResamplingSource.h"
#include "audio/TempoSource.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace velmor::audio {

void DeckReader::apply(ReaderCommand& command) {
    if (command.queue)
        return queue(command);
    if (command.replan)
        return replan(command);
    if (command.decoder || command.close) {
        resetChain();
        decoder_ = std::move(command.decoder);
        plan_ = command.plan;
        track_ = command.track;
        next_.reset();
        ended_.reset();
        nextTrack_ = endedTrack_ = 0;
    } else if (ended_ && command.track == endedTrack_) {
        unjoin(); // the window has not taken the file gone on into: it still means the one before
    }
    generation_ = command.generation;
    rate_ = command.rate;
    sinceRequest_ = 0;
    start(command.startSeconds);
}

void DeckReader::queue(ReaderCommand& command) {
    // Once the reader has gone on into the file queued before, it is too late to change it:
    // the window hears of the end and chooses then.
    if (command.track != track_)
        return;
    next_ = std::move(command.decoder);
    nextPlan_ = command.plan;
    nextTrack_ = next_ ? command.nextTrack : 0;
    ended_.reset(); // the window has taken the file gone on into as its own
    endedTrack_ = 0;
}

void DeckReader::replan(const ReaderCommand& command) {
    if (command.track == 0)
        return;
    if (command.track == nextTrack_)
        nextPlan_ = command.plan;
    else if (command.track == endedTrack_)
        endedPlan_ = command.plan;
    else if (command.track == track_ && decoder_) {
        plan_ = command.plan;
        if (!endWritten_) // an end already handed on stands
            expectToEnd();
    }
}

void DeckReader::resetChain() {
    tempo_.reset();
    resampler_.reset();
    source_.reset();
    chainEnd_ = nullptr;
}

void DeckReader::joinNext() {
    resetChain();
    ended_ = std::move(decoder_);
    endedTrack_ = track_;
    endedPlan_ = plan_;
    decoder_ = std::move(next_);
    plan_ = nextPlan_;
    track_ = nextTrack_;
    nextTrack_ = 0;
    joinedBlock_ = true;
    start(plan_.startSeconds); // gone on into where its sound starts
}

void DeckReader::unjoin() {
    resetChain();
    next_ = std::move(decoder_);
    nextPlan_ = plan_;
    nextTrack_ = track_;
    decoder_ = std::move(ended_);
    plan_ = endedPlan_;
    track_ = endedTrack_;
    endedTrack_ = 0;
}

void DeckReader::start(double seconds) {
    resetChain();
    produced_ = 0;
    expected_ = 0;
    endWritten_ = !decoder_;
    if (!decoder_)
        return;
    const double sourceRate = decoder_->sampleRate();
    const int64_t first =
        std::clamp<int64_t>(std::llround(seconds * sourceRate), 0, decoder_->lengthFrames());
    decoder_->seek(first);
    first_ = first;
    startSeconds_ = first / sourceRate;
    expectToEnd();
    // Tempo before resampling: at double speed the resampler has half the frames to convert.
    source_ = std::make_unique<DecoderSource>(*decoder_);
    chainEnd_ = source_.get();
    if (rate_ != 1.0) {
        tempo_ = std::make_unique<TempoSource>(*chainEnd_, decoder_->sampleRate(), rate_);
        chainEnd_ = tempo_.get();
    }
    if (decoder_->sampleRate() != outputRate_) {
        resampler_ = std::make_unique<ResamplingSource>(*chainEnd_, sourceRate, outputRate_);
        chainEnd_ = resampler_.get();
    }
}

void DeckReader::expectToEnd() {
    // Exactly the frames the rest of the track lasts at this rate, up to where its plan ends
    // it: the resampler's and the time-stretcher's padding at the end is cut off.
    const double sourceRate = decoder_->sampleRate();
    const int64_t end =
        std::clamp<int64_t>(std::llround(std::min(plan_.endSeconds, 1e9) * sourceRate), first_,
                            decoder_->lengthFrames());
    expected_ =
        static_cast<int64_t>(std::ceil((end - first_) * outputRate_ / (sourceRate * rate_) - 1e-9));
}

bool DeckReader::fill(int maxBlocks) {
    // A ring drained by the listener is topped up a batch at a time, not a block at a time:
    // the decoder and the stretcher, woken for a block or two, find their tables gone from
    // the cache and take twice as long over the same frames.
    const size_t batch = std::max<size_t>(1, ring_.capacity() / 4);
    if (ring_.size() + kReserveBlocks + batch <= ring_.capacity())
        topping_ = true;
    int written = 0;
    while (written < maxBlocks && !endWritten_) {
        // The last few blocks of the ring are kept for the start of a new request, so that
        // a seek is heard at once although the ring is full of the old place's audio.
        const bool starting = sinceRequest_ < kReserveBlocks * AudioBlock::kMaxFrames;
        if (!starting && ring_.size() + kReserveBlocks >= ring_.capacity())
            topping_ = false;
        if (!starting && !topping_)
            break;
        AudioBlock* block = ring_.writeSlot();
        if (!block)
            break;
        int got = render(block->samples);
        if (got == 0 && next_ && next_->lengthFrames() > 0) {
            // The track is over and the queued one goes straight on from its last frame.
            joinNext();
            got = render(block->samples);
        }
        block->generation = generation_;
        block->track = track_;
        block->joined = std::exchange(joinedBlock_, false);
        block->secondsPerFrame = rate_ / outputRate_;
        block->frames = got;
        block->endOfTrack = got == 0;
        block->startSeconds =
            got == 0 ? endSeconds() : startSeconds_ + produced_ * block->secondsPerFrame;
        produced_ += got;
        sinceRequest_ += got;
        endWritten_ = block->endOfTrack;
        ring_.publish();
        ++written;
    }
    return written > 0;
}

double DeckReader::endSeconds() const {
    const double length = static_cast<double>(decoder_->lengthFrames()) / decoder_->sampleRate();
    return std::min(length, std::max(plan_.endSeconds, startSeconds_));
}

int DeckReader::render(float* stereo) {
    const int want =
        static_cast<int>(std::min<int64_t>(AudioBlock::kMaxFrames, expected_ - produced_));
    const int got = want > 0 ? chainEnd_->getNextAudioBlock(stereo, want) : 0;
    if (plan_.gain != 1.0f) // the track's own gain, before anything the deck does
        std::transform(stereo, stereo + 2 * got, stereo,
                       [gain = plan_.gain](float x) { return x * gain; });
    return got;
}

} // namespace velmor::audio
