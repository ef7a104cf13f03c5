#pragma once

#include "deck/player/MediaPlayer.h"

#include <QElapsedTimer>

namespace velmor {

// A player that keeps the deck's timing contract without making a sound: it checks that the
// file can be read and counts the time. It stands in until the audio engine plays.
class SilentPlayer : public MediaPlayer {
    Q_OBJECT
public:
    using MediaPlayer::MediaPlayer;
    QString FileName() const override { return fileName_; }
    void setFileName(const QString& path) override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    int PlayState() const override { return state_; }
    double CurrentPosition() const override;
    void setCurrentPosition(double seconds) override;
    double Duration() const override { return 0; }
    double Rate() const override { return rate_; }
    void setRate(double rate) override;
    int Volume() const override { return volume_; }
    void setVolume(int level) override { volume_ = level; }
    bool Mute() const override { return muted_; }
    void setMute(bool muted) override { muted_ = muted; }

private:
    void notify(int state);
    QString fileName_;
    int state_ = Closed;
    double base_ = 0;
    double rate_ = 1.0;
    QElapsedTimer clock_;
    int volume_ = 0;
    bool muted_ = false;
};

} // namespace velmor
