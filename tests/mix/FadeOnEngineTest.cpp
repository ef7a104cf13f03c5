#include "support/AudioFixtures.h"
#include "support/EngineWindow.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
constexpr int kRate = 48000;
constexpr long kMs = kRate / 1000;
constexpr long kTick = 50 * kMs; // one step of a fade
} // namespace

// A fade in with the panel's defaults, heard: the real window's fade steps on the real
// engine, rendered offline. A 1 kHz tone fills each 1 ms window with one whole wave, so the
// windows' levels follow the deck's gain and nothing else.
TEST(FadeOnEngine, ADefaultFadeInRisesSmoothlyFromMinus36DbToFullLevelInTwoSeconds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteWav(dir.filePath("Tone.wav").toStdString(), Tone(1000, 6, kRate), kRate, 1);
    EngineWindow t(kRate);
    ASSERT_TRUE(t.loaded);
    Main& w = t.w();
    audio::OfflineOutput& driver = *t.driver;
    t.fill(0, {"Tone.wav"}, dir.path());

    // Full level for the reference, then stopped (back to the cue, at the slider's level).
    w.transport.cmdPlayPause_Click(0);
    QCoreApplication::processEvents();
    const std::vector<float> reference = driver.render(kRate / 2);
    const double fullDb = RmsDb(reference, kRate / 4, kRate / 2);
    w.transport.cmdStop_Click(0);
    driver.render(kRate / 10);

    w.fades.cmdFade_Click(0);
    QCoreApplication::processEvents();
    w.ui.FadeTimer[0]->stop(); // only the ticks below count, each after 50 ms of audio
    std::vector<float> heard;
    for (int tick = 1; tick <= 45; ++tick) {
        const std::vector<float> stretch = driver.render(kTick);
        heard.insert(heard.end(), stretch.begin(), stretch.end());
        w.fades.FadeTimer_Timer(0);
        QCoreApplication::processEvents();
    }
    const std::vector<float> after = driver.render(kRate / 2);
    heard.insert(heard.end(), after.begin(), after.end());
    EXPECT_EQ(w.ui.cmdFade[0]->text(), "Fade");
    EXPECT_EQ(w.pla[0]->PlayState(), MediaPlayer::Playing);
    EXPECT_TRUE(t.reporter.empty());

    // From the first whole window after the deck's 4 ms start ramp.
    const long first = FirstSoundingFrame(heard);
    ASSERT_GE(first, 0);
    std::vector<double> levels; // dB against full level, one per millisecond
    for (long at = first + 5 * kMs; at + kMs <= static_cast<long>(heard.size() / 2); at += kMs)
        levels.push_back(RmsDb(heard, at, at + kMs) - fullDb);
    ASSERT_GT(levels.size(), 2500u);

    EXPECT_NEAR(levels.front(), -36.0, 0.1);
    EXPECT_NEAR(levels.back(), 0.0, 0.05);
    long riseStart = -1, riseEnd = -1;
    double largestChange = 0;
    for (size_t i = 0; i < levels.size(); ++i) {
        if (riseStart < 0 && levels[i] > -35.9)
            riseStart = static_cast<long>(i);
        if (riseEnd < 0 && levels[i] > -0.1)
            riseEnd = static_cast<long>(i);
        if (i > 0) {
            ASSERT_GE(levels[i], levels[i - 1] - 1e-3) << "the level fell at " << i << " ms";
            largestChange = std::max(largestChange, std::abs(levels[i] - levels[i - 1]));
        }
    }
    ASSERT_GE(riseStart, 0);
    ASSERT_GE(riseEnd, 0);
    EXPECT_NEAR(riseEnd - riseStart, 2000, 50) << "ms from -36 dB to full level";
    EXPECT_LE(largestChange, 0.2) << "dB between neighbouring 1 ms windows";
}
