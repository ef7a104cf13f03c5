#include "deck/player/EnginePlayer.h"

#include "audio/Engine.h"
#include "common/Error.h"
#include "common/FileNames.h"
#include "common/FileSystem.h"

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
    if (queued)
        QMetaObject::invokeMethod(
            this, [this, old, state] { emit PlayStateChange(old, state); }, Qt::QueuedConnection);
    else
        emit PlayStateChange(old, state);
}

void EnginePlayer::setFileName(const QString& path) {
    const int oldOpenState = state_ == Closed ? kOpenStateClosed : kOpenStateMediaOpen;
    if (holdingRewind() && !path.isEmpty() && path == queuedPath_ && engine_->adoptNext(deck_)) {
        // The queued file plays already: it is taken as it is, stopped as far as the deck
        // knows until it plays it.
        fileName_ = path;
        duration_ = queuedDuration_;
        queuedPath_.clear();
        adopted_ = true;
        return notifyOpenState(oldOpenState);
    }
    if (path.isEmpty()) {
        if (engine_)
            engine_->close(deck_);
        fileName_.clear();
        queuedPath_.clear();
        duration_ = 0;
        state_ = Closed;
    } else {
        std::unique_ptr<audio::Decoder> decoder;
        try {
            decoder = audio::OpenDecoder(FileNameToBytes(path).toStdString());
        } catch (const audio::DecodeError& e) {
            // The open file, if any, plays on untouched.
            throw Error(CannotBe(path, QStringLiteral("played"),
                                 e.systemError() ? PlainCause(e.systemError(), Access::Read)
                                                 : QString::fromLocal8Bit(e.what())));
        } catch (const std::exception& e) {
            throw Error(CannotBe(path, QStringLiteral("played"), QString::fromLocal8Bit(e.what())));
        }
        duration_ = static_cast<double>(decoder->lengthFrames()) / decoder->sampleRate();
        engine().load(deck_, std::move(decoder));
        fileName_ = path;
        queuedPath_.clear(); // the engine forgets it with the file it followed
        endWhilePaused_ = false;
        if (state_ == Playing)
            changeState(Paused, true);
        else if (state_ == Closed)
            state_ = Stopped;
    }
    notifyOpenState(oldOpenState);
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
    std::unique_ptr<audio::Decoder> decoder;
    if (!path.isEmpty()) {
        try {
            decoder = audio::OpenDecoder(FileNameToBytes(path).toStdString());
        } catch (const std::exception&) {
            // Nothing is queued; the deck finds out why when it opens the file itself.
        }
    }
    const double duration =
        decoder ? static_cast<double>(decoder->lengthFrames()) / decoder->sampleRate() : 0.0;
    engine_->queueNext(deck_, std::move(decoder));
    queuedPath_ = path;
    queuedDuration_ = duration;
}

void EnginePlayer::Play() {
    if (state_ == Closed || state_ == Playing)
        return;
    engine_->play(deck_);
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
    engine_->pause(deck_);
    changeState(Paused, true);
}

void EnginePlayer::Stop() {
    if (state_ != Playing && state_ != Paused)
        return;
    engine_->pause(deck_);
    engine_->seek(deck_, 0.0); // stopping rewinds to the start
    endWhilePaused_ = false;
    changeState(Stopped, false);
}

void EnginePlayer::trackEnded(uint64_t generation) {
    // A seek, a new file or a stop since the end makes this report stale.
    if (generation != engine_->generation(deck_))
        return;
    if (state_ == Paused) {
        endWhilePaused_ = true;
        return;
    }
    if (state_ != Playing)
        return;
    if (engine_->joined(deck_))
        return endIntoQueued();
    engine_->pause(deck_);
    engine_->seek(deck_, 0.0);
    changeState(Stopped, false);
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
    } else if (std::exchange(adopted_, false) && state_ != Playing) {
        engine_->pause(deck_); // taken but not played: it waits at its start
        engine_->seek(deck_, 0.0);
    }
}

bool EnginePlayer::holdingRewind() const {
    return ending_ && engine_->joined(deck_);
}

double EnginePlayer::CurrentPosition() const {
    if (holdingRewind())
        return heldRewind_;
    return state_ == Closed ? 0.0 : engine_->position(deck_);
}

void EnginePlayer::setCurrentPosition(double seconds) {
    if (!std::isfinite(seconds))
        throw Error("Invalid procedure call or argument");
    if (state_ == Closed)
        return;
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
