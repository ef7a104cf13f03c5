#include "audio/AudioSource.h"

#include "audio/Decoder.h"

namespace velmor::audio {

int DecoderSource::getNextAudioBlock(float* stereo, int frames) {
    return static_cast<int>(decoder_.read(stereo, frames));
}

} // namespace velmor::audio
