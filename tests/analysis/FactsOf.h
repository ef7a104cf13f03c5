#pragma once

#include "analysis/TrackAnalysis.h"
#include "audio/Decoder.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <atomic>
#include <vector>

namespace velmor::test {

// What a look finds in `stereo` at `rate`, written to a 16-bit WAV and read back.
inline TrackFacts FactsOf(const std::vector<float>& stereo, int rate) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/track.wav").toStdString();
    WriteWav(path, stereo, rate, 2);
    const std::atomic<bool> cancelled{false};
    const auto decoder = audio::OpenDecoder(path);
    return LookAtTrack(*decoder, 64, cancelled).facts;
}

} // namespace velmor::test
