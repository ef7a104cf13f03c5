#pragma once

#include "audio/ThreadPriority.h"
#include "deck/player/AudioSetup.h"

#include <QList>
#include <QString>

namespace velmor {

// The headphones' level when Velmor starts (0..100, the decks' volume law).
inline constexpr int kDefaultPhonesVolume = 80;

// An output device the set-up can choose.
struct AudioDevice {
    QString name;
    int channels = 2;
    bool isDefault = false;
};

// What plays now: the devices' names ("" for none) and the latency each reports for the
// stream it opened.
struct OutputsState {
    QString main;
    double mainLatency = 0;
    bool mainSilent = false; // the silent stand-in plays instead of a device
    QString phones;
    double phonesLatency = 0;
    bool phonesSilent = false;
    audio::ThreadPriority threads; // what the audio threads were granted
};

// The sound cards as the window sees them: the set-up, and the headphones' level and blend.
// UI thread only.
class AudioOutputs {
public:
    virtual ~AudioOutputs() = default;
    // The output devices there are, the default one first. Throws Error.
    virtual QList<AudioDevice> Devices() = 0;
    // The set-up that plays now.
    virtual AudioSetup Setup() const = 0;
    // Reopens what `setup` changes; the decks play on where they are. A part that cannot be
    // opened stays as it was, and the failure is thrown as an Error that says so (Setup()
    // then tells what plays).
    virtual void setSetup(const AudioSetup& setup) = 0;
    virtual OutputsState State() = 0;
    // 0..100: silence to full level, the decks' volume law in between.
    virtual void setHeadphoneLevel(int volume) = 0;
    // 0..100: the pre-listened decks alone to the main mix alone.
    virtual void setCueMix(int mainShare) = 0;
};

} // namespace velmor
