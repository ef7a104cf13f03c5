#include "deck/EntryLoader.h"

#include "common/Numbers.h"
#include "common/Reporter.h"
#include "deck/EntrySearch.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"

namespace velmor {

std::optional<int> EntryLoader::LoadPlayableEntry(int d, int start, int step, Start from) {
    passes_[d] = Pass{-1, step, {}, decks_.TrackNumber[d]};
    return continuePass(d, start, from == Start::Retry);
}

std::optional<int> EntryLoader::continuePass(int d, int start, bool retryStart) {
    DeckEntries& list = w_.playlists.list(d);
    MediaPlayer& player = *w_.pla[d];
    Pass& pass = passes_[d];
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
        OpenFirstPlayable(list.count(), start, pass.step, retryStart, marked, tryOpen);
    pass.steppedOver.count += result.count;
    if (pass.steppedOver.firstReason.isEmpty())
        pass.steppedOver.firstReason = result.firstReason;
    if (!result.opened) {
        endPass(d);
        return std::nullopt;
    }
    const int opened = *result.opened;
    pass.entry = opened;
    list.clearUnplayable(opened);
    list.setLoaded(opened);
    decks_.TrackNumber[d] = Add16(opened, 1);
    return opened;
}

void EntryLoader::endPass(int d) {
    Pass& pass = passes_[d];
    if (pass.steppedOver.count > 0)
        w_.reporter.notice(SteppedOverNotice(d, pass.steppedOver));
    pass = Pass{};
}

void EntryLoader::Opened(int d) {
    const Pass& pass = passes_[d];
    const DeckEntries& list = w_.playlists.list(d);
    if (pass.entry >= 0 && pass.entry < list.count() &&
        list.fullPath(pass.entry) == w_.pla[d]->FileName())
        endPass(d);
}

void EntryLoader::OpenFailed(int d, const QString& path, const QString& reason, bool play) {
    DeckEntries& list = w_.playlists.list(d);
    Pass& pass = passes_[d];
    if (pass.entry < 0 || pass.entry >= list.count() || list.fullPath(pass.entry) != path) {
        // Not an entry the deck is loading (deleted meanwhile): only told.
        w_.reporter.notice(SteppedOverNotice(d, {std::nullopt, 1, reason}));
        return;
    }
    list.markUnplayable(pass.entry, reason);
    pass.steppedOver.count += 1;
    if (pass.steppedOver.firstReason.isEmpty())
        pass.steppedOver.firstReason = reason;
    const int16_t before = pass.trackNumberBefore;
    if (continuePass(d, pass.entry + pass.step)) {
        if (play)
            w_.pla[d]->Play();
        return;
    }
    // Nothing would open: the deck keeps the file it had.
    decks_.TrackNumber[d] = before;
    const int had = before - 1;
    const bool listed =
        had >= 0 && had < list.count() && list.fullPath(had) == w_.pla[d]->FileName();
    list.setLoaded(listed ? had : -1);
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
