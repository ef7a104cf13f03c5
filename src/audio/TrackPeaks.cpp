#include "audio/TrackPeaks.h"

#include "audio/Decoder.h"

#include <algorithm>
#include <cmath>

namespace velmor::audio {

TrackPeaks ScanPeaks(Decoder& decoder, int bins, const std::atomic<bool>& cancelled) {
    TrackPeaks result;
    result.peaks.assign(static_cast<size_t>(std::max(bins, 0)), 0.0f);
    const int64_t length = decoder.lengthFrames();
    if (length <= 0 || bins <= 0)
        return result;
    constexpr int64_t kChunkFrames = 16384;
    std::vector<float> chunk(2 * kChunkFrames);
    try {
        decoder.seek(0);
        while (result.framesRead < length && !cancelled.load(std::memory_order_relaxed)) {
            const int64_t got = decoder.read(chunk.data(), kChunkFrames);
            if (got <= 0)
                break;
            const int64_t first = result.framesRead;
            const int64_t count = std::min(got, length - first);
            // Frame f belongs to stretch f * bins / length; runs of a stretch at a time.
            for (int64_t f = 0; f < count;) {
                const int64_t bin = (first + f) * bins / length;
                const int64_t binEnd = ((bin + 1) * length + bins - 1) / bins;
                const int64_t end = std::min(count, binEnd - first);
                float peak = result.peaks[static_cast<size_t>(bin)];
                for (int64_t i = 2 * f; i < 2 * end; ++i)
                    peak = std::max(peak, std::abs(chunk[static_cast<size_t>(i)]));
                result.peaks[static_cast<size_t>(bin)] = peak;
                f = std::max(end, f + 1);
            }
            result.framesRead += count;
        }
    } catch (const std::exception&) {
        // Damage the decoder cannot read past: the overview shows what came before it.
    }
    return result;
}

} // namespace velmor::audio
