#include "audio/DeckReader.h"

#include "audio/ResamplingSource.h"
#include "audio/TempoSource.h"

#include <algorithm>
#include <cmath>

namespace velmor::audio {

void DeckReader::apply(ReaderCommand& command) {
    if (command.decoder || command.close) {
        tempo_.reset();
        resampler_.reset();
        source_.reset();
        decoder_ = std::move(command.decoder);
    }
    generation_ = command.generation;
    rate_ = command.rate;
    start(command.startSeconds);
}

void DeckReader::start(double seconds) {
    tempo_.reset();
    resampler_.reset();
    source_.reset();
    chainEnd_ = nullptr;
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
        const bool starting = produced_ < kReserveBlocks * AudioBlock::kMaxFrames;
        if (!starting && ring_.size() + kReserveBlocks >= ring_.capacity())
            break;
        AudioBlock* block = ring_.writeSlot();
        if (!block)
            break;
        const int want =
            static_cast<int>(std::min<int64_t>(AudioBlock::kMaxFrames, expected_ - produced_));
        const int got = want > 0 ? chainEnd_->getNextAudioBlock(block->samples, want) : 0;
        block->generation = generation_;
        block->secondsPerFrame = rate_ / outputRate_;
        block->frames = got;
        block->endOfTrack = got == 0;
        block->startSeconds =
            got == 0 ? static_cast<double>(decoder_->lengthFrames()) / decoder_->sampleRate()
                     : startSeconds_ + produced_ * block->secondsPerFrame;
        produced_ += got;
        endWritten_ = block->endOfTrack;
        ring_.publish();
        ++written;
    }
    return written > 0;
}

} // namespace velmor::audio
