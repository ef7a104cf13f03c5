#pragma once

#include "audio/AudioSource.h"

#include <cstddef>
#include <vector>

struct soxr;

namespace velmor::audio {

// Converts its input to the output rate with libsoxr's high quality.
class ResamplingSource : public AudioSource {
public:
    ResamplingSource(AudioSource& input, double inputRate, double outputRate);
    ~ResamplingSource() override;
    ResamplingSource(const ResamplingSource&) = delete;
    ResamplingSource& operator=(const ResamplingSource&) = delete;

    int getNextAudioBlock(float* stereo, int frames) override;

private:
    AudioSource& input_;
    soxr* resampler_ = nullptr;
    std::vector<float> pending_; // input frames read but not yet taken by the resampler
    size_t pendingOffset_ = 0;   // frames of pending_ already taken
    size_t pendingFrames_ = 0;
    bool inputEnded_ = false;
    bool drained_ = false;
};

} // namespace velmor::audio
