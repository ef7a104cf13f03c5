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
    if (command.decoder || command.close) {
        resetChain();
        decoder_ = std::move(command.decoder);
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
    nextTrack_ = next_ ? command.nextTrack : 0;
    ended_.reset(); // the window has taken the file gone on into as its own
    endedTrack_ = 0;
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
    decoder_ = std::move(next_);
    track_ = nextTrack_;
    nextTrack_ = 0;
    joinedBlock_ = true;
    start(0);
}

void DeckReader::unjoin() {
    resetChain();
    next_ = std::move(decoder_);
    nextTrack_ = track_;
    decoder_ = std::move(ended_);
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
    startSeconds_ = first / sourceRate;
    // Exactly the frames the rest of the track lasts at this rate: the resampler's and the
    // time-stretcher's padding at the end is cut off.
    expected_ = static_cast<int64_t>(
        std::ceil((decoder_->lengthFrames() - first) * outputRate_ / (sourceRate * rate_) - 1e-9));
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

bool DeckReader::fill(int maxBlocks) {
    int written = 0;
    while (written < maxBlocks && !endWritten_) {
        // The last few blocks of the ring are kept for the start of a new request, so that
        // a seek is heard at once although the ring is full of the old place's audio.
        const bool starting = sinceRequest_ < kReserveBlocks * AudioBlock::kMaxFrames;
        if (!starting && ring_.size() + kReserveBlocks >= ring_.capacity())
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
            got == 0 ? static_cast<double>(decoder_->lengthFrames()) / decoder_->sampleRate()
                     : startSeconds_ + produced_ * block->secondsPerFrame;
        produced_ += got;
        sinceRequest_ += got;
        endWritten_ = block->endOfTrack;
        ring_.publish();
        ++written;
    }
    return written > 0;
}

int DeckReader::render(float* stereo) {
    const int want =
        static_cast<int>(std::min<int64_t>(AudioBlock::kMaxFrames, expected_ - produced_));
    return want > 0 ? chainEnd_->getNextAudioBlock(stereo, want) : 0;
}

} // namespace velmor::audio
