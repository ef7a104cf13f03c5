#pragma once

#include "audio/LevelMeter.h"

#include <QObject>
#include <QString>

namespace velmor {

// The media player of one deck: plays one file at a time; the deck decides what.
//
// Every operation is called on the UI thread. A failing operation throws velmor::Error
// with a description fit to show the user.
//
// The timing the deck relies on:
//  - Writing FileName opens the file without starting it, and returns before the file is
//    read: from then on the player stands for that file (FileName is its path, Duration 0
//    until it is open) and PlayState is Stopped (0) or Paused (1). A Play, Pause, seek or
//    QueueNext meanwhile is for that file and is done once it is open. The open-state
//    notification follows once the file is open, after the running handler has returned,
//    with Duration known by then; the play-state notifications of what was asked meanwhile
//    come after it. A Stop meanwhile is reported inside the call, as always.
//  - A file that cannot be opened is reported by OpenFailed, after the running handler has
//    returned, in place of the open-state notification: the player keeps the file it had
//    (FileName reads it again), stopped or paused as last reported, and what was asked of
//    the new file is dropped. Unless the deck writes another FileName from its handling of
//    the failure, an open-state notification then tells the file it has again.
//  - Writing another FileName or "" before the open is done supersedes it: that file never
//    plays and nothing is reported of it.
//  - Play and Pause notify through PlayStateChange after the running handler has returned
//    (queued on the UI event loop), never from inside the call.
//  - Stop notifies before it returns (the stopped handling runs inside the call), and does
//    not notify at all when the player is already stopped.
//  - A track that plays to its end is reported with PlayState 0 as an event of its own.
//  - QueueNext names the file the deck would play after the open one's end. The end is still
//    a stop of its own; while the stopped handling runs, a player that went straight on into
//    the queued file holds back the rewind it is asked for, and when the handling opens the
//    queued file and plays it, that is what already plays (with the open-state and playing
//    notifications as for any file, and the position the new file's). Anything else it does
//    is done as it would be without a queue, the rewind included.
//
// The old/new arguments of the notifications are informative only: handlers read
// PlayState and FileName afresh.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    enum State { Stopped = 0, Paused = 1, Playing = 2, Closed = 6 };
    // Peaks and RMS per channel, full scale 1.
    using Levels = audio::LevelReading;

    using QObject::QObject;
    ~MediaPlayer() override = default;

    // Full path of the open file, "" when none is open. Writing opens that file.
    virtual QString FileName() const = 0;
    virtual void setFileName(const QString& path) = 0;

    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;

    // 0 stopped, 1 paused, 2 playing, 6 nothing open.
    virtual int PlayState() const = 0;

    // Seconds of the track being heard; writing seeks.
    virtual double CurrentPosition() const = 0;
    virtual void setCurrentPosition(double seconds) = 0;

    // Length of the open file in seconds (0 when none is open).
    virtual double Duration() const = 0;

    // Speed factor; the deck writes 0.5, 1.0, 1.5 and 2.0. Tempo changes, the key does not.
    virtual double Rate() const = 0;
    virtual void setRate(double rate) = 0;

    // Level in hundredths of a decibel: 0 is full level, the deck writes -4500..0. A level at
    // or below kSilentLevel, the bottom of the deck's volume law, is not heard in the room at
    // all; Volume reads back the level as it was written all the same.
    static constexpr int kSilentLevel = -4500;
    virtual int Volume() const = 0;
    virtual void setVolume(int level) = 0;

    // Silence without touching Volume.
    virtual bool Mute() const = 0;
    virtual void setMute(bool muted) = 0;

    // The file to play on into, without a gap, should the open one play to its end; "" for
    // none. Writing FileName or closing forgets it; seeks and rates keep it. Cheap when the
    // path is the one queued already; a file that does not open is not reported here (the
    // deck hears of it when it opens it).
    virtual void QueueNext(const QString& path) = 0;
    virtual QString QueuedNext() const = 0;

    // Pre-listen: the deck is heard in the headphones too, before its level and mute.
    virtual bool Prelisten() const = 0;
    virtual void setPrelisten(bool on) = 0;
    // What the deck has sent to the master since the last call, after its level and mute
    // (for its meter). A player that measures nothing sends silence.
    virtual Levels TakeLevels() { return {}; }

    // Something new is known of the file at `path` (its loudness, where its sound starts and
    // ends): the open or the queued one plays by what is known now. A player that plays
    // every file as it is ignores it.
    virtual void replan(const QString& /*path*/) {}

signals:
    void OpenStateChange(int oldState, int newState);
    // `path` could not be opened, for `description` ("<path> cannot be played: <cause>.");
    // `play` tells whether it was asked to play once open.
    void OpenFailed(const QString& path, const QString& description, bool play);
    void PlayStateChange(int oldState, int newState);
};

} // namespace velmor
