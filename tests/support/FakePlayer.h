#pragma once

#include "deck/player/MediaPlayer.h"

#include <QHash>
#include <QStringList>

namespace velmor::test {

// A media player that keeps the deck's contract as the engine's player does and plays
// nothing (the contract tests run against both). Tests move its position, end its track,
// set durations and make it refuse things. A file opens as an event of its own, as the
// engine's player's open comes back from its worker.
class FakePlayer : public MediaPlayer {
    Q_OBJECT
public:
    explicit FakePlayer(QObject* parent = nullptr) : MediaPlayer(parent) {}

    QString FileName() const override { return fileName_; }
    void setFileName(const QString& path) override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    int PlayState() const override { return state_; }
    double CurrentPosition() const override { return position_; }
    void setCurrentPosition(double seconds) override;
    double Duration() const override { return duration_; }
    double Rate() const override { return rate_; }
    void setRate(double rate) override;
    int Volume() const override;
    void setVolume(int level) override;
    bool Mute() const override { return muted_; }
    void setMute(bool muted) override;
    void QueueNext(const QString& path) override;
    QString QueuedNext() const override { return queued_; }
    bool Prelisten() const override { return prelisten_; }
    void setPrelisten(bool on) override;

    // Test controls.
    void endTrack(); // plays to the end: a stopped notification, an event of its own (paused,
                     // it waits to be played on)
    void setPosition(double seconds); // moves the position without it counting as a seek
    void closeFile();                 // the open file goes away: "" and an open-state change
    QHash<QString, double> durations; // by path; others last defaultDuration
    double defaultDuration = 185.4;
    // Makes an operation fail with this description ("Play", "Volume", "Rate"; "VolumeRead"
    // fails reads of Volume).
    QHash<QString, QString> failures;
    // Paths it will not open, with the reason: once it has tried, it tells OpenFailed as the
    // engine's player does ("<path> cannot be played: <reason>.") and keeps the file it had.
    QHash<QString, QString> refused;
    // Every order received, in order: "FileName <path>", "Play", "Stop", "Volume -3600", ...
    QStringList log;

protected:
    bool event(QEvent* event) override;

private:
    void failIf(const QString& operation) const;
    void changeState(int state, bool queued);
    void opened();
    QString fileName_;
    QString queued_;
    int state_ = Closed;
    double position_ = 0;
    double duration_ = 0;
    double rate_ = 1.0;
    int volume_ = 0;
    bool muted_ = false;
    bool prelisten_ = false;
    bool endWhilePaused_ = false;
    // While a file opens: its number (0 for none), the play state last told, the file before
    // and the play-state changes held back until the open is told.
    int opening_ = 0;
    int opens_ = 0;
    int told_ = Closed;
    QString beforeName_;
    double beforeDuration_ = 0;
    int beforeState_ = Closed;
    int beforeOpenState_ = 0;
    QList<std::pair<int, int>> held_;
};

// Delivers the notifications waiting in the event loop.
void DeliverNotifications();

} // namespace velmor::test
