#include "analysis/TrackAnalysis.h"
#include "audio/Decoder.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>

using namespace velmor;

namespace {

// A track of 100,000 frames (1562.5 a stretch of 64): the left channel is 0.2 for the first
// three quarters, 0.8 for the last, negative every other frame; reading stops, or fails, at
// `damage`.
struct MadeUpDecoder : audio::Decoder {
    MadeUpDecoder(int64_t damage, bool throws) : damage(damage), throws(throws) {}
    int sampleRate() const override { return 48000; }
    int64_t lengthFrames() const override { return 100000; }
    int64_t read(float* stereo, int64_t frames) override {
        if (at >= damage && throws)
            throw audio::DecodeError("damaged frame");
        const int64_t n = std::clamp<int64_t>(damage - at, 0, frames);
        for (int64_t i = 0; i < n; ++i, ++at) {
            stereo[2 * i] = (at < 75000 ? 0.2f : 0.8f) * (at % 2 ? -1 : 1);
            stereo[2 * i + 1] = 0;
        }
        return n;
    }
    void seek(int64_t frame) override { at = frame; }
    int64_t damage, at = 0;
    bool throws;
};

// The overview of MadeUpDecoder's track in 64 stretches when reading stops at `damage`.
TrackPeaks Scan(int64_t damage, bool throws) {
    const std::atomic<bool> cancelled{false};
    MadeUpDecoder decoder(damage, throws);
    return ScanPeaks(decoder, 64, cancelled);
}

} // namespace

// Each stretch of a track's overview has its loudest sample: 0.2 in the first 48, 0.8 after.
TEST(TrackPeaksTest, EachStretchHasItsLoudestSample) {
    const TrackPeaks peaks = Scan(100000, false);
    EXPECT_EQ(peaks.framesRead, 100000);
    ASSERT_EQ(peaks.peaks.size(), 64u);
    for (size_t bin = 0; bin < 48; ++bin)
        EXPECT_FLOAT_EQ(peaks.peaks[bin], 0.2f) << bin;
    for (size_t bin = 48; bin < 64; ++bin)
        EXPECT_FLOAT_EQ(peaks.peaks[bin], 0.8f) << bin;
}

// Damage, met as the end of the file or as an error half way (in stretch 32), keeps what came
// before and leaves the rest empty.
TEST(TrackPeaksTest, DamageKeepsWhatCameBefore) {
    for (const bool throws : {false, true}) {
        const TrackPeaks peaks = Scan(50000, throws);
        EXPECT_EQ(peaks.framesRead, 50000) << "throws " << throws;
        ASSERT_EQ(peaks.peaks.size(), 64u);
        for (size_t bin = 0; bin < 32; ++bin)
            EXPECT_FLOAT_EQ(peaks.peaks[bin], 0.2f) << "throws " << throws << ", " << bin;
        for (size_t bin = 32; bin < 64; ++bin)
            EXPECT_FLOAT_EQ(peaks.peaks[bin], 0.0f) << "throws " << throws << ", " << bin;
    }
}
