#include "deck/player/EnginePlayer.h"

#include "audio/Engine.h"
#include "common/Reporter.h"
#include "legacy/Error.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace velmor {

namespace {
constexpr int kQuietestLevel = -10000;
constexpr double kSlowestRate = 0.25, kFastestRate = 4.0;
} // namespace

EnginePlayer::EnginePlayer(audio::Engine& engine, int deck, QObject* parent)
    : EnginePlayer([&engine]() -> audio::Engine& { return engine; }, deck, parent) {}

EnginePlayer::EnginePlayer(EngineSource engine, int deck, QObject* parent)
    : MediaPlayer(parent), source_(std::move(engine)), deck_(deck) {}

EnginePlayer::~EnginePlayer() {
    if (!engine_)
        return;
    engine_->setTrackEndListener(deck_, nullptr);
    try {
        engine_->close(deck_);
    } catch (const std::exception&) {
        // An engine that no longer takes commands is being torn down anyway.
    }
}

audio::Engine& EnginePlayer::engine() {
    if (engine_)
        return *engine_;
    audio::Engine& engine = source_();
    engine.setTrackEndListener(deck_, [this](uint64_t generation) {
        // Reported on a reader thread; handled on ours, as an event of its own.
        QMetaObject::invokeMethod(
            this, [this, generation] { trackEnded(generation); }, Qt::QueuedConnection);
    });
    engine.setRate(deck_, rate_);
    engine.setLevel(deck_, volume_);
    engine.setMute(deck_, silent());
    engine.setPrelisten(deck_, prelisten_);
    engine_ = &engine;
    return engine;
}

void EnginePlayer::changeState(State state, bool queued) {
    const int old = state_;
    state_ = state;
    if (opening_.active()) {
        if (queued) { // told once the file is open, after the open
            held_.emplace_back(old, state);
            return;
        }
        held_.clear(); // what is told now passes what was held
    }
    told_ = state;
    if (queued)
        QMetaObject::invokeMethod(
            this, [this, old, state] { emit PlayStateChange(old, state); }, Qt::QueuedConnection);
    else
        emit PlayStateChange(old, state);
}

void EnginePlayer::setFileName(const QString& path) {
    if (holdingRewind() && !path.isEmpty() && path == queuedPath_ && engine_->adoptNext(deck_)) {
        // The queued file plays already: it is taken as it is, stopped as far as the deck
        // knows until it plays it.
        const int oldOpenState = kOpenStateMediaOpen;
        fileName_ = path;
        duration_ = queuedDuration_;
        queuedPath_.clear();
        plan_ = queuedPlan_;
        taggedLoudness_ = queuedTaggedLoudness_;
        started_ = true; // it plays already, at its own gain
        adopted_ = true;
        return notifyOpenState(oldOpenState);
    }
    // A file still opening gives way: it never plays, and what was asked of it goes too.
    BackgroundWork::Job superseded = std::exchange(opening_, {});
    const bool superseding = superseded.active();
    superseded.cancel();
    if (superseding) {
        held_.clear();
        state_ = told_;
    }
    queueing_.cancel();
    queuedPath_.clear(); // the engine forgets it with the file it followed
    endWhilePaused_ = false;
    openingPosition_ = 0;
    if (path.isEmpty()) {
        const int oldOpenState = superseding        ? before_.openState
                                 : state_ == Closed ? kOpenStateClosed
                                                    : kOpenStateMediaOpen;
        if (engine_)
            engine_->close(deck_);
        fileName_.clear();
        duration_ = 0;
        state_ = told_ = Closed;
        return notifyOpenState(oldOpenState);
    }
    if (!superseding) {
        if (state_ == Playing) { // the file it had stops being heard at once
            engine_->pause(deck_);
            changeState(Paused, true);
        }
        before_ = {fileName_, duration_, state_,
                   state_ == Closed ? kOpenStateClosed : kOpenStateMediaOpen};
        told_ = state_;
    }
    fileName_ = path;
    duration_ = 0;
    fromFirstSound_ = advancing_;
    if (state_ == Closed)
        state_ = Stopped;
    opening_ =
        opener_.open(path, [this](TrackOpener::Opened&& result) { opened(std::move(result)); });
}

void EnginePlayer::opened(TrackOpener::Opened&& result) {
    opening_ = {};
    if (!result.decoder)
        return openFailed(result.failure);
    const bool fromFirstSound = std::exchange(fromFirstSound_, false);
    const audio::TrackPlan plan = planFor(fileName_, result.tags.taggedLoudness);
    try {
        engine().load(deck_, std::move(result.decoder), plan);
    } catch (const std::exception& e) { // no engine to play it on
        return openFailed(DescriptionOf(e));
    }
    plan_ = plan;
    taggedLoudness_ = result.tags.taggedLoudness;
    started_ = false;
    duration_ = result.seconds;
    const double start = openingPosition_ > 0 ? openingPosition_
                         : fromFirstSound     ? plan_.startSeconds
                                              : 0.0;
    if (start > 0)
        engine_->seek(deck_, std::clamp(start, 0.0, duration_));
    openingPosition_ = 0;
    if (state_ == Playing) {
        engine_->play(deck_);
        started_ = true;
    }
    told_ = state_;
    if (!queuedPath_.isEmpty())
        queueOnEngine();
    const auto held = std::exchange(held_, {});
    emit OpenStateChange(before_.openState, kOpenStateMediaOpen);
    if (opening_.active())
        return; // the deck went on to another file: what was held was this one's
    for (const auto& [old, state] : held)
        emit PlayStateChange(old, state);
}

void EnginePlayer::openFailed(const QString& failure) {
    // The player keeps the file it had, stopped or paused as the deck last heard; what was
    // asked of the new one goes.
    const QString path = std::exchange(fileName_, before_.fileName);
    const bool play = state_ == Playing;
    duration_ = before_.duration;
    state_ = before_.state == Closed ? Closed : told_;
    held_.clear();
    queuedPath_.clear();
    openingPosition_ = 0;
    emit OpenFailed(path, failure, play);
    if (!opening_.active() && state_ != Closed) // the deck took no other file: it has this one
        emit OpenStateChange(kOpenStateMediaOpen, kOpenStateMediaOpen);
}

void EnginePlayer::notifyOpenState(int oldState) {
    const int newState = state_ == Closed ? kOpenStateClosed : kOpenStateMediaOpen;
    QMetaObject::invokeMethod(
        this, [this, oldState, newState] { emit OpenStateChange(oldState, newState); },
        Qt::QueuedConnection);
}

void EnginePlayer::QueueNext(const QString& path) {
    if (path == queuedPath_ || state_ == Closed)
        return;
    queuedPath_ = path;
    queueing_.cancel();
    if (!opening_.active()) // else once the file it follows is open
        queueOnEngine();
}

void EnginePlayer::queueOnEngine() {
    queuedDuration_ = 0;
    if (queuedPath_.isEmpty())
        return engine_->queueNext(deck_, nullptr);
    queueing_ = opener_.open(queuedPath_, [this](TrackOpener::Opened&& result) {
        queueing_ = {};
        // A file that does not open is not queued; the deck finds out why when it opens it.
        queuedDuration_ = result.seconds;
        queuedTaggedLoudness_ = result.tags.taggedLoudness;
        queuedPlan_ = planFor(queuedPath_, queuedTaggedLoudness_);
        try {
            engine_->queueNext(deck_, std::move(result.decoder), queuedPlan_);
        } catch (const std::exception&) {
            queuedDuration_ = 0; // an engine that does not respond joins nothing
        }
    });
}

void EnginePlayer::Play() {
    if (state_ == Closed || state_ == Playing)
        return;
    if (opening_.active())
        return changeState(Playing, true);
    engine_->play(deck_);
    started_ = true;
    changeState(Playing, true);
    if (endWhilePaused_) {
        endWhilePaused_ = false;
        const uint64_t generation = engine_->generation(deck_);
        QMetaObject::invokeMethod(
            this, [this, generation] { trackEnded(generation); }, Qt::QueuedConnection);
    }
}

void EnginePlayer::Pause() {
    if (state_ != Playing)
        return;
    if (!opening_.active())
        engine_->pause(deck_);
    changeState(Paused, true);
}

void EnginePlayer::Stop() {
    if (state_ != Playing && state_ != Paused)
        return;
    if (opening_.active()) {
        openingPosition_ = 0;
    } else {
        engine_->pause(deck_);
        engine_->seek(deck_, 0.0); // stopping rewinds to the start
        rewound();
    }
    endWhilePaused_ = false;
    changeState(Stopped, false);
}

void EnginePlayer::trackEnded(uint64_t generation) {
    // A seek, a new file or a stop since the end makes this report stale; so does a file
    // opening, which is the player's now.
    if (opening_.active() || generation != engine_->generation(deck_))
        return;
    if (state_ == Paused) {
        endWhilePaused_ = true;
        return;
    }
    if (state_ != Playing)
        return;
    advancing_ = true; // a file the deck opens now starts at its first sound
    if (engine_->joined(deck_)) {
        endIntoQueued();
    } else {
        engine_->pause(deck_);
        engine_->seek(deck_, 0.0);
        rewound();
        changeState(Stopped, false);
    }
    advancing_ = false;
}

void EnginePlayer::endIntoQueued() {
    ending_ = true;
    heldRewind_ = 0;
    adopted_ = false;
    changeState(Stopped, false); // the deck's stopped handling runs inside
    ending_ = false;
    if (engine_->joined(deck_)) {
        // The deck took neither the queued file nor another: the ended one stands where the
        // deck rewound it, and the joined audio ramps out.
        engine_->pause(deck_);
        engine_->seek(deck_, heldRewind_);
        rewound();
    } else if (std::exchange(adopted_, false) && state_ != Playing) {
        engine_->pause(deck_); // taken but not played: it waits at its first sound
        engine_->seek(deck_, plan_.startSeconds);
        rewound();
    }
}

audio::TrackPlan EnginePlayer::planFor(const QString& path,
                                       std::optional<double> taggedLoudness) const {
    return planner_ ? planner_(path, taggedLoudness) : audio::TrackPlan{};
}

void EnginePlayer::applyPlan() {
    audio::TrackPlan plan = planFor(fileName_, taggedLoudness_);
    if (started_)
        plan.gain = plan_.gain;
    plan_ = plan;
    engine_->setTrackPlan(deck_, plan);
}

void EnginePlayer::rewound() {
    started_ = false;
    applyPlan();
}

void EnginePlayer::replan(const QString& path) {
    if (path.isEmpty() || !engine_ || opening_.active())
        return; // a file still opening is planned once it is open
    try {
        if (path == fileName_ && state_ != Closed && !holdingRewind())
            applyPlan();
        if (path == queuedPath_ && !queueing_.active()) {
            queuedPlan_ = planFor(path, queuedTaggedLoudness_);
            engine_->setNextPlan(deck_, queuedPlan_);
        }
    } catch (const std::exception&) {
        // An engine that no longer takes commands plays nothing to plan.
    }
}

bool EnginePlayer::holdingRewind() const {
    // A file opening instead of the queued one is what the deck has now.
    return ending_ && !opening_.active() && engine_->joined(deck_);
}

double EnginePlayer::CurrentPosition() const {
    if (holdingRewind())
        return heldRewind_;
    if (opening_.active())
        return openingPosition_;
    return state_ == Closed ? 0.0 : engine_->position(deck_);
}

void EnginePlayer::setCurrentPosition(double seconds) {
    if (!std::isfinite(seconds))
        throw Error("Invalid procedure call or argument");
    if (state_ == Closed)
        return;
    if (opening_.active()) { // the length is not known yet: the open sets it within
        openingPosition_ = std::max(seconds, 0.0);
        return;
    }
    if (holdingRewind()) {
        heldRewind_ = std::clamp(seconds, 0.0, duration_);
        return;
    }
    endWhilePaused_ = false;
    engine_->seek(deck_, std::clamp(seconds, 0.0, duration_));
}

void EnginePlayer::setRate(double rate) {
    if (!std::isfinite(rate) || rate < kSlowestRate || rate > kFastestRate)
        throw Error("Invalid procedure call or argument");
    rate_ = rate;
    if (engine_)
        engine_->setRate(deck_, rate);
}

void EnginePlayer::setVolume(int level) {
    volume_ = std::clamp(level, kQuietestLevel, 0);
    if (engine_) {
        engine_->setLevel(deck_, volume_);
        engine_->setMute(deck_, silent());
    }
}

MediaPlayer::Levels EnginePlayer::TakeLevels() {
    return engine_ ? engine_->takeDeckLevels(deck_) : Levels{};
}

void EnginePlayer::setMute(bool muted) {
    muted_ = muted;
    if (engine_)
        engine_->setMute(deck_, silent());
}

void EnginePlayer::setPrelisten(bool on) {
    prelisten_ = on;
    if (engine_)
        engine_->setPrelisten(deck_, on);
}

} // namespace velmor
