#include "audio/TempoSource.h"

#include <soundtouch/SoundTouch.h>

namespace velmor::audio {

namespace {
constexpr int kInputChunk = 1024;
}

TempoSource::TempoSource(AudioSource& input, int sampleRate, double tempo)
    : input_(input), stretcher_(std::make_unique<soundtouch::SoundTouch>()),
      chunk_(2 * kInputChunk) {
    stretcher_->setChannels(2);
    stretcher_->setSampleRate(static_cast<unsigned>(sampleRate));
    stretcher_->setTempo(tempo);
    // The quick search for the splice point: a third of the time-stretch cost, and at the
    // deck speeds (0.5 to 2.0) no audible loss on music.
    stretcher_->setSetting(SETTING_USE_QUICKSEEK, 1);
    // The stretcher's rate stays 1 (the resampler after it changes the rate), and there its
    // anti-alias filter, which SoundTouch runs whatever the rate, only costs: two thirds of
    // the stretch. Without it, the rate transposer passes the audio through unchanged.
    stretcher_->setSetting(SETTING_USE_AA_FILTER, 0);
}

TempoSource::~TempoSource() = default;

int TempoSource::getNextAudioBlock(float* stereo, int frames) {
    int written = 0;
    while (written < frames) {
        written += static_cast<int>(stretcher_->receiveSamples(
            stereo + 2 * written, static_cast<unsigned>(frames - written)));
        if (written == frames || (flushed_ && stretcher_->numSamples() == 0))
            break;
        if (flushed_)
            continue;
        const int got = input_.getNextAudioBlock(chunk_.data(), kInputChunk);
        if (got > 0)
            stretcher_->putSamples(chunk_.data(), static_cast<unsigned>(got));
        if (got < kInputChunk) {
            stretcher_->flush(); // the end: let the last input out (the caller cuts the padding)
            flushed_ = true;
        }
    }
    return written;
}

} // namespace velmor::audio
