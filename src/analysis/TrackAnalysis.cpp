#include "analysis/TrackAnalysis.h"

#include "analysis/LoudnessMeter.h"
#include "analysis/TruePeak.h"
#include "audio/Decoder.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <soundtouch/BPMDetect.h>

namespace velmor {

namespace {

constexpr int64_t kChunkFrames = 16384;
// The tempo is found over this many seconds at the middle of the track: a dance track keeps
// its tempo, and the detector's work grows with what it hears.
constexpr double kTempoSeconds = 30;

// What the overview takes of each chunk read: the loudest sample of each stretch.
class PeakStretches {
public:
    PeakStretches(int bins, int64_t length)
        : bins_(std::max(bins, 0)), length_(length), peaks_(static_cast<size_t>(bins_), 0.0f) {}

    void add(const float* chunk, int64_t first, int64_t count) {
        // Frame f belongs to stretch f * bins / length; runs of a stretch at a time.
        for (int64_t f = 0; f < count;) {
            const int64_t bin = (first + f) * bins_ / length_;
            const int64_t binEnd = ((bin + 1) * length_ + bins_ - 1) / bins_;
            const int64_t end = std::min(count, binEnd - first);
            float peak = peaks_[static_cast<size_t>(bin)];
            for (int64_t i = 2 * f; i < 2 * end; ++i)
                peak = std::max(peak, std::abs(chunk[i]));
            peaks_[static_cast<size_t>(bin)] = peak;
            f = std::max(end, f + 1);
        }
    }
    std::vector<float>& peaks() { return peaks_; }

private:
    const int64_t bins_, length_;
    std::vector<float> peaks_;
};

// What the facts take of each chunk: loudness, true peak, the sound's bounds and the tempo.
class FactFinder {
public:
    FactFinder(int rate, int64_t length)
        : rate_(rate), tempoFrom_(std::max<int64_t>(0, length / 2 - TempoFrames(rate) / 2)),
          tempoTo_(tempoFrom_ + TempoFrames(rate)), loudness_(rate), tempo_(2, rate) {}

    void add(const float* chunk, int64_t first, int64_t count) {
        loudness_.add(chunk, count);
        truePeak_.add(chunk, count);
        const int64_t tempoFirst = std::clamp(tempoFrom_ - first, int64_t{0}, count);
        const int64_t tempoEnd = std::clamp(tempoTo_ - first, int64_t{0}, count);
        if (tempoEnd > tempoFirst)
            tempo_.inputSamples(chunk + 2 * tempoFirst, static_cast<int>(tempoEnd - tempoFirst));
        findSound(chunk, first, count);
    }

    TrackFacts facts(int64_t length) {
        TrackFacts facts;
        facts.lengthSeconds = static_cast<double>(length) / rate_;
        facts.loudness = loudness_.loudness();
        if (const double peak = truePeak_.peak(); peak > 0)
            facts.truePeak = 20 * std::log10(peak);
        if (firstSound_ >= 0) {
            facts.soundStart = static_cast<double>(firstSound_) / rate_;
            facts.soundEnd = static_cast<double>(lastSound_ + 1) / rate_;
        }
        if (const float bpm = tempo_.getBpm(); bpm > 0)
            facts.bpm = bpm;
        return facts;
    }

private:
    static int64_t TempoFrames(int rate) { return static_cast<int64_t>(kTempoSeconds * rate); }

    // The first sound is looked for until found; the last from the chunk's end back.
    void findSound(const float* chunk, int64_t first, int64_t count) {
        const auto sounds = [&](int64_t f) {
            return std::abs(chunk[2 * f]) > kSoundLevel || std::abs(chunk[2 * f + 1]) > kSoundLevel;
        };
        int64_t f = count - 1;
        while (f >= 0 && !sounds(f))
            --f;
        if (f < 0)
            return;
        lastSound_ = first + f;
        if (firstSound_ >= 0)
            return;
        int64_t g = 0;
        while (!sounds(g))
            ++g;
        firstSound_ = first + g;
    }

    const int rate_;
    const int64_t tempoFrom_, tempoTo_;
    LoudnessMeter loudness_;
    TruePeakMeter truePeak_;
    soundtouch::BPMDetect tempo_;
    int64_t firstSound_ = -1, lastSound_ = -1;
};

// Reads the decoder through, chunk by chunk, handing each to `take(chunk, first, count)`.
// Returns the frames read.
template <typename Take>
int64_t ReadThrough(audio::Decoder& decoder, const std::atomic<bool>& cancelled, Take&& take) {
    const int64_t length = decoder.lengthFrames();
    int64_t framesRead = 0;
    std::vector<float> chunk(2 * kChunkFrames);
    try {
        decoder.seek(0);
        while (framesRead < length && !cancelled.load(std::memory_order_relaxed)) {
            const int64_t got = decoder.read(chunk.data(), kChunkFrames);
            if (got <= 0)
                break;
            const int64_t count = std::min(got, length - framesRead);
            take(chunk.data(), framesRead, count);
            framesRead += count;
        }
    } catch (const std::exception&) {
        // Damage the decoder cannot read past: what came before it is kept.
    }
    return framesRead;
}

} // namespace

TrackPeaks ScanPeaks(audio::Decoder& decoder, int bins, const std::atomic<bool>& cancelled) {
    const int64_t length = decoder.lengthFrames();
    PeakStretches stretches(bins, length);
    TrackPeaks result;
    if (length > 0 && bins > 0)
        result.framesRead =
            ReadThrough(decoder, cancelled,
                        [&](const float* c, int64_t f, int64_t n) { stretches.add(c, f, n); });
    result.peaks = std::move(stretches.peaks());
    return result;
}

TrackLook LookAtTrack(audio::Decoder& decoder, int bins, const std::atomic<bool>& cancelled) {
    const int64_t length = decoder.lengthFrames();
    PeakStretches stretches(bins, length);
    FactFinder finder(decoder.sampleRate(), length);
    TrackLook look;
    if (length > 0 && bins > 0)
        look.peaks.framesRead =
            ReadThrough(decoder, cancelled, [&](const float* c, int64_t f, int64_t n) {
                stretches.add(c, f, n);
                finder.add(c, f, n);
            });
    look.peaks.peaks = std::move(stretches.peaks());
    look.facts = finder.facts(length);
    return look;
}

} // namespace velmor
