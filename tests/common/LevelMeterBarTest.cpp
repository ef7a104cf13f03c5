#include "common/LevelMeterBar.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace velmor;

namespace {

// How many pixels of a 200-pixel bar are lit, showing a peak of `peakDb` over an RMS of -40.
int LitPixels(double peakDb) {
    LevelMeterBar bar(false);
    bar.resize(200, 20);
    MeterBallistics::Shown shown;
    shown.peak = {peakDb, peakDb};
    shown.rms = {-40, -40};
    bar.setShown(shown);
    const QImage drawn = bar.grab().toImage();
    int lit = 0;
    for (int x = 0; x < drawn.width(); ++x)
        lit += drawn.pixel(x, 5) != drawn.pixel(drawn.width() - 1, 5);
    return lit;
}

} // namespace

// A peak above the RMS lights the bar past the RMS's reach.
TEST(LevelMeterBarTest, ThePeakIsDrawnPastTheRms) {
    EXPECT_GT(LitPixels(-12), LitPixels(-40) + 20);
}
