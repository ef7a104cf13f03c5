#pragma once

#include "audio/Decoder.h"

struct mpg123_handle_struct;

namespace velmor::audio {

// MPEG audio through libmpg123. The length is exact: the encoder delay and padding that
// the LAME tag records are removed, and a file without that tag is scanned once in full.
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
    mpg123_handle_struct* handle_ = nullptr;
    int rate_ = 0;
    int64_t length_ = 0;
    int64_t next_ = 0; // frame index of the next read
};

} // namespace velmor::audio
