#pragma once

#include "audio/OutputKeeper.h"
#include "deck/player/AudioOutputs.h"

#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>

namespace velmor {

class Reporter;
namespace audio {
class Engine;
}

// Opens the output devices a set-up names, through PortAudio: the main one (with four
// channels when the headphones are on its channels 3-4) and the headphones' own. The
// openers throw std::runtime_error with what went wrong.
audio::DeviceOpener MainOpener(const AudioSetup& setup);
audio::DeviceOpener PhonesOpener(const AudioSetup& setup);

// The main card the set-up keeps, and the system's default card standing in for it while
// it is not there, so that a card missing at the start of an evening is no silent evening.
class KeptCard {
public:
    KeptCard() = default; // the default card, which nothing stands in for
    // `kept` opens the card called `name`, `standIn` the system's default card.
    KeptCard(QString name, audio::DeviceOpener kept, audio::DeviceOpener standIn);

    QString name() const { return name_; }
    // Opens the kept card, or where it cannot be opened, the default card in its place; throws
    // where neither opens. Any thread: for the engine's start and its keeper after a loss.
    audio::DeviceOpener opener() const;
    // The default card plays in the kept one's place.
    bool standsInOn(const audio::Engine& engine) const;
    // Plays through the kept card from now on if it opens now, never through another.
    // UI thread; true when it plays.
    bool takeBack(audio::Engine& engine) const;

private:
    struct Openers {
        audio::DeviceOpener kept, standIn;
        std::atomic<bool> keptOnly{false}; // while the kept card is tried alone
    };
    QString name_;
    std::shared_ptr<Openers> openers_;
};

// The main card of `setup`, with the default card standing in where the set-up names one.
KeptCard KeptMainCard(const AudioSetup& setup);

// The set-up and the headphones on the program's engine. The engine is taken when first
// needed (or attached when it starts); until then the headphones' level and blend are only
// kept. Every device change goes to the engine's output keepers, which open devices, stand
// in silence for a lost one and bring it back: there is no other way of opening one.
class EngineOutputs : public AudioOutputs {
public:
    using EngineSource = std::function<audio::Engine&()>;
    // `setup` is what the engine's main output was opened with, `card` the opener of its
    // main card. A headphone device that cannot be opened when the engine starts is told
    // through `reporter`, and so is a main card that the default card stands in for.
    EngineOutputs(AudioSetup setup, EngineSource engine, Reporter& reporter, KeptCard card = {});

    // Routes the headphones as the set-up says, and gives the engine the level and blend;
    // from now on, the kept card is looked for while the default card stands in for it.
    void attach(audio::Engine& engine);
    // Once a second: where the default card stands in for the kept one, tells so once, and
    // goes back to the kept card as soon as it opens.
    void lookForKeptCard();

    QList<AudioDevice> Devices() override;
    AudioSetup Setup() const override { return setup_; }
    void setSetup(const AudioSetup& setup) override;
    OutputsState State() override;
    void setHeadphoneLevel(int volume) override;
    void setCueMix(int mainShare) override;

private:
    audio::Engine& engine();
    // Routes the headphones as `setup` says; the failure's description, "" when they play.
    QString routePhones(const AudioSetup& setup);

    AudioSetup setup_;
    EngineSource source_;
    Reporter& reporter_;
    audio::Engine* engine_ = nullptr;
    int phonesFrames_; // the buffer size the headphones' own device was opened with
    float level_, mainShare_ = 0;
    KeptCard card_;
    QTimer lookAgain_;
    bool standInTold_ = false;
};

inline const char* const kKeptCardMissing =
    "The sound card \u201c%1\u201d is not there: playing through the system's default card "
    "until it is back.";
inline const char* const kKeptCardBack =
    "The sound card \u201c%1\u201d is back: the decks play through it again.";

inline const char* const kMainDeviceRefused =
    "The audio output \"%1\" could not be opened: %2. Velmor plays on through the output it had.";
inline const char* const kPhonesDeviceRefused =
    "The headphone output \"%1\" could not be opened: %2. The headphones stay as they were.";
inline const char* const kPhonesDeviceMissing =
    "The headphone output \"%1\" could not be opened: %2. The headphones are off; choose them "
    "again in the audio set-up.";

} // namespace velmor
