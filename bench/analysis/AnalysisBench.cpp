// Times the look at a 10-minute MP3 (overview, loudness, true peak, bounds, tempo) against the
// overview's pass alone over the same file, and a second look (from the cache) against
// opening the file, in one run; prints the ratios. The parts of the look are timed alone over
// the decoded samples too, libebur128's own true-peak mode among them.
//
//   bench_analysis [data folder]   (the folder caches the encoded track; default ./bench-data)

#include "analysis/AnalysisCache.h"
#include "analysis/LoudnessMeter.h"
#include "analysis/TrackAnalyser.h"
#include "analysis/TrackAnalysis.h"
#include "analysis/TruePeak.h"
#include "audio/Decoder.h"
#include "support/AudioFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <ebur128.h>
#include <functional>
#include <soundtouch/BPMDetect.h>
#include <vector>

using namespace velmor;

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 600;

double ThreadMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The least processor time of `runs` runs of `step`, in ms: on a shared machine the other
// processes only ever add to a run.
double BestMs(int runs, const std::function<void()>& step) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double start = ThreadMs();
        step();
        best = std::min(best, ThreadMs() - start);
    }
    return best;
}

// Ten minutes of something like music: a gliding tone under a beat at 120 BPM, with a
// noise burst on each beat and a level that rises and falls over the phrase.
std::vector<float> MusicLike() {
    const std::vector<float> tone = test::Sweep(kSeconds, kRate, 0.35f);
    std::vector<float> mono(tone.size());
    uint32_t noise = 12345;
    for (size_t i = 0; i < mono.size(); ++i) {
        const double t = double(i) / kRate;
        const double beat = std::fmod(t, 0.5);
        noise = noise * 1664525u + 1013904223u;
        const double hiss = (double(noise >> 8) / double(1u << 24) - 0.5) * 0.8;
        const double phrase = 0.6 + 0.4 * std::sin(t * 2 * M_PI / 16);
        const double hit = beat < 0.08 ? hiss * (1 - beat / 0.08) : 0.05 * hiss;
        mono[i] = float(phrase * (tone[i] + hit));
    }
    return test::Stereo(mono);
}

QString TenMinuteMp3(const QString& folder) {
    QDir().mkpath(folder);
    const QString mp3 = folder + "/analysis-10min.mp3";
    if (!QFileInfo::exists(mp3)) {
        std::printf("Making %s with lame...\n", qPrintable(mp3));
        const QString wav = folder + "/analysis-10min.wav";
        test::WriteWav(wav.toStdString(), MusicLike(), kRate, 2);
        test::EncodeMp3(wav.toStdString(), mp3.toStdString(), "-b 320");
        QFile::remove(wav);
    }
    return mp3;
}

// The parts of the look alone, over samples already decoded.
void TimeParts(const std::vector<float>& stereo) {
    const auto frames = static_cast<int64_t>(stereo.size() / 2);
    constexpr int64_t kChunk = 16384;
    const auto each = [&](const std::function<void(const float*, int64_t)>& take) {
        for (int64_t f = 0; f < frames; f += kChunk)
            take(stereo.data() + 2 * f, std::min(kChunk, frames - f));
    };
    const double loudness = BestMs(3, [&] {
        LoudnessMeter meter(kRate);
        each([&](const float* c, int64_t n) { meter.add(c, n); });
    });
    const double ebuLoudness = BestMs(1, [&] {
        ebur128_state* state = ebur128_init(2, kRate, EBUR128_MODE_I);
        each([&](const float* c, int64_t n) { ebur128_add_frames_float(state, c, size_t(n)); });
        ebur128_destroy(&state);
    });
    const double ebuTruePeak = BestMs(1, [&] {
        ebur128_state* state = ebur128_init(2, kRate, EBUR128_MODE_TRUE_PEAK);
        each([&](const float* c, int64_t n) { ebur128_add_frames_float(state, c, size_t(n)); });
        ebur128_destroy(&state);
    });
    const double ownTruePeak = BestMs(3, [&] {
        TruePeakMeter meter;
        each([&](const float* c, int64_t n) { meter.add(c, n); });
    });
    const double tempo = BestMs(3, [&] {
        soundtouch::BPMDetect detect(2, kRate);
        detect.inputSamples(stereo.data(), 30 * kRate); // the look hears 30 s of the track
        detect.getBpm();
    });
    std::printf("Parts over the decoded samples (best, CPU ms): loudness %.0f (libebur128: "
                "%.0f), true peak %.0f (libebur128's true-peak mode: %.0f), tempo over 30 s "
                "%.0f\n",
                loudness, ebuLoudness, ownTruePeak, ebuTruePeak, tempo);
}

} // namespace

int main(int argc, char** argv) {
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("bench-data");
    const QString mp3 = TenMinuteMp3(folder);
    const std::string file = mp3.toStdString();
    const std::atomic<bool> cancelled{false};

    // In turns, so that both see the machine's busy and quiet spells alike.
    double peaks = 1e300, look = 1e300;
    for (int turn = 0; turn < 5; ++turn) {
        peaks = std::min(peaks, BestMs(1, [&] {
                             const auto decoder = audio::OpenDecoder(file);
                             ScanPeaks(*decoder, TrackAnalyser::kBins, cancelled);
                         }));
        look = std::min(look, BestMs(1, [&] {
                            const auto decoder = audio::OpenDecoder(file);
                            LookAtTrack(*decoder, TrackAnalyser::kBins, cancelled);
                        }));
    }
    std::printf("Look at a 10-minute 320 kbps MP3: %.0f ms; the overview's pass alone: %.0f ms; "
                "ratio %.3f (goal <= 1.25)\n",
                look, peaks, look / peaks);

    QTemporaryDir cacheDir;
    const AnalysisCache cache(cacheDir.path());
    const OpenDecoderFunction open = audio::OpenDecoder;
    LookOnce(mp3, cache, open, cancelled);
    const double again = BestMs(21, [&] { LookOnce(mp3, cache, open, cancelled); });
    const double opening = BestMs(21, [&] { audio::OpenDecoder(file); });
    std::printf("Second look (from the cache): %.2f ms; opening the file: %.2f ms; ratio %.3f "
                "(goal <= 2)\n",
                again, opening, again / opening);

    TimeParts(test::DecodeAll(file));
    return 0;
}
