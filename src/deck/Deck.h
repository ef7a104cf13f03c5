#pragma once

#include "deck/EntrySearch.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

class QAbstractItemModel;

namespace velmor {

class DeckEntries;
class DeckLists;
class MediaPlayer;
class Reporter;

// Why a deck's player last stopped.
enum class StopReason {
    User,       // the Stop button, or a command that replaces the track: the deck stays put
    Previous,   // the previous-track button: the entry before the loaded one plays
    EndOfTrack, // the track played to its end, or the next-track button: the next entry plays
    Failure,    // it was to move on, but no entry that way would open
};

// One deck: its player and what it holds between events (the entry it has loaded, why it
// stopped, the track's length, the cue point, speed, mute, level and pre-listen), and the
// verbs that act on it. The window renders the deck from its signals.
//
// The player reports a stop inside Stop; the deck notes the reason before it calls Stop, so
// that its own stopped handling, running inside the call, knows what the stop was for. A
// stop nobody ordered is the track's end, and the deck moves on through its playlist.
//
// Verbs fail by throwing velmor::Error; the handlers that call them trap. What the deck does
// on its own (the player's notifications, moving on) traps its failures itself.
class Deck : public QObject {
    Q_OBJECT
public:
    Deck(int index, MediaPlayer& player, DeckLists& lists, Reporter& reporter,
         QObject* parent = nullptr);

    int index() const { return index_; } // 0 for Deck 1
    MediaPlayer& player() const { return player_; }
    DeckEntries& entries() const;

    // 1-based playlist position of the entry in the deck; the deck moves on from here.
    int16_t trackNumber() const { return trackNumber_; }
    // Why the player last stopped; none before its first stop.
    std::optional<StopReason> stopReason() const { return stopReason_; }
    // Whether the last stop was the track reaching its end, not an order to stop or move on.
    bool reachedEnd() const { return reachedEnd_; }
    // Length in seconds of the open file, read when it opened.
    double length() const { return length_; }
    // Where every stop rewinds to, in seconds; none while the cue typed is not a number.
    std::optional<double> cue() const { return cue_; }
    // 0..3 for 50 %, 100 %, 150 %, 200 %.
    int speed() const { return speed_; }
    static constexpr double kRates[4] = {0.5, 1.0, 1.5, 2.0};
    bool muted() const { return muted_; }
    // The deck volume, 0..100, that the player's level returns to at every stop.
    int level() const { return level_; }
    // The level the player plays at right now, in the player's units (hundredths of a
    // decibel: 0 is full level, -4500 the level of deck volume 0). Fades and the crossfader
    // move it away from the deck's level; setLevel and every stop put it back there. Both
    // fail when the player does.
    int32_t outputLevel() const;
    void setOutputLevel(int32_t level);
    // Whether the deck plays where it can be heard: not muted, its output level above the
    // bottom of the volume law. False when the player cannot tell.
    bool playsAudibly() const;
    bool prelisten() const { return prelisten_; }
    // The entry in the deck was deleted from its playlist: the position of the entry that
    // followed it, where the deck goes on. None while the entry is listed.
    std::optional<int> unlistedAt() const { return gap_; }

    // Plays a stopped or paused deck, pauses a playing one. A stopped deck whose track was
    // deleted from its list plays the entry that followed it instead (nothing when there is
    // none): a stopped deck never starts a track that is in no list.
    void playPause();
    // Stops the player and rewinds to the cue; the reason says what the deck does next.
    // A player that was already stopped reports nothing, and the deck does nothing.
    void stop(StopReason reason = StopReason::User);
    // The neighbouring entry: loaded on a stopped deck, played on a playing or paused one.
    // Entries known not to play are stepped over; at either end of the list nothing happens.
    void next();
    void previous();

    enum class Start {
        PassMarked, // the deck moves by itself: entries known bad are not tried again
        Retry,      // the user chose the starting entry: it is tried even when marked
    };
    // Loads the first playable entry from `start` on, going `step` (+1 or -1), without
    // starting it. The entry counts as loaded at once and the player opens it after the call
    // has returned; an entry it cannot open is marked and the deck goes on to the next one
    // the same way, started when it was to play. What was stepped over is told in one
    // notice once an entry opened or none would; with none, the deck keeps the file it had,
    // its track number and loaded mark too. Returns the entry, none when no entry is left
    // to try.
    std::optional<int> load(int start, int step = +1, Start from = Start::PassMarked);
    // Whether an entry from `start` on, going `step`, is not yet known to be unplayable.
    bool hasPlayableEntry(int start, int step) const;
    // Tells the player what it would play next were its track to end now.
    void queueNext();
    // The entry it goes on to at the end of its track: the one after its loaded entry, or
    // the one that took the place of a deleted loaded entry.
    int nextEntry() const;

    void seek(double seconds);
    void setSpeed(int speed);
    void setMuted(bool muted);
    void setCue(std::optional<double> seconds);
    void setLevel(int volume);
    // Pre-listen as the player takes it: after a refusal the deck shows what it has.
    void setPrelisten(bool on);
    // At the first entry, nothing asked of it yet.
    void startOver();
    // While held, the track's end stops the deck as the Stop button does: it rewinds and does
    // not move on (nothing is queued to go on into).
    void holdAtEnd(bool held);

    // The deck follows the model of its playlist's entries, to know where to go on when the
    // loaded entry is deleted.
    void follow(const QAbstractItemModel& entries);

signals:
    void opened(); // a file opened: title and length known
    void closed(); // the player has no file
    void playing();
    void paused();
    void stopped(); // rewound to the cue, its level back; emitted also when that failed
    void sought();  // moved to another place by a seek
    void speedChanged(int speed);
    void mutedChanged(bool muted);
    void levelChanged(int volume);
    void prelistenChanged(bool on);
    // The file the deck would play next at the end of its track.
    void upNext(const QString& path);

private:
    void playerOpenStateChanged();
    void playerOpenFailed(const QString& path, const QString& reason, bool play);
    void playerPlayStateChanged();
    void playerStopped();
    void playEntry(int index, int step);
    std::optional<int> continuePass(int start, bool retryStart);
    void keepWhatItHad();
    void endPass();
    void tell(const SteppedOver& steppedOver);
    bool loadsOnly() const;
    int previousEntry() const;
    void entriesRemoving(int first, int last);
    void entriesInserted(int first, int last);

    const int index_;
    MediaPlayer& player_;
    DeckLists& lists_;
    Reporter& reporter_;
    int16_t trackNumber_ = 1;
    std::optional<StopReason> pending_;    // the reason of a stop being ordered
    std::optional<StopReason> stopReason_; // the reason of the last stop
    bool reachedEnd_ = false;
    bool heldAtEnd_ = false;
    double length_ = 0;
    std::optional<double> cue_ = 0.0;
    int speed_ = 1;
    bool muted_ = false;
    int level_ = 0; // the volume slider's own start, before start-up sets it
    bool prelisten_ = false;
    std::optional<int> gap_;

    // The walk over the list that a load starts, while the player opens the entry it took.
    struct Pass {
        QString path;             // the file the player is opening
        std::optional<int> entry; // its entry; none once deleted
        int step = +1;
        SteppedOver steppedOver;      // what would not open on the way
        bool stopsForFailure = false; // the deck moves on by itself: none opening is a failure
        // What the deck held before the walk, kept when nothing opens.
        int16_t trackNumberBefore = 1;
        std::optional<int> gapBefore;
    };
    std::optional<Pass> pass_;
};

} // namespace velmor
