#include "deck/EndTimes.h"

#include <algorithm>
#include <cmath>

namespace velmor {

namespace {
QString minuteOf(const QTime& now, double seconds) {
    return now.addMSecs(int(std::lround(seconds * 1000))).toString("HH:mm");
}
} // namespace

QString ClockText(const QTime& now) {
    return now.toString("HH:mm:ss");
}

QString EndsText(const QTime& now, const DeckEnd& deck) {
    const double trackLeft = std::max(0.0, deck.end - deck.position) / deck.rate;
    QString text = "ends " + minuteOf(now, trackLeft);
    if (deck.following.empty())
        return text;
    double listLeft = trackLeft;
    bool known = true;
    for (const std::optional<double>& seconds : deck.following) {
        known = known && seconds.has_value();
        listLeft += seconds.value_or(0) / deck.rate;
    }
    return text + QString(" \u00b7 list ") + (known ? "" : "\u2265") + minuteOf(now, listLeft);
}

} // namespace velmor
