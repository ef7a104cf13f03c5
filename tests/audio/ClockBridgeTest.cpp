#include "audio/ClockBridge.h"
#include "support/AudioFixtures.h"
#include "support/DriftingClocks.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 48000;
constexpr int kBuffer = 256;
constexpr int kTarget = 1536; // two devices' buffers of 256 frames and 21 ms: a tight one
constexpr int kCapacity = 16384;

// A main device that plays a 1 kHz sine at 0.5 into a bridge, and a second device that
// plays what comes across, each by its own clock; the main one `drift` fast, its buffers
// late by `lateness`.
class TwoClocks {
public:
    TwoClocks(double drift, Lateness lateness)
        : main_(kRate, kBuffer, drift, lateness), second_(kRate, kBuffer, 0) {
        for (int i = 0; i < kCycle + kBuffer; ++i) // whole cycles of 48 frames
            cycles_[2 * i] = cycles_[2 * i + 1] =
                static_cast<float>(0.5 * std::sin(2 * M_PI * i / kCycle));
        main_.start(feed_);
        second_.start(play_);
    }
    void run(double seconds) { RunClocks({&main_, &second_}, seconds); }
    // What the second device plays from now on is kept.
    void keep() { keeping_ = true; }

    audio::ClockBridge bridge{kRate, kTarget, kCapacity};
    std::vector<float> heard; // interleaved stereo

private:
    static constexpr int kCycle = kRate / 1000;
    DriftingOutput main_, second_;
    float cycles_[2 * (kCycle + kBuffer)];
    int at_ = 0; // in the first cycle
    bool keeping_ = false;
    CallbackOf feed_{[this](float*, int frames) {
        bridge.push(cycles_ + 2 * at_, frames);
        at_ = (at_ + frames) % kCycle;
    }};
    CallbackOf play_{[this](float* out, int frames) {
        bridge.pull(out, frames);
        if (keeping_)
            heard.insert(heard.end(), out, out + 2 * frames);
    }};
};

// Interleaved stereo frames counting up from `first`, one step a frame.
std::vector<float> Count(float first, int frames) {
    std::vector<float> stereo;
    for (int i = 0; i < frames; ++i)
        stereo.insert(stereo.end(), {first + i, -(first + i)});
    return stereo;
}

// The largest second difference of the left channel: a sine's is its amplitude times the
// square of its step in radians; a frame lost or played twice bends it far more.
float LargestBend(const std::vector<float>& stereo) {
    float largest = 0;
    for (size_t i = 4; i < stereo.size(); i += 2)
        largest = std::max(largest, std::abs(stereo[i] - 2 * stereo[i - 2] + stereo[i - 4]));
    return largest;
}

std::vector<float> Steady(float value, int frames) {
    return std::vector<float>(2 * static_cast<size_t>(frames), value);
}

} // namespace

// Two sound cards a tenth of a percent apart (ten times what real ones differ by), for an
// hour, with one in a hundred of the main card's buffers up to 20 ms late, as on a busy
// machine: the second card never runs dry and nothing is thrown away. The bridge has by then
// learnt the drift. (Two hours of 48 kHz audio, interpolated frame by frame, take a while
// under the sanitisers; buffers on time are the easier case, and the sine below has them.)
TEST(ClockBridgeTest, ClocksATenthOfAPercentApartForAnHourNeitherRunDryNorOverflow) {
    for (double drift : {0.001, -0.001}) {
        TwoClocks clocks(drift, {0.01, 0.020, 7});
        clocks.run(3600);
        EXPECT_EQ(clocks.bridge.underruns(), 0u) << drift;
        EXPECT_EQ(clocks.bridge.overruns(), 0u) << drift;
        EXPECT_NEAR(clocks.bridge.drift(), drift, 0.00005) << drift;
    }
}

// A sine across clocks that differ, while the bridge finds the drift, with buffers on time
// and with buffers coming late: it comes out whole, with no step and no bend larger than the
// sine's own, and at its level.
TEST(ClockBridgeTest, ASineComesAcrossWithoutJumpsAtItsLevel) {
    const Lateness onTime{}, busy{0.01, 0.020, 3};
    for (double drift : {0.001, -0.001})
        for (const Lateness& lateness : {onTime, busy}) {
            TwoClocks clocks(drift, lateness);
            clocks.run(0.1); // filled to the target, and playing
            clocks.keep();
            clocks.run(20);
            const long frames = static_cast<long>(clocks.heard.size() / 2);
            ASSERT_GT(frames, 19 * kRate);
            // 1 kHz at 0.5: it moves by at most 2 pi 1000 / 48000 * 0.5 = 0.0654 a frame, and
            // bends by at most (2 pi 1000 / 48000)^2 * 0.5 = 0.00857.
            const bool late = lateness.chance > 0;
            EXPECT_LT(LargestStep(clocks.heard, 0, frames), 0.0660f) << drift << late;
            EXPECT_LT(LargestBend(clocks.heard), 0.0087f) << drift << late;
            EXPECT_NEAR(PeakOf(clocks.heard), 0.5f, 0.001f) << drift << late;
            EXPECT_NEAR(RmsDb(clocks.heard, 0, frames), -9.03, 0.01) << drift << late;
            EXPECT_EQ(clocks.bridge.underruns(), 0u) << drift << late;
        }
}

// Once the ring holds the target, what went in comes out as it went in, kTaps / 2 + 1
// frames later, while the clocks agree; before, silence.
TEST(ClockBridgeTest, PlaysFromTheTargetOnTheFramesPushedHalfTheInterpolatorLate) {
    audio::ClockBridge bridge(kRate, kTarget, kCapacity);
    std::vector<float> out(2 * kBuffer);
    const auto first = Count(1, kTarget - 1);
    bridge.push(first.data(), kTarget - 1);
    bridge.pull(out.data(), kBuffer);
    EXPECT_EQ(PeakOf(out), 0.0f); // one frame short of the target
    bridge.push(Count(kTarget, 1).data(), 1);
    bridge.pull(out.data(), kBuffer);
    EXPECT_EQ(out[2 * 8], 0.0f); // the interpolator's frames before the first
    EXPECT_EQ(out[2 * 9], 1.0f);
    EXPECT_EQ(out[2 * 9 + 1], -1.0f);
    EXPECT_EQ(out[2 * 255], 247.0f);
    EXPECT_EQ(bridge.correction(), 0.0);
    EXPECT_EQ(bridge.underruns(), 0u);
}

// A ring run dry is one underrun, however long it stays dry; the bridge then waits for the
// target again. Nothing carried (idle) is not dry.
TEST(ClockBridgeTest, ARingRunDryCountsOnceAndRefillsToTheTarget) {
    audio::ClockBridge bridge(kRate, kTarget, kCapacity);
    std::vector<float> out(2 * kBuffer);
    bridge.push(Steady(0.5f, kTarget).data(), kTarget);
    for (int pull = 0; pull < 10; ++pull)
        bridge.pull(out.data(), kBuffer);
    EXPECT_EQ(bridge.underruns(), 1u);
    EXPECT_EQ(PeakOf(out), 0.0f);
    bridge.push(Steady(0.5f, kTarget - kBuffer).data(), kTarget - kBuffer);
    bridge.pull(out.data(), kBuffer);
    EXPECT_EQ(PeakOf(out), 0.0f); // under the target: still silent
    bridge.push(Steady(0.5f, kBuffer).data(), kBuffer);
    bridge.pull(out.data(), kBuffer);
    EXPECT_NEAR(out[2 * 255], 0.5f, 1e-6f);
    bridge.idle(out.data(), kBuffer);
    bridge.pull(out.data(), kBuffer);
    EXPECT_EQ(PeakOf(out), 0.0f); // emptied
    EXPECT_EQ(bridge.underruns(), 1u);
}

// A reading device that stalls holds up nothing: what does not fit in the ring is dropped,
// and when it reads again, a ring far above the target is cut back to it, to the newest
// frames, rather than played out late. Each is an overrun.
TEST(ClockBridgeTest, AFullRingDropsAndARingFarAboveTheTargetIsCutBack) {
    audio::ClockBridge bridge(kRate, kTarget, kCapacity);
    std::vector<float> out(2 * kBuffer);
    bridge.push(Steady(0.25f, kCapacity - kTarget).data(), kCapacity - kTarget);
    bridge.push(Steady(0.5f, 2 * kTarget).data(), 2 * kTarget); // half of it fits
    EXPECT_EQ(bridge.overruns(), 1u);
    bridge.pull(out.data(), kBuffer);
    EXPECT_EQ(bridge.overruns(), 2u);
    EXPECT_FLOAT_EQ(out[2 * 255], 0.5f);
}
