#pragma once

#include "audio/AudioSource.h"

#include <memory>
#include <vector>

namespace soundtouch {
class SoundTouch;
}

namespace velmor::audio {

// Changes the tempo by a factor and keeps the pitch, with SoundTouch.
class TempoSource : public AudioSource {
public:
    TempoSource(AudioSource& input, int sampleRate, double tempo);
    ~TempoSource() override;

    int getNextAudioBlock(float* stereo, int frames) override;

private:
    AudioSource& input_;
    std::unique_ptr<soundtouch::SoundTouch> stretcher_;
    std::vector<float> chunk_;
    bool flushed_ = false;
};

} // namespace velmor::audio
