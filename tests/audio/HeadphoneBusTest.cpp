#include "audio/HeadphoneBus.h"

#include <gtest/gtest.h>
#include <vector>

using namespace velmor;

namespace {
constexpr int kRate = 48000;
} // namespace

// What a second device hears comes from the main callback across a clock bridge (see its
// own tests), which plays once it holds the two devices' buffers and a margin. A ring run dry
// is an underrun of the device; a device still playing while the headphones have gone
// elsewhere is not dry, and starts afresh when they come back.
TEST(HeadphoneBusTest, TheSecondDeviceHearsTheBusFromTheTargetOnAndCountsOnlyADryRing) {
    audio::HeadphoneBus bus(kRate, 4);
    bus.setCueMix(1.0f); // the main mix alone, so that the values pushed are the ones heard
    std::vector<float> out(2 * 256), quad(4 * 256);
    // Buffers of 256 frames of `value` pushed, then pulled; the last sample pulled.
    const auto pass = [&](int pushes, float value, int pulls) {
        for (std::vector<float> main(2 * 256, value); pushes > 0; --pushes) {
            bus.begin(256);
            bus.takeMain(main.data(), 256);
            bus.finish(main.data(),
                       bus.route() == audio::HeadphoneRoute::MainChannels ? quad.data() : nullptr,
                       256);
        }
        while (pulls--)
            bus.feed().renderOutput(out.data(), 2, 256);
        return out[2 * 255];
    };
    bus.setRoute(audio::HeadphoneRoute::MainChannels);
    pass(10, 0.5f, 0); // the blend's ramp to the main mix run through
    bus.setRoute(audio::HeadphoneRoute::SecondDevice);
    EXPECT_EQ(pass(9, 0.5f, 1), 0.0f); // 2,304 frames, under 256 + 256 + 2,048
    EXPECT_NEAR(pass(1, 0.5f, 1), 0.5f, 1e-6f);
    bus.setRoute(audio::HeadphoneRoute::None);
    EXPECT_EQ(pass(0, 0, 10), 0.0f);
    EXPECT_EQ(bus.underruns(), 0u);
    bus.setRoute(audio::HeadphoneRoute::SecondDevice);
    EXPECT_EQ(pass(9, 0.5f, 1), 0.0f); // what was left was dropped: under the target again
    EXPECT_NEAR(pass(1, 0.5f, 1), 0.5f, 1e-6f);
    EXPECT_EQ(pass(0, 0, 10), 0.0f);
    EXPECT_EQ(bus.underruns(), 1u);
}
