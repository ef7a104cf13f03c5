#pragma once

#include "audio/Decoder.h"

#include <cstdio>
#include <vector>

struct mpg123_handle_struct;

namespace velmor::audio {

// MPEG audio through libmpg123. The length is exact: the encoder delay and padding that
// the LAME tag records are removed, and a file without that tag, or one shorter than its
// tag says (a copy that broke off), is scanned once in full.
class Mp3Decoder : public Decoder {
public:
    explicit Mp3Decoder(const std::string& path); // throws DecodeError
    ~Mp3Decoder() override;
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    int sampleRate() const override { return rate_; }
    int64_t lengthFrames() const override { return length_; }
    int64_t read(float* stereo, int64_t frames) override;
    void seek(int64_t frame) override;

private:
    void feedFrom(size_t frame);
    int64_t decode(float* stereo, int64_t frames);

    mpg123_handle_struct* handle_ = nullptr;
    // A file without the encoder's tag is fed to the decoder by us, from the frames our own
    // scan found: libmpg123's own seeks in such a file (VBR) land off the mark.
    std::FILE* file_ = nullptr;
    std::vector<int64_t> frameOffsets_;
    int samplesPerFrame_ = 0;
    int64_t skip_ = 0; // frames to drop after feeding from a frame before a seek's target
    int rate_ = 0;
    int64_t length_ = 0;
    int64_t next_ = 0; // frame index of the next read
};

} // namespace velmor::audio
