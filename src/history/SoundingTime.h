#pragma once

namespace velmor {

// How long a track has sounded on the main output, and whether that makes it played: 30 s
// or more, counted only while it sounds (playing, not muted, heard at the deck's level and
// the crossfader's). The time is read from a clock in seconds that only moves forward; the
// sound is told as it changes, and the time since the last look is counted when the track
// sounded through it.
class SoundingTime {
public:
    static constexpr double kPlayed = 30.0;

    // At `now`, the track starts or goes on sounding (or not).
    void observe(double now, bool sounding);
    // Seconds sounded up to the last look.
    double seconds() const { return seconds_; }
    bool counts() const { return seconds_ >= kPlayed; }

private:
    bool started_ = false;
    bool sounding_ = false;
    double last_ = 0;
    double seconds_ = 0;
};

} // namespace velmor
