#pragma once

#include "audio/OutputKeeper.h"
#include "deck/player/AudioOutputs.h"

#include <functional>

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

// The set-up and the headphones on the program's engine. The engine is taken when first
// needed (or attached when it starts); until then the headphones' level and blend are only
// kept. Every device change goes to the engine's output keepers, which open devices, stand
// in silence for a lost one and bring it back: there is no other way of opening one.
class EngineOutputs : public AudioOutputs {
public:
    using EngineSource = std::function<audio::Engine&()>;
    // `setup` is what the engine's main output was opened with. A headphone device that
    // cannot be opened when the engine starts is told through `reporter`.
    EngineOutputs(AudioSetup setup, EngineSource engine, Reporter& reporter);

    // Routes the headphones as the set-up says, and gives the engine the level and blend.
    void attach(audio::Engine& engine);

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
};

inline const char* const kMainDeviceRefused =
    "The audio output \"%1\" could not be opened: %2. Velmor plays on through the output it had.";
inline const char* const kPhonesDeviceRefused =
    "The headphone output \"%1\" could not be opened: %2. The headphones stay as they were.";
inline const char* const kPhonesDeviceMissing =
    "The headphone output \"%1\" could not be opened: %2. The headphones are off; choose them "
    "again in the audio set-up.";

} // namespace velmor
