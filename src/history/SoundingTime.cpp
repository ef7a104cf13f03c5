#include "history/SoundingTime.h"

namespace velmor {

void SoundingTime::observe(double now, bool sounding) {
    // A clock that went back (a seek, a restarted clock) adds nothing.
    if (started_ && sounding_ && now > last_)
        seconds_ += now - last_;
    started_ = true;
    sounding_ = sounding;
    last_ = now;
}

} // namespace velmor
