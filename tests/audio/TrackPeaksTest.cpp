#include "audio/TrackPeaks.h"
#include "audio/Decoder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace velmor::audio;

namespace {
// A track of `length` frames: the left channel of frame f is level(f); reading stops, or
// fails, at `damage`.
class MadeUpDecoder : public Decoder {
public:
    MadeUpDecoder(int64_t length, int64_t damage, bool throws)
        : length_(length), damage_(damage), throws_(throws) {}
    int sampleRate() const override { return 48000; }
    int64_t lengthFrames() const override { return length_; }
    int64_t read(float* stereo, int64_t frames) override {
        if (at_ >= damage_) {
            if (throws_)
                throw DecodeError("damaged frame");
            return 0;
        }
        const int64_t n = std::min(frames, damage_ - at_);
        for (int64_t i = 0; i < n; ++i) {
            // A quiet first three quarters, a loud last quarter, negative half the time.
            const float level = at_ + i < length_ * 3 / 4 ? 0.2f : 0.8f;
            stereo[2 * i] = (at_ + i) % 2 ? -level : level;
            stereo[2 * i + 1] = 0;
        }
        at_ += n;
        return n;
    }
    void seek(int64_t frame) override { at_ = frame; }

private:
    int64_t length_, damage_, at_ = 0;
    bool throws_;
};

} // namespace

TEST(TrackPeaksTest, EachStretchHasItsLoudestSampleAndDamageKeepsWhatCameBefore) {
    const int64_t length = 100000; // 1562.5 frames a stretch
    const std::atomic<bool> going{false};
    MadeUpDecoder whole(length, length, false);
    const TrackPeaks peaks = ScanPeaks(whole, 64, going);
    ASSERT_EQ(peaks.peaks.size(), 64u);
    EXPECT_EQ(peaks.framesRead, length);
    for (int bin = 0; bin < 64; ++bin)
        EXPECT_FLOAT_EQ(peaks.peaks[size_t(bin)], bin < 48 ? 0.2f : 0.8f) << bin;

    for (const bool throws : {false, true}) {
        MadeUpDecoder damaged(length, length / 2, throws);
        const TrackPeaks part = ScanPeaks(damaged, 64, going);
        EXPECT_EQ(part.framesRead, length / 2);
        EXPECT_FLOAT_EQ(part.peaks[31], 0.2f);
        EXPECT_FLOAT_EQ(part.peaks[33], 0.0f) << "nothing past the damage";
    }

    const std::atomic<bool> cancelled{true};
    MadeUpDecoder dropped(length, length, false);
    EXPECT_EQ(ScanPeaks(dropped, 64, cancelled).framesRead, 0);
}
