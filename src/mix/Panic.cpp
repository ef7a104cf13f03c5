#include "mix/Panic.h"

#include "common/Reporter.h"
#include "deck/Deck.h"
#include "deck/WindowContext.h"
#include "deck/player/JingleBank.h"
#include "deck/player/MediaPlayer.h"
#include "mix/FadeSteps.h"
#include "mix/Fades.h"

#include <algorithm>
#include <utility>

namespace velmor {

int32_t PanicLevel(int32_t from, int elapsedMs) {
    constexpr int32_t kSilent = MediaPlayer::kSilentLevel;
    if (from <= kSilent)
        return from;
    const int64_t done = std::clamp(elapsedMs, 0, kPanicFadeMs);
    return static_cast<int32_t>(from + (kSilent - from) * done / kPanicFadeMs);
}

Panic::Panic(WindowContext& window, Fades& fades, JingleBank& jingles)
    : w_(window), fades_(fades), jingles_(jingles) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kFadeTickMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
}

void Panic::press() {
    if (running())
        return finish();
    elapsedMs_ = 0;
    for (int d = 0; d < kDecks; ++d) {
        Deck& deck = *w_.decks[d];
        decksFrom_[d].reset();
        if (deck.player().PlayState() != MediaPlayer::Playing)
            continue;
        fades_.cancel(d);
        deck.holdAtEnd(true);
        decksFrom_[d] = deck.outputLevel();
    }
    jinglesFrom_.reset();
    for (int slot = 0; slot < JingleBank::kSlots; ++slot)
        if (jingles_.playing(slot))
            jinglesFrom_ = jingles_.outputLevel();
    if (jinglesFrom_ || std::any_of(decksFrom_.begin(), decksFrom_.end(),
                                    [](const auto& from) { return from.has_value(); }))
        timer_.start();
}

void Panic::tick() {
    elapsedMs_ += kFadeTickMs;
    if (elapsedMs_ >= kPanicFadeMs)
        return finish();
    for (int d = 0; d < kDecks; ++d) {
        if (!decksFrom_[d])
            continue;
        Deck& deck = *w_.decks[d];
        if (deck.player().PlayState() == MediaPlayer::Stopped) { // its end came first
            deck.holdAtEnd(false);
            decksFrom_[d].reset();
            continue;
        }
        trapped(w_.reporter, [&] { deck.setOutputLevel(PanicLevel(*decksFrom_[d], elapsedMs_)); });
    }
    if (jinglesFrom_)
        jingles_.setOutputLevel(PanicLevel(*jinglesFrom_, elapsedMs_));
}

void Panic::finish() {
    timer_.stop();
    for (int d = 0; d < kDecks; ++d) {
        if (!std::exchange(decksFrom_[d], std::nullopt))
            continue;
        trapped(w_.reporter, [&] { w_.commands.StopWithoutMovingOn(d); });
        w_.decks[d]->holdAtEnd(false);
    }
    jinglesFrom_.reset();
    jingles_.stopAll();
}

} // namespace velmor
