#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace velmor {

// Which playlist entry a deck moves to when some entries cannot be played. The deck walks
// from a starting entry in one direction (+1 towards the end, -1 towards the start), never
// wrapping round, so a list of nothing but bad entries ends after one pass.

// The first entry from `start` on, going `step`, that is not known to be unplayable; none
// when `start` lies outside the list or every entry that way is marked.
std::optional<int> NextPlayable(int count, int start, int step,
                                const std::function<bool(int)>& marked);

struct SteppedOver {
    std::optional<int> opened; // the entry that opened, none when no entry would
    int count = 0;             // entries tried on the way that would not open
    QString firstReason;       // why the first of them would not
};

// Tries entries from `start` on, going `step`, until one opens. `tryOpen` opens entry i and
// gives why it cannot, or nothing when it opened; it is expected to mark what it refuses.
// Entries marked before are passed over without a try, except the starting one when
// `retryStart` is set (the user pointed at it).
using OpenEntry = std::function<std::optional<QString>(int)>;
SteppedOver OpenFirstPlayable(int count, int start, int step, bool retryStart,
                              const std::function<bool(int)>& marked, const OpenEntry& tryOpen);

// What the deck tells when it stepped over entries: the reason itself for one, how many and
// the first reason for more. `deck` is 0-based.
QString SteppedOverNotice(int deck, const SteppedOver& result);

} // namespace velmor
