#include "audio/SndfileDecoder.h"

#include <algorithm>
#include <sndfile.h>

namespace velmor::audio {

namespace {
constexpr int64_t kScratchFrames = 4096;

// The frames of a file whose header gives no length (a recording cut off before it was
// finished), counted by reading it through; the file is left at its start.
sf_count_t CountFrames(SNDFILE* file, int channels) {
    std::vector<float> scratch(static_cast<size_t>(kScratchFrames * channels));
    sf_count_t frames = 0;
    for (sf_count_t n; (n = sf_readf_float(file, scratch.data(), kScratchFrames)) > 0;)
        frames += n;
    return sf_seek(file, 0, SEEK_SET) == 0 ? frames : 0;
}
} // namespace

SndfileDecoder::SndfileDecoder(const std::string& path) {
    SF_INFO info{};
    file_ = sf_open(path.c_str(), SFM_READ, &info);
    if (!file_) {
        const int error = sf_error(nullptr);
        throw DecodeError(error == SF_ERR_UNRECOGNISED_FORMAT ? "it is not an audio file"
                          : error == SF_ERR_UNSUPPORTED_ENCODING
                              ? "its kind of audio cannot be played"
                              : "it is damaged");
    }
    if (info.frames == SF_COUNT_MAX && info.channels > 0)
        info.frames = CountFrames(file_, info.channels);
    if (info.frames <= 0 || info.channels <= 0 || info.samplerate <= 0) {
        sf_close(file_);
        throw DecodeError("it holds no audio");
    }
    rate_ = info.samplerate;
    channels_ = info.channels;
    length_ = info.frames;
    scratch_.resize(static_cast<size_t>(kScratchFrames * channels_));
}

SndfileDecoder::~SndfileDecoder() {
    sf_close(file_);
}

int64_t SndfileDecoder::read(float* stereo, int64_t frames) {
    int64_t got = 0;
    while (got < frames) {
        const sf_count_t want = std::min(frames - got, kScratchFrames);
        const sf_count_t n = sf_readf_float(file_, scratch_.data(), want);
        if (n <= 0)
            break; // the end, or a truncated file: a clean end either way
        for (sf_count_t i = 0; i < n; ++i) {
            const float* in = scratch_.data() + i * channels_;
            float* out = stereo + 2 * (got + i);
            out[0] = in[0];
            out[1] = channels_ > 1 ? in[1] : in[0];
        }
        got += n;
    }
    return got;
}

void SndfileDecoder::seek(int64_t frame) {
    frame = std::clamp<int64_t>(frame, 0, length_);
    if (sf_seek(file_, frame, SEEK_SET) < 0)
        sf_seek(file_, 0, SEEK_END); // unreadable beyond here: the next read ends the track
}

} // namespace velmor::audio
