#include "deck/Deck.h"

#include "common/Reporter.h"
#include "deck/EntrySearch.h"
#include "deck/TrackName.h"
#include "deck/VolumeLaw.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"
#include "legacy/Error.h"
#include "legacy/Numbers.h"

#include <QAbstractItemModel>
#include <QScopeGuard>
#include <algorithm>
#include <utility>

namespace velmor {

Deck::Deck(int index, MediaPlayer& player, DeckLists& lists, Reporter& reporter, QObject* parent)
    : QObject(parent), index_(index), player_(player), lists_(lists), reporter_(reporter) {
    connect(&player_, &MediaPlayer::OpenStateChange, this, &Deck::playerOpenStateChanged);
    connect(&player_, &MediaPlayer::OpenFailed, this, &Deck::playerOpenFailed);
    connect(&player_, &MediaPlayer::PlayStateChange, this, &Deck::playerPlayStateChanged);
}

DeckEntries& Deck::entries() const {
    return lists_.list(index_);
}

void Deck::follow(const QAbstractItemModel& model) {
    connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { entriesRemoving(first, last); });
    connect(&model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { entriesInserted(first, last); });
    connect(&model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this, &model] { entriesRemoving(0, model.rowCount() - 1); });
}

namespace {
// A place between entries, once entries first..last are removed: those before it move it up.
void RemovedBefore(std::optional<int>& place, int first, int last) {
    if (place)
        *place -= std::max(0, std::min(last + 1, *place) - first);
}

// A place between entries, once entries first..last are inserted: those before it move it
// down; those inserted at the place itself come after it.
void InsertedBefore(std::optional<int>& place, int first, int last) {
    if (place && first < *place)
        *place += last - first + 1;
}
} // namespace

void Deck::entriesRemoving(int first, int last) {
    if (pass_) {
        std::optional<int>& entry = pass_->entry;
        if (entry && *entry >= first && *entry <= last)
            entry.reset(); // the deck goes on from the gap it leaves, as after any deletion
        else if (entry && *entry > last)
            *entry -= last - first + 1;
        RemovedBefore(pass_->gapBefore, first, last);
    }
    const int loaded = entries().loaded();
    if (loaded >= first && loaded <= last) {
        gap_ = first; // the entry after the loaded one will stand here
        return;
    }
    RemovedBefore(gap_, first, last);
}

void Deck::entriesInserted(int first, int last) {
    if (pass_) {
        std::optional<int>& entry = pass_->entry;
        if (entry && first <= *entry)
            *entry += last - first + 1;
        InsertedBefore(pass_->gapBefore, first, last);
    }
    InsertedBefore(gap_, first, last);
}

// --- What the deck plays next -----------------------------------------------------------

int Deck::nextEntry() const {
    // TrackNumber is 1-based: as a 0-based position it names the entry after the loaded one.
    return gap_ ? *gap_ : trackNumber_;
}

int Deck::previousEntry() const {
    return gap_ ? *gap_ - 1 : trackNumber_ - 2;
}

// --- Loading, and stepping over what will not open --------------------------------------

namespace {
void Add(SteppedOver& total, int count, const QString& firstReason) {
    if (total.count == 0)
        total.firstReason = firstReason;
    total.count += count;
}
} // namespace

std::optional<int> Deck::load(int start, int step, Start from) {
    // A file still opening never plays once the player is given another: the player keeps
    // the one it had before both.
    std::optional<Pass> opening = std::exchange(pass_, Pass{});
    pass_->step = step;
    pass_->trackNumberBefore = opening ? opening->trackNumberBefore : trackNumber_;
    pass_->gapBefore = opening ? opening->gapBefore : gap_;
    std::optional<int> loaded;
    try {
        loaded = continuePass(start, from == Start::Retry);
    } catch (...) {
        endPass();
        throw;
    }
    const bool tried = loaded || pass_->steppedOver.count > 0;
    if (opening && !tried) { // nothing to try: the open under way goes on
        pass_ = std::move(opening);
        return std::nullopt;
    }
    if (opening)
        tell(opening->steppedOver);
    if (!loaded)
        endPass();
    return loaded;
}

std::optional<int> Deck::continuePass(int start, bool retryStart) {
    DeckEntries& list = entries();
    const auto marked = [&](int i) { return list.isUnplayable(i); };
    const auto tryOpen = [&](int i) -> std::optional<QString> {
        try {
            player_.setFileName(list.fullPath(i));
        } catch (const std::exception& refused) {
            const QString reason = DescriptionOf(refused);
            list.markUnplayable(i, reason);
            return reason;
        }
        return std::nullopt;
    };
    const SteppedOver result =
        OpenFirstPlayable(list.count(), start, pass_->step, retryStart, marked, tryOpen);
    if (result.count > 0)
        Add(pass_->steppedOver, result.count, result.firstReason);
    if (!result.opened)
        return std::nullopt;
    const int opened = *result.opened;
    const int16_t number = Add16(opened, 1);
    pass_->path = list.fullPath(opened);
    pass_->entry = opened;
    list.clearUnplayable(opened);
    list.setLoaded(opened);
    trackNumber_ = number;
    gap_.reset();
    return opened;
}

void Deck::playerOpenFailed(const QString& path, const QString& reason, bool play) {
    trapped(reporter_, [&] {
        if (!pass_ || pass_->path != path) {
            // Not a file the deck is loading: only told.
            reporter_.notice(SteppedOverNotice(index_, {std::nullopt, 1, reason}));
            return;
        }
        Add(pass_->steppedOver, 1, reason);
        if (!pass_->entry) // deleted while it opened: the deck goes on from where it stood
            return endPass();
        const int failed = *pass_->entry;
        entries().markUnplayable(failed, reason);
        if (!continuePass(failed + pass_->step, false))
            return keepWhatItHad();
        if (play)
            player_.Play();
    });
}

void Deck::keepWhatItHad() {
    // The player kept its file: the deck's number, gap and loaded mark go back to it.
    trackNumber_ = pass_->trackNumberBefore;
    gap_ = pass_->gapBefore;
    if (pass_->stopsForFailure)
        stopReason_ = StopReason::Failure;
    endPass();
    DeckEntries& list = entries();
    const int had = trackNumber_ - 1;
    const bool listed =
        !gap_ && had >= 0 && had < list.count() && list.fullPath(had) == player_.FileName();
    list.setLoaded(listed ? had : -1);
}

void Deck::endPass() {
    tell(std::exchange(pass_, std::nullopt)->steppedOver);
}

void Deck::tell(const SteppedOver& steppedOver) {
    if (steppedOver.count > 0)
        reporter_.notice(SteppedOverNotice(index_, steppedOver));
}

bool Deck::hasPlayableEntry(int start, int step) const {
    const DeckEntries& list = entries();
    return NextPlayable(list.count(), start, step, [&](int i) { return list.isUnplayable(i); })
        .has_value();
}

void Deck::queueNext() {
    const DeckEntries& list = entries();
    // What the stopped handling would open at the track's end.
    const std::optional<int> next = pending_ || heldAtEnd_
                                        ? std::nullopt
                                        : NextPlayable(list.count(), nextEntry(), +1,
                                                       [&](int i) { return list.isUnplayable(i); });
    const QString path = next ? list.fullPath(*next) : QString();
    player_.QueueNext(path);
    if (!path.isEmpty())
        emit upNext(path);
}

// --- Transport ---------------------------------------------------------------------------

void Deck::playPause() {
    const int state = player_.PlayState();
    if (state == MediaPlayer::Playing) {
        player_.Pause();
    } else if (state == MediaPlayer::Stopped && gap_) {
        // The stopped track is in no list any more: the entry that followed it plays.
        if (load(nextEntry(), +1))
            player_.Play();
    } else if (state == MediaPlayer::Stopped || state == MediaPlayer::Paused) {
        player_.Play();
    }
}

void Deck::stop(StopReason reason) {
    // The stopped handling, which runs inside Stop, reads the reason. A player that was
    // already stopped reports nothing, and the reason must not outlive the call.
    pending_ = reason;
    const auto cleared = qScopeGuard([this] { pending_.reset(); });
    player_.Stop();
}

bool Deck::loadsOnly() const {
    // A deck with nothing open (its first entry would not play) loads as a stopped one does;
    // stopping it would report nothing and leave it stuck.
    const int state = player_.PlayState();
    return state == MediaPlayer::Stopped || state == MediaPlayer::Closed;
}

void Deck::next() {
    const DeckEntries& list = entries();
    const int count = list.count();
    if (count == 0)
        return;
    if (!gap_ && LoadedName(player_.FileName()) == list.name(count - 1))
        return; // the loaded file is the last entry
    // Nothing there (entries deleted after loading), or nothing there but entries known not
    // to play: nothing happens, and a playing deck plays on.
    if (!hasPlayableEntry(nextEntry(), +1))
        return;
    if (loadsOnly())
        load(nextEntry(), +1);
    else
        stop(StopReason::EndOfTrack); // the deck moves on as at the track's end
}

void Deck::previous() {
    const DeckEntries& list = entries();
    const int previous = previousEntry();
    // Nothing loaded from the list, or nothing left before the loaded entry.
    if (previous < 0 || previous >= list.count())
        return;
    if (!gap_ && LoadedName(player_.FileName()) == list.name(0))
        return; // the loaded file is the first entry
    if (!hasPlayableEntry(previous, -1))
        return;
    if (loadsOnly())
        load(previous, -1);
    else
        stop(StopReason::Previous);
}

void Deck::seek(double seconds) {
    player_.setCurrentPosition(seconds);
    emit sought();
}

void Deck::setSpeed(int speed) {
    speed_ = speed;
    emit speedChanged(speed);
    player_.setRate(kRates[speed]); // a player that refuses leaves the deck's speed shown
}

void Deck::setMuted(bool muted) {
    player_.setMute(muted);
    muted_ = muted;
    emit mutedChanged(muted);
}

void Deck::setCue(std::optional<double> seconds) {
    cue_ = seconds;
}

int32_t Deck::outputLevel() const {
    return player_.Volume();
}

bool Deck::playsAudibly() const {
    try {
        return player_.PlayState() == MediaPlayer::Playing && !muted_ &&
               outputLevel() > VolumeToPlayerLevel(0);
    } catch (const Error&) {
        return false;
    }
}

void Deck::setOutputLevel(int32_t level) {
    player_.setVolume(level);
}

void Deck::setLevel(int volume) {
    setOutputLevel(VolumeToPlayerLevel(volume));
    level_ = volume;
    emit levelChanged(volume);
}

void Deck::setPrelisten(bool on) {
    const auto shown = qScopeGuard([this] {
        prelisten_ = player_.Prelisten(); // what the player took, also after a failure
        emit prelistenChanged(prelisten_);
    });
    player_.setPrelisten(on);
}

void Deck::holdAtEnd(bool held) {
    heldAtEnd_ = held;
    if (!player_.FileName().isEmpty())
        queueNext();
}

void Deck::startOver() {
    trackNumber_ = 1;
    pending_.reset();
    gap_.reset();
}

// --- The player's notifications -----------------------------------------------------------

void Deck::playerOpenStateChanged() {
    trapped(reporter_, [&] {
        if (player_.FileName().isEmpty()) {
            if (pass_) // closed while it opened: what was stepped over is told all the same
                endPass();
            gap_.reset();
            entries().setLoaded(-1);
            emit closed();
            return;
        }
        length_ = player_.Duration();
        emit opened();
        if (pass_ && pass_->path == player_.FileName())
            endPass();
        queueNext();
    });
}

void Deck::playerPlayStateChanged() {
    trapped(reporter_, [&] {
        switch (player_.PlayState()) {
        case MediaPlayer::Stopped:
            playerStopped();
            break;
        case MediaPlayer::Playing:
            emit playing();
            queueNext();
            break;
        case MediaPlayer::Paused:
            emit paused();
            break;
        default:
            break;
        }
    });
}

void Deck::playerStopped() {
    const StopReason reason =
        pending_.value_or(heldAtEnd_ ? StopReason::User : StopReason::EndOfTrack);
    stopReason_ = reason;
    reachedEnd_ = !pending_;
    // The window shows the deck stopped whatever fails below.
    const auto shown = qScopeGuard([this] { emit stopped(); });
    if (!cue_)
        throw Error(kTypeMismatch); // the cue typed is not a number
    player_.setCurrentPosition(*cue_);
    // A fade or the crossfader may have left the player at another level than the deck's.
    setOutputLevel(VolumeToPlayerLevel(level_));
    if (reason == StopReason::EndOfTrack)
        playEntry(nextEntry(), +1);
    else if (reason == StopReason::Previous)
        playEntry(previousEntry(), -1);
}

void Deck::playEntry(int index, int step) {
    // Entries that cannot be played are stepped over; with none left that way (or entries
    // deleted after loading, so that there is no entry there) the deck stays stopped.
    const bool tried = hasPlayableEntry(index, step);
    if (!load(index, step)) {
        if (tried)
            stopReason_ = StopReason::Failure;
        return;
    }
    if (pass_) // the player opens it after this: when nothing that way opens, that is a failure
        pass_->stopsForFailure = true;
    const int state = player_.PlayState();
    if (state == MediaPlayer::Stopped || state == MediaPlayer::Paused)
        trapped(reporter_, [&] { playPause(); });
    else
        player_.Play(); // a player still busy opening must start the new file all the same
}

} // namespace velmor
