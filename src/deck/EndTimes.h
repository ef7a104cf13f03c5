#pragma once

#include <QString>
#include <QTime>
#include <optional>
#include <vector>

namespace velmor {

// When a playing deck's track ends, and its list if it plays through, as times of day.
struct DeckEnd {
    double position = 0; // track seconds heard now
    double end = 0;      // track seconds the track plays to
    double rate = 1;     // its speed
    // The seconds each entry still to come plays, in list order; none where not known.
    std::vector<std::optional<double>> following{};
};

// "21:14:05".
QString ClockText(const QTime& now);

// "ends 21:14" for the track, then " · list 23:05" when entries follow it; "list ≥23:05"
// when some of their lengths are not known: the list ends that late at least. Times run at
// the deck's speed and are cut to the minute, as a clock shows them.
QString EndsText(const QTime& now, const DeckEnd& deck);

} // namespace velmor
