#include "audio/ResamplingSource.h"

#include "audio/Decoder.h"

#include <soxr.h>

namespace velmor::audio {

namespace {
constexpr size_t kInputChunk = 1024;
}

ResamplingSource::ResamplingSource(AudioSource& input, double inputRate, double outputRate)
    : input_(input), pending_(2 * kInputChunk) {
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    resampler_ = soxr_create(inputRate, outputRate, 2, &error, &io, &quality, nullptr);
    if (error)
        throw DecodeError(std::string("the resampler could not start (") + error + ")");
}

ResamplingSource::~ResamplingSource() {
    soxr_delete(resampler_);
}

int ResamplingSource::getNextAudioBlock(float* stereo, int frames) {
    int written = 0;
    while (written < frames && !drained_) {
        if (pendingOffset_ == pendingFrames_ && !inputEnded_) {
            pendingFrames_ = static_cast<size_t>(
                input_.getNextAudioBlock(pending_.data(), static_cast<int>(kInputChunk)));
            pendingOffset_ = 0;
            inputEnded_ = pendingFrames_ < kInputChunk;
        }
        const bool haveInput = pendingOffset_ < pendingFrames_;
        size_t used = 0, made = 0;
        // Without input left, a null input asks soxr for the tail it still holds.
        soxr_process(resampler_, haveInput ? pending_.data() + 2 * pendingOffset_ : nullptr,
                     pendingFrames_ - pendingOffset_, &used, stereo + 2 * written,
                     static_cast<size_t>(frames - written), &made);
        pendingOffset_ += used;
        written += static_cast<int>(made);
        if (!haveInput && inputEnded_ && made == 0)
            drained_ = true;
    }
    return written;
}

} // namespace velmor::audio
