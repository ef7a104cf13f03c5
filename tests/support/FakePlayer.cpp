#include "support/FakePlayer.h"

#include "common/BackgroundWork.h"
#include "legacy/Error.h"

#include <QCoreApplication>

namespace velmor::test {
namespace {
const QEvent::Type kTrackEnd = QEvent::Type(QEvent::User + 1);
const QEvent::Type kOpened = QEvent::Type(QEvent::User + 2);
// An open done, by its number.
struct OpenedEvent : QEvent {
    explicit OpenedEvent(int open) : QEvent(kOpened), open(open) {}
    int open;
};
} // namespace

void DeliverNotifications() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        BackgroundWork::WaitUntilAllDone(); // the engine's players open files on workers
    }
}

void FakePlayer::failIf(const QString& operation) const {
    if (failures.contains(operation))
        throw Error(failures.value(operation));
}

void FakePlayer::changeState(int state, bool queued) {
    const int old = state_;
    state_ = state;
    if (opening_ != 0) {
        if (queued) { // told once the file is open, after the open
            held_.append({old, state});
            return;
        }
        held_.clear();
    }
    told_ = state;
    if (!queued) {
        emit PlayStateChange(old, state);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, old, state] { emit PlayStateChange(old, state); }, Qt::QueuedConnection);
}

void FakePlayer::setFileName(const QString& path) {
    log << "FileName " + path;
    const bool superseding = std::exchange(opening_, 0) != 0;
    if (superseding) {
        held_.clear();
        state_ = told_;
    }
    queued_.clear(); // queued to follow the file it replaces
    position_ = 0;
    endWhilePaused_ = false;
    if (path.isEmpty()) {
        const int oldOpenState = superseding ? beforeOpenState_ : state_ == Closed ? 0 : 1;
        fileName_.clear();
        duration_ = 0;
        state_ = told_ = Closed;
        QMetaObject::invokeMethod(
            this, [this, oldOpenState] { emit OpenStateChange(oldOpenState, 0); },
            Qt::QueuedConnection);
        return;
    }
    if (!superseding) {
        if (state_ == Playing) // a new file waits paused at its start, and says so
            changeState(Paused, true);
        beforeName_ = fileName_;
        beforeDuration_ = duration_;
        beforeState_ = told_ = state_;
        beforeOpenState_ = state_ == Closed ? 0 : 1;
    }
    fileName_ = path;
    duration_ = 0;
    if (state_ == Closed)
        state_ = Stopped;
    opening_ = ++opens_;

    QCoreApplication::postEvent(this, new OpenedEvent(opening_));
}

void FakePlayer::opened() {
    opening_ = 0;
    const auto held = std::exchange(held_, {});
    if (refused.contains(fileName_)) { // the file it had stays, as the deck last heard of it
        const QString path = std::exchange(fileName_, beforeName_);
        const bool play = state_ == Playing;
        duration_ = beforeDuration_;
        state_ = beforeState_ == Closed ? Closed : told_;
        queued_.clear();
        emit OpenFailed(path, QString("%1 cannot be played: %2.").arg(path, refused.value(path)),
                        play);
        if (opening_ == 0 && state_ != Closed) // the deck took no other file: it has this one
            emit OpenStateChange(1, 1);
        return;
    }
    duration_ = durations.value(fileName_, defaultDuration);
    position_ = std::min(position_, duration_); // a seek while it opened lands within
    told_ = state_;
    emit OpenStateChange(beforeOpenState_, 1);
    if (opening_ != 0)
        return; // the deck went on to another file: what was held was this one's
    for (const auto& [old, state] : held)
        emit PlayStateChange(old, state);
}

void FakePlayer::Play() {
    log << "Play";
    failIf("Play");
    if (state_ == Closed || state_ == Playing)
        return;
    changeState(Playing, true);
    if (opening_ == 0 && std::exchange(endWhilePaused_, false))
        QCoreApplication::postEvent(this, new QEvent(kTrackEnd));
}

void FakePlayer::Pause() {
    log << "Pause";
    if (state_ == Playing)
        changeState(Paused, true);
}

void FakePlayer::Stop() {
    log << "Stop";
    if (state_ == Stopped || state_ == Closed)
        return;
    position_ = 0;
    endWhilePaused_ = false;
    changeState(Stopped, false);
}

void FakePlayer::QueueNext(const QString& path) {
    if (state_ != Closed) // nothing open, nothing to follow
        queued_ = path;
}

void FakePlayer::setCurrentPosition(double seconds) {
    log << QString("Position %1").arg(seconds);
    position_ = seconds;
    endWhilePaused_ = false;
}

void FakePlayer::setRate(double rate) {
    log << QString("Rate %1").arg(rate);
    failIf("Rate");
    rate_ = rate;
}

int FakePlayer::Volume() const {
    failIf("VolumeRead");
    return volume_;
}

void FakePlayer::setVolume(int level) {
    log << QString("Volume %1").arg(level);
    failIf("Volume");
    volume_ = level;
}

void FakePlayer::setMute(bool muted) {
    log << QString("Mute %1").arg(muted ? "on" : "off");
    muted_ = muted;
}

void FakePlayer::setPrelisten(bool on) {
    log << QString("Prelisten %1").arg(on ? "on" : "off");
    prelisten_ = on;
}

void FakePlayer::endTrack() {
    // The end is delivered at once, but as the engine's is: an event of its own, which
    // nobody at the window asked for.
    QEvent end(kTrackEnd);
    QCoreApplication::sendEvent(this, &end);
}

bool FakePlayer::event(QEvent* event) {
    if (event->type() == kOpened) {
        // A superseded open is not waited for any more.
        if (static_cast<OpenedEvent*>(event)->open == opening_)
            opened();
        return true;
    }
    if (event->type() != kTrackEnd)
        return MediaPlayer::event(event);
    if (opening_ != 0)
        return true;      // the file that ended is no longer the player's
    if (state_ == Paused) // told once it is played on, as the engine's player does
        endWhilePaused_ = true;
    else if (state_ == Playing)
        position_ = duration_, changeState(Stopped, false);
    return true;
}

void FakePlayer::setPosition(double seconds) {
    position_ = seconds;
}

void FakePlayer::closeFile() {
    fileName_.clear();
    queued_.clear();
    duration_ = 0;
    state_ = Closed;
    emit OpenStateChange(1, 0);
}

} // namespace velmor::test
