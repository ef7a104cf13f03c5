#include "support/FakePlayer.h"

#include "common/Error.h"

#include <QCoreApplication>

namespace velmor::test {
namespace {
const QEvent::Type kTrackEnd = QEvent::Type(QEvent::User + 1);
}

void DeliverNotifications() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void FakePlayer::failIf(const QString& operation) const {
    if (failures.contains(operation))
        throw Error(failures.value(operation));
}

void FakePlayer::changeState(int state, bool queued) {
    const int old = state_;
    state_ = state;
    if (!queued) {
        emit PlayStateChange(old, state);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, old, state] { emit PlayStateChange(old, state); }, Qt::QueuedConnection);
}

void FakePlayer::setFileName(const QString& path) {
    log << "FileName " + path;
    if (refused.contains(path))
        throw Error(QString("%1 cannot be played: %2.").arg(path, refused.value(path)));
    const int oldOpenState = state_ == Closed ? 0 : 1;
    fileName_ = path;
    queued_.clear(); // queued to follow the file it replaces
    duration_ = path.isEmpty() ? 0 : durations.value(path, defaultDuration);
    position_ = 0;
    endWhilePaused_ = false;
    if (path.isEmpty())
        state_ = Closed;
    else if (state_ == Playing) // a new file waits paused at its start, and says so
        changeState(Paused, true);
    else if (state_ == Closed)
        state_ = Stopped;
    const int newOpenState = state_ == Closed ? 0 : 1;
    QMetaObject::invokeMethod(
        this,
        [this, oldOpenState, newOpenState] { emit OpenStateChange(oldOpenState, newOpenState); },
        Qt::QueuedConnection);
}

void FakePlayer::Play() {
    log << "Play";
    failIf("Play");
    if (state_ == Closed || state_ == Playing)
        return;
    changeState(Playing, true);
    if (std::exchange(endWhilePaused_, false))
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
    if (event->type() != kTrackEnd)
        return MediaPlayer::event(event);
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
