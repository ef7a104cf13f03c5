#include "deck/EntrySearch.h"

namespace velmor {

namespace {
bool inList(int count, int i) {
    return i >= 0 && i < count;
}
} // namespace

std::optional<int> NextPlayable(int count, int start, int step,
                                const std::function<bool(int)>& marked) {
    for (int i = start; inList(count, i); i += step)
        if (!marked(i))
            return i;
    return std::nullopt;
}

SteppedOver OpenFirstPlayable(int count, int start, int step, bool retryStart,
                              const std::function<bool(int)>& marked, const OpenEntry& tryOpen) {
    SteppedOver result;
    std::optional<int> next =
        retryStart && inList(count, start) ? start : NextPlayable(count, start, step, marked);
    while (next) {
        const std::optional<QString> failure = tryOpen(*next);
        if (!failure) {
            result.opened = next;
            break;
        }
        if (result.count++ == 0)
            result.firstReason = *failure;
        next = NextPlayable(count, *next + step, step, marked);
    }
    return result;
}

QString SteppedOverNotice(int deck, const SteppedOver& result) {
    const QString name = QStringLiteral("Deck %1").arg(deck + 1);
    if (result.count == 1)
        return QStringLiteral("%1: %2").arg(name, result.firstReason);
    return QStringLiteral("%1 stepped over %2 entries, the first because %3")
        .arg(name)
        .arg(result.count)
        .arg(result.firstReason);
}

} // namespace velmor
