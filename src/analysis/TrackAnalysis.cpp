#include "analysis/TrackAnalysis.h"

#include "analysis/TruePeak.h"
#include "audio/Decoder.h"

#include <algorithm>
#include <cmath>
#include <ebur128.h>
#include <memory>
#include <soundtouch/BPMDetect.h>

namespace velmor {

namespace {

constexpr int64_t kChunkFrames = 16384;

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
    explicit FactFinder(int rate)
        : rate_(rate), loudness_(ebur128_init(2, static_cast<unsigned long>(rate), EBUR128_MODE_I),
                                 [](ebur128_state* state) { ebur128_destroy(&state); }),
          tempo_(2, rate) {}

    void add(const float* chunk, int64_t first, int64_t count) {
        if (loudness_)
            ebur128_add_frames_float(loudness_.get(), chunk, static_cast<size_t>(count));
        truePeak_.add(chunk, count);
        tempo_.inputSamples(chunk, static_cast<int>(count));
        for (int64_t i = 0; i < 2 * count; ++i) {
            if (std::abs(chunk[i]) > kSoundLevel) {
                if (firstSound_ < 0)
                    firstSound_ = first + i / 2;
                lastSound_ = first + i / 2;
            }
        }
    }

    TrackFacts facts(int64_t length) {
        TrackFacts facts;
        facts.lengthSeconds = static_cast<double>(length) / rate_;
        double loudness = 0;
        if (loudness_ && ebur128_loudness_global(loudness_.get(), &loudness) == EBUR128_SUCCESS &&
            std::isfinite(loudness))
            facts.loudness = loudness;
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
    const int rate_;
    std::unique_ptr<ebur128_state, void (*)(ebur128_state*)> loudness_;
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
    FactFinder finder(decoder.sampleRate());
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
