#pragma once

#include "audio/Decoder.h"

#include <vector>

struct sf_private_tag;

namespace velmor::audio {

// WAV, AIFF, FLAC, Ogg and the other formats libsndfile reads.
class SndfileDecoder : public Decoder {
public:
    explicit SndfileDecoder(const std::string& path); // throws DecodeError
    ~SndfileDecoder() override;
    SndfileDecoder(const SndfileDecoder&) = delete;
    SndfileDecoder& operator=(const SndfileDecoder&) = delete;

    int sampleRate() const override { return rate_; }
    int64_t lengthFrames() const override { return length_; }
    int64_t read(float* stereo, int64_t frames) override;
    void seek(int64_t frame) override;

private:
    sf_private_tag* file_ = nullptr;
    int rate_ = 0;
    int channels_ = 0;
    int64_t length_ = 0;
    std::vector<float> scratch_; // the file's own channels, before they become stereo
};

} // namespace velmor::audio
