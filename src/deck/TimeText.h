#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace velmor {

// Seconds shown as m:s, both parts plain numbers without a leading zero: 185 s is "3:5",
// 600 s is "10:0". Callers hand in single-precision seconds, as the display always has.

// Whole minutes of s, truncated toward zero. Minutes beyond the 16-bit range do not occur
// with audio files; they are held at its ends rather than failing.
int16_t WholeMinutes(float seconds);

// The whole seconds within the minute, from the fraction of the minutes (worked in double
// precision) rather than an integer remainder, so 185.4 s gives 5.
float RemainderSeconds(float seconds);

// "m:s" with the minutes taken from one reading and the seconds from another; the elapsed
// label reads the position twice.
QString TimeText(float minutesOf, float secondsOf);
inline QString TimeText(float seconds) {
    return TimeText(seconds, seconds);
}

// Time left from `position` to `length` as "m:s", borrowing a minute when the position's
// seconds exceed the length's: 70.2 s into 185.4 s leaves "1:55".
QString RemainingTime(float position, float length);

// Widths in twips of the elapsed and the remaining bar at `position` of a track of `length`
// seconds; a full bar is 1065 twips. No widths for a track of no length.
constexpr double kFullBarTwips = 1065;
struct BarWidths {
    float elapsed;
    float remaining;
};
std::optional<BarWidths> BarWidthsAt(double position, double length);

// The last seconds of a track, when the end is near enough to warn of.
constexpr double kWarningSeconds = 30;
bool NearTheEnd(double position, double length);

} // namespace velmor
