#pragma once

#include "audio/TrackPlan.h"
#include "deck/player/MediaPlayer.h"
#include "deck/player/TrackOpener.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace velmor {

namespace audio {
class Engine;
}

// The media player of one deck, playing through the shared audio engine.
//
// Files open on a worker thread of the player's own (see TrackOpener): writing FileName
// returns at once, and the player stands for the new file from then on. What the deck asks
// of it meanwhile (play, pause, stop, seek, the file to queue) is done once the file is open;
// the open-state notification comes first, then those of the play state. A file that cannot
// be opened leaves the player with the file it had, stopped or paused as it stood, and is
// reported by OpenFailed. A new file or a close meanwhile supersedes the open: its file never
// plays, and its decoder goes with the worker.
//
// Writing FileName while a file plays or stands paused loads the new file paused at its
// start (a playing player stops being heard at once and reports the pause); it never reports
// a stop, which the deck would take for the end of its track.
//
// The file queued next is opened on the worker and handed to the engine, which goes on into
// it from the open one's last frame. The stop that reports the end holds back the rewind the
// deck then asks for: a deck that opens the queued file and plays it takes what is heard
// already; a deck that chooses otherwise stops the joined audio, and the ended file stands
// rewound.
//
// The player takes its engine when it first opens a file: until then its level, mute and
// rate are only kept, so that a window can be built and shown before the sound card is found.
//
// Each file plays by the plan its planner gives for it (see audio::TrackPlan). Its gain is
// fixed when the track starts playing: a plan learnt while it plays or stands paused brings
// its end (and the queued file's start) at once, its gain at the next start from a stop. A
// track the deck goes on into at the end of the one before, or opens while it handles that
// end, starts at its first sound; whatever the user asks starts where it always did.
class EnginePlayer : public MediaPlayer {
    Q_OBJECT
public:
    using EngineSource = std::function<audio::Engine&()>;
    // The plan for the file at a path, given the loudness its tags imply.
    using Planner =
        std::function<audio::TrackPlan(const QString& path, std::optional<double> taggedLoudness)>;

    EnginePlayer(audio::Engine& engine, int deck, QObject* parent = nullptr);
    EnginePlayer(EngineSource engine, int deck, QObject* parent = nullptr);
    ~EnginePlayer() override;

    // Files are opened with `open` from now on (tests slow it down).
    void setOpenFunction(TrackOpener::OpenFunction open) {
        opener_.setOpenFunction(std::move(open));
    }
    // Files opened from now on play by the plans `planner` gives (every file plays as it is
    // without one).
    void setPlanner(Planner planner) { planner_ = std::move(planner); }
    void replan(const QString& path) override;

    QString FileName() const override { return fileName_; }
    void setFileName(const QString& path) override;

    void Play() override;
    void Pause() override;
    void Stop() override;

    int PlayState() const override { return state_; }

    double CurrentPosition() const override;
    void setCurrentPosition(double seconds) override;

    double Duration() const override { return duration_; }

    double Rate() const override { return rate_; }
    void setRate(double rate) override;

    int Volume() const override { return volume_; }
    void setVolume(int level) override;

    bool Mute() const override { return muted_; }
    void setMute(bool muted) override;

    void QueueNext(const QString& path) override;
    QString QueuedNext() const override { return queuedPath_; }

    bool Prelisten() const override { return prelisten_; }
    void setPrelisten(bool on) override;
    Levels TakeLevels() override;

    // Open-state values of the notification: no file, and a file open and ready.
    static constexpr int kOpenStateClosed = 0;
    static constexpr int kOpenStateMediaOpen = 13;

private:
    audio::Engine& engine(); // taken now if not yet
    void trackEnded(uint64_t generation);
    void endIntoQueued();
    bool holdingRewind() const;
    void changeState(State state, bool queued);
    void notifyOpenState(int oldState);
    void opened(TrackOpener::Opened&& opened);
    void openFailed(const QString& failure);
    void queueOnEngine(); // opens the queued file, then hands it to the engine
    audio::TrackPlan planFor(const QString& path, std::optional<double> taggedLoudness) const;
    // The open file plays by what is known of it now; its gain stays while it has started.
    void applyPlan();
    void rewound(); // stopped at the start: the next play starts the track anew
    // The deck is kept out of the main mix: muted, or at the bottom of the volume law. The
    // engine's own mute does it, so the deck is still heard in the headphones, and the level
    // the deck and its fades read back stays the one they wrote.
    bool silent() const { return muted_ || volume_ <= kSilentLevel; }

    EngineSource source_;
    audio::Engine* engine_ = nullptr;
    const int deck_;
    QString fileName_;
    State state_ = Closed;
    double duration_ = 0;
    double rate_ = 1.0;
    int volume_ = 0;
    bool muted_ = false;
    bool prelisten_ = false;
    bool endWhilePaused_ = false; // the track ran out just as it was paused
    QString queuedPath_;
    double queuedDuration_ = 0;
    // The plans the engine has for the open and the queued file, and the loudness their tags
    // imply; whether the open track has started (its gain is then kept).
    Planner planner_;
    audio::TrackPlan plan_, queuedPlan_;
    std::optional<double> taggedLoudness_, queuedTaggedLoudness_;
    bool started_ = false;
    // While the deck handles the end of its track, and for a file it opened then: that file
    // starts at its first sound.
    bool advancing_ = false;
    bool fromFirstSound_ = false;
    // While a file opens: its job, what the deck last heard of the play state, the file the
    // engine still has, the position asked for, and the play-state changes held back.
    TrackOpener opener_;
    BackgroundWork::Job opening_;
    BackgroundWork::Job queueing_;
    State told_ = Closed;
    struct Before {
        QString fileName;
        double duration = 0;
        State state = Closed;
        int openState = kOpenStateClosed;
    } before_;
    double openingPosition_ = 0;
    std::vector<std::pair<int, int>> held_;
    // While the deck handles an end that went on into the queued file: the rewind it asked
    // for, and whether it took the queued file.
    bool ending_ = false;
    double heldRewind_ = 0;
    bool adopted_ = false;
};

} // namespace velmor
