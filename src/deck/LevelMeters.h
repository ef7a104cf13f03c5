#pragma once

#include "common/Decks.h"
#include "common/MeterBallistics.h"
#include "deck/player/MasterLevels.h"

#include <QElapsedTimer>
#include <QString>
#include <array>
#include <functional>

namespace velmor {

struct WindowContext;

// The master strip's word on dropouts since the start: "" while there were none, else
// "Dropouts: 3", with " · phones 1" where the headphones had some.
QString DropoutsText(uint64_t main, uint64_t phones);

// The level meters: what each deck sends to the master, and the master after its limiter,
// read from the players thirty times a second by the window's one display timer (which also
// moves the overviews) while a deck plays or a meter falls; with the master, its dropouts.
class LevelMeters {
public:
    LevelMeters(WindowContext& window, std::function<MasterLevels()> masterLevels)
        : w_(window), masterLevels_(std::move(masterLevels)) {}
    // `live`: the display runs (false only for benchmarks of the window without it).
    void wire(bool live);
    // Told of the master's levels each time the meters take them, for what else watches the
    // master (the engine has one reader).
    void onMaster(std::function<void(const MasterLevels&)> listener) {
        masterListener_ = std::move(listener);
    }

    // A frame of the display: every meter takes what was measured since the last one.
    void tmrDisplay_Timer();
    // Sets the display moving, for something that sounds without a deck playing; it stops
    // again once every meter rests, no deck plays and `moving` (if given) says nothing else
    // on the display moves.
    void wake();
    void stayAwakeWhile(std::function<bool()> moving) { moving_ = std::move(moving); }

private:
    WindowContext& w_;
    std::function<MasterLevels()> masterLevels_; // none: the master is silent
    std::function<void(const MasterLevels&)> masterListener_;
    std::array<MeterBallistics, kDecks> decks_;
    MeterBallistics master_;
    QElapsedTimer clock_;
    bool live_ = false;
    std::function<bool()> moving_;

    void rest();
};

} // namespace velmor
