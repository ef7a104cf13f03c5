#include "deck/TimeText.h"

#include "legacy/Numbers.h"

#include <cmath>
#include <limits>

namespace velmor {

int16_t WholeMinutes(float seconds) {
    const double minutes = std::trunc(double(seconds) / 60.0);
    if (std::isnan(minutes))
        return 0;
    constexpr double low = std::numeric_limits<int16_t>::min();
    constexpr double high = std::numeric_limits<int16_t>::max();
    return int16_t(minutes < low ? low : minutes > high ? high : minutes);
}

float RemainderSeconds(float seconds) {
    const double minutes = float(WholeMinutes(seconds));
    return float(std::trunc((double(seconds) / 60.0 - minutes) * 60.0));
}

namespace {
// Whole numbers printed plainly: -0 and 5.0 print as "0" and "5".
QString wholeText(double value) {
    return QString::number(static_cast<long long>(value));
}
} // namespace

QString TimeText(float minutesOf, float secondsOf) {
    return wholeText(WholeMinutes(minutesOf)) + ':' + wholeText(RemainderSeconds(secondsOf));
}

QString RemainingTime(float position, float length) {
    int16_t minutes = Sub16(WholeMinutes(length), WholeMinutes(position));
    const float fromSeconds = RemainderSeconds(position);
    const float toSeconds = RemainderSeconds(length);
    float seconds;
    if (fromSeconds > toSeconds) {
        seconds = 60 - fromSeconds + toSeconds;
        minutes = Sub16(minutes, 1);
    } else {
        seconds = toSeconds - fromSeconds;
    }
    return wholeText(minutes) + ':' + wholeText(seconds);
}

std::optional<BarWidths> BarWidthsAt(double position, double length) {
    if (length == 0 || !std::isfinite(length))
        return std::nullopt;
    return BarWidths{float(position * kFullBarTwips / length),
                     float((length - position) * kFullBarTwips / length)};
}

bool NearTheEnd(double position, double length) {
    return length > 0 && length - position <= kWarningSeconds;
}

} // namespace velmor
