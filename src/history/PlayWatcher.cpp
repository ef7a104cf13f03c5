#include "history/PlayWatcher.h"

#include "deck/Deck.h"
#include "deck/player/MediaPlayer.h"

namespace velmor {

PlayWatcher::PlayWatcher(Deck& deck, Clock clock, Naming naming, QObject* parent)
    : QObject(parent), deck_(deck), clock_(std::move(clock)), naming_(std::move(naming)),
      epoch_(clock_()) {
    connect(&deck_, &Deck::playing, this, &PlayWatcher::playing);
    connect(&deck_, &Deck::paused, this, &PlayWatcher::look);
    connect(&deck_, &Deck::mutedChanged, this, &PlayWatcher::look);
    connect(&deck_, &Deck::levelChanged, this, &PlayWatcher::look);
    connect(&deck_, &Deck::opened, this, &PlayWatcher::opened);
    connect(&deck_, &Deck::stopped, this, [this] { end(deck_.reachedEnd()); });
    connect(&deck_, &Deck::closed, this, [this] { end(false); });
    connect(&timer_, &QTimer::timeout, this, &PlayWatcher::look);
    timer_.setInterval(kLookEveryMs);
}

PlayWatcher::~PlayWatcher() = default;

double PlayWatcher::seconds(const QDateTime& time) const {
    return epoch_.msecsTo(time) / 1000.0;
}

bool PlayWatcher::sounding() const {
    return deck_.playsAudibly(); // a player that cannot tell its level is not counted as heard
}

void PlayWatcher::look() {
    if (play_)
        play_->time.observe(seconds(clock_()), sounding());
    // Only a playing deck's level moves without a word from the deck (the crossfader, fades).
    if (!play_ || deck_.player().PlayState() != MediaPlayer::Playing)
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start();
}

void PlayWatcher::playing() {
    const QString path = deck_.player().FileName();
    if (play_ && play_->path != path)
        end(false); // another track plays without the first having stopped
    if (!play_) {
        const QDateTime now = clock_();
        play_ = Play{path, now, {}};
    }
    look();
}

void PlayWatcher::opened() {
    if (play_ && play_->path != deck_.player().FileName())
        end(false); // a paused track replaced by another
}

void PlayWatcher::end(bool reachedEnd) {
    timer_.stop();
    if (!play_)
        return;
    const QDateTime now = clock_();
    play_->time.observe(seconds(now), false);
    const Play play = *std::exchange(play_, std::nullopt);
    if (!play.time.counts())
        return;
    const Names names = naming_(play.path);
    emit played(
        {play.start, now, deck_.index() + 1, names.artist, names.title, play.path, reachedEnd});
}

void PlayWatcher::finish() {
    end(false);
}

} // namespace velmor
