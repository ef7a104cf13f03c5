#include "deck/SilenceWatch.h"

namespace velmor {

std::vector<int> SilenceWatch::look(double now, float masterPeak,
                                    const std::array<bool, kDecks>& meant) {
    std::vector<int> unheard;
    for (int d = 0; d < kDecks; ++d) {
        if (!meant[d] || masterPeak >= kSilentPeak) {
            silentSince_[d].reset();
            told_[d] = false;
            continue;
        }
        if (!silentSince_[d])
            silentSince_[d] = now;
        if (!told_[d] && now - *silentSince_[d] >= kSeconds) {
            told_[d] = true;
            unheard.push_back(d);
        }
    }
    return unheard;
}

} // namespace velmor
