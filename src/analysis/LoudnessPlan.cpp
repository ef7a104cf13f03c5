#include "analysis/LoudnessPlan.h"

#include <algorithm>
#include <cmath>

namespace velmor {

double LevellingGainDb(double loudness, double target) {
    return std::min(target - loudness, kMaxRaiseDb);
}

audio::TrackPlan PlanTrack(const Levelling& levelling, const TrackFacts* measured,
                           std::optional<double> taggedLoudness) {
    audio::TrackPlan plan;
    if (levelling.enabled) {
        double gainDb = kUnknownLoudnessGainDb;
        if (measured && measured->loudness)
            gainDb = LevellingGainDb(*measured->loudness, levelling.target);
        else if (taggedLoudness)
            gainDb = LevellingGainDb(*taggedLoudness, levelling.target);
        plan.gain = static_cast<float>(std::pow(10.0, gainDb / 20.0));
    }
    if (levelling.skipSilence && measured && measured->soundStart && measured->soundEnd) {
        plan.startSeconds = *measured->soundStart;
        plan.endSeconds = *measured->soundEnd + kTailSeconds;
        if (measured->lengthSeconds > 0)
            plan.endSeconds = std::min(plan.endSeconds, measured->lengthSeconds);
    }
    return plan;
}

} // namespace velmor
