#include "mix/FadeRunner.h"

#include "common/Reporter.h"
#include "deck/Deck.h"
#include "deck/VolumeLaw.h"
#include "legacy/Error.h"
#include "legacy/Numbers.h"
#include "mix/FadeSteps.h"

#include <optional>
#include <utility>

namespace velmor {

void FadeRunner::cueIn(int16_t startVolume) {
    deck_.setOutputLevel(VolumeToPlayerLevel(startVolume));
    const std::optional<double> cue = deck_.cue();
    if (!cue)
        throw Error(kTypeMismatch); // the cue typed is not a number
    deck_.seek(RealToInt32(*cue));
    trapped(reporter_, [this] { deck_.playPause(); });
}

void FadeRunner::start(bool fadeOut, int32_t lengthMs, int16_t startVolume, int16_t endVolume) {
    const float step = FadeStepSize(fadeOut, lengthMs, startVolume, endVolume);
    state_ = {lengthMs, 0, step, fadeOut};
    failureTold_ = false;
}

bool FadeRunner::isOver() const {
    return FadeIsOver(state_.FadeTick, state_.FadeLength);
}

void FadeRunner::step() {
    try {
        deck_.setOutputLevel(NextFadeLevel(state_.FadingOut, deck_.outputLevel(), state_.FadeStep));
        state_.FadeTick = Add16(state_.FadeTick, 1);
    } catch (const std::exception& error) {
        // The next tick tries again, without another notice.
        if (!std::exchange(failureTold_, true))
            reporter_.reportError(error);
    }
}

void FadeRunner::end(bool endsOut) {
    if (endsOut || state_.FadingOut)
        trapped(reporter_, [this] { deck_.stop(StopReason::User); });
}

} // namespace velmor
