#pragma once

#include "deck/player/EnginePlayer.h"

#include <functional>

namespace velmor::soak {

// The engine-backed player of one deck, telling the soak run which files it opened and
// which played to their end. An end is told before the window hears of the stop, so the run
// never mistakes a deck that was stopped (by a fade out, say) for one that finished.
class WatchedPlayer : public EnginePlayer {
public:
    WatchedPlayer(audio::Engine& engine, int deck, QObject* parent)
        : EnginePlayer(engine, deck, parent) {
        // Connected before the window connects its own handlers, so this runs first.
        connect(this, &MediaPlayer::PlayStateChange, this, [this](int, int now) {
            if (now == Stopped && !stopping_ && ended)
                ended(FileName());
        });
    }

    void setFileName(const QString& path) override {
        EnginePlayer::setFileName(path);
        if (opened)
            opened(path);
    }
    void Stop() override {
        struct Clear {
            bool& flag;
            ~Clear() { flag = false; }
        };
        stopping_ = true;
        const Clear clear{stopping_}; // also when the stop fails
        EnginePlayer::Stop();
    }

    std::function<void(const QString&path)> opened, ended;

private:
    bool stopping_ = false;
};

} // namespace velmor::soak
