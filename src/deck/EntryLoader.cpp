#include "deck/EntryLoader.h"

#include "common/Numbers.h"
#include "common/Reporter.h"
#include "deck/EntrySearch.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"

namespace velmor {

std::optional<int> EntryLoader::LoadPlayableEntry(int d, int start, int step, Start from) {
    DeckEntries& list = w_.playlists.list(d);
    MediaPlayer& player = *w_.pla[d];
    const auto marked = [&](int i) { return list.isUnplayable(i); };
    const auto tryOpen = [&](int i) -> std::optional<QString> {
        try {
            player.setFileName(list.fullPath(i));
        } catch (const std::exception& refused) {
            const QString reason = DescriptionOf(refused);
            list.markUnplayable(i, reason);
            return reason;
        }
        return std::nullopt;
    };
    const SteppedOver result =
        OpenFirstPlayable(list.count(), start, step, from == Start::Retry, marked, tryOpen);
    if (result.count > 0)
        w_.reporter.notice(SteppedOverNotice(d, result));
    if (!result.opened)
        return std::nullopt;
    const int opened = *result.opened;
    const int16_t number = Add16(opened, 1);
    list.clearUnplayable(opened);
    list.setLoaded(opened);
    decks_.TrackNumber[d] = number;
    return opened;
}

bool EntryLoader::HasPlayableEntry(int d, int start, int step) const {
    const DeckEntries& list = w_.playlists.list(d);
    return NextPlayable(list.count(), start, step, [&](int i) { return list.isUnplayable(i); })
        .has_value();
}

void EntryLoader::QueueNextEntry(int d) {
    const DeckEntries& list = w_.playlists.list(d);
    const int loaded = decks_.TrackNumber[d];
    std::optional<int> next;
    // What the stopped handling would open at the end of the track.
    if (loaded != list.count() && !decks_.PreviousRequested[d] && !decks_.StoppedByUser[d])
        next = NextPlayable(list.count(), loaded, +1, [&](int i) { return list.isUnplayable(i); });
    w_.pla[d]->QueueNext(next ? list.fullPath(*next) : QString());
}

} // namespace velmor
