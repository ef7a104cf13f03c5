#pragma once

#include <cstdint>

namespace velmor::audio {

// One link of a deck's reader chain: gives the next interleaved stereo frames.
// Returns how many it wrote; fewer than asked only at the end of the stream.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual int getNextAudioBlock(float* stereo, int frames) = 0;
};

// The head of the chain: reads the decoder from a chosen frame on.
class Decoder;
class DecoderSource : public AudioSource {
public:
    explicit DecoderSource(Decoder& decoder) : decoder_(decoder) {}
    int getNextAudioBlock(float* stereo, int frames) override;

private:
    Decoder& decoder_;
};

} // namespace velmor::audio
