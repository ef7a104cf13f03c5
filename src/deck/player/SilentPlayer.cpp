#include "deck/player/SilentPlayer.h"

#include "common/Error.h"

#include <QFile>

namespace velmor {

void SilentPlayer::setFileName(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QString("Cannot open %1: %2").arg(path, file.errorString()));
    fileName_ = path;
    base_ = 0;
    state_ = Stopped;
    QMetaObject::invokeMethod(
        this, [this] { emit OpenStateChange(0, 1); }, Qt::QueuedConnection);
}

void SilentPlayer::notify(int state) {
    const int old = state_;
    state_ = state;
    QMetaObject::invokeMethod(
        this, [this, old, state] { emit PlayStateChange(old, state); }, Qt::QueuedConnection);
}

void SilentPlayer::Play() {
    clock_.start();
    notify(Playing);
}

void SilentPlayer::Pause() {
    base_ = CurrentPosition();
    notify(Paused);
}

void SilentPlayer::Stop() {
    if (state_ == Stopped || state_ == Closed)
        return;
    base_ = 0;
    const int old = state_;
    state_ = Stopped;
    emit PlayStateChange(old, Stopped);
}

double SilentPlayer::CurrentPosition() const {
    return state_ == Playing ? base_ + clock_.elapsed() / 1000.0 * rate_ : base_;
}

void SilentPlayer::setCurrentPosition(double seconds) {
    base_ = seconds;
    clock_.restart();
}

void SilentPlayer::setRate(double rate) {
    base_ = CurrentPosition();
    clock_.restart();
    rate_ = rate;
}

} // namespace velmor
