#pragma once

#include "audio/Decoder.h"
#include "audio/MpegStreamGuard.h"

#include <vector>

struct mpg123_handle_struct;

namespace velmor::audio {

// MPEG audio through libmpg123. The length is exact: the encoder delay and padding that
// the LAME tag records are removed, and a file without that tag, or one shorter than its
// tag says (a copy that broke off), is scanned once in full.
// Damage is left out: the frames on either side of it are joined, the sound ramping out
// before the join and in after it, as a stop and a start do; where the frames end before the
// track does, the sound ramps out.
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
    void restartDecoding();
    bool decodeFrame(); // appends the next MPEG frame's audio to the buffer
    // Hands out decoded audio, decoding as needed; `at` is the track frame of the first.
    int64_t take(float* stereo, int64_t frames, int64_t at);
    void rampOut(int64_t from, int64_t to);

    mpg123_handle_struct* handle_ = nullptr;
    MpegStreamGuard guard_;
    // A file without the encoder's tag is fed to the decoder by us, from the frames our own
    // scan found: libmpg123's own seeks in such a file (VBR) land off the mark.
    bool fed_ = false;
    std::vector<int64_t> frameOffsets_;
    size_t fedFrom_ = 0; // the frame of the scan that feeding started at
    int samplesPerFrame_ = 0;
    size_t prerollFrames_ = 0; // decoded ahead of a seek's target, not heard
    int64_t skip_ = 0;         // frames to drop after feeding from a frame before a seek's target
    int rate_ = 0;
    int64_t length_ = 0;
    int64_t next_ = 0; // frame index of the next read
    bool cutShort_ = false;

    // Decoded audio not handed out yet. The last ramp's worth stays until the next MPEG frame
    // shows whether damage follows, so that it can still ramp out.
    std::vector<float> buffer_;
    int64_t buffered_ = 0;
    int rampFrames_ = 0;
    int rampIn_ = 0;       // frames of the ramp in still to come
    bool decoded_ = false; // a frame has been decoded since the start or the last seek
    bool ended_ = false;
};

} // namespace velmor::audio
