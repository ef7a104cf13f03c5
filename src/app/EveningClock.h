#pragma once

#include <QDateTime>
#include <functional>

namespace velmor {

class Main;

// The evening's clock: the time of day, and on each playing deck's frame when its track ends
// and when its list ends if it plays through. One timer, on the second; a deck's note is
// shown again at once when it is sought, paused, stopped or its speed changes. A deck that
// is not playing shows no end: nothing is counting down.
class EveningClock {
public:
    using Clock = std::function<QDateTime()>;
    EveningClock(Main& window, Clock clock) : w_(window), clock_(std::move(clock)) {}
    void wire();

    // The second has come: the clock and every deck's note.
    void tmrClock_Timer();
    void showEnds(int d);

private:
    Main& w_;
    Clock clock_;
};

} // namespace velmor
