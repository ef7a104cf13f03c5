#pragma once

#include "analysis/LoudnessPlan.h"

#include <QString>

namespace velmor {

// Where the headphones are heard: nowhere, on channels 3-4 of the main output, or on a
// device of their own.
enum class PhonesRoute { None, MainChannels, Device };

// The audio set-up: the sound cards and their buffer size, the one setting Velmor keeps from
// one evening to the next.
struct AudioSetup {
    QString device; // the main output; "" for the system's default
    PhonesRoute phones = PhonesRoute::None;
    QString phonesDevice; // for PhonesRoute::Device
    int bufferFrames = 256;
    bool operator==(const AudioSetup&) const = default;
};

inline constexpr int kBufferSizes[] = {128, 256, 512, 1024};

// $XDG_CONFIG_HOME/velmor/audio.conf, or ~/.config/velmor/audio.conf without it.
QString AudioSetupFile();
// The set-up kept in `file`: the defaults where it is missing or unreadable, and for any
// value it holds that is out of place.
AudioSetup ReadAudioSetup(const QString& file);
// Keeps `setup` in `file`, replacing the set-up it held. False when it could not be written.
bool WriteAudioSetup(const QString& file, const AudioSetup& setup);

// Whether a deck that plays but is not heard moves on to its next entry ("silence/move_on",
// off where it is not kept), kept in the same file, leaving the rest as it is.
bool ReadUnheardMovesOn(const QString& file);
bool WriteUnheardMovesOn(const QString& file, bool on);

// How the evening evens its tracks out, kept in the same file: the defaults where it is
// missing or unreadable, and for any value it holds that is out of place.
Levelling ReadLevelling(const QString& file);
// Keeps `levelling` in `file`, leaving the rest of the set-up as it is.
bool WriteLevelling(const QString& file, const Levelling& levelling);

// How far the voice-over key dips the main mix, in dB, kept in the same file.
inline constexpr int kMinDuckDb = 6, kMaxDuckDb = 30, kDefaultDuckDb = 15;
int ReadDuckDepth(const QString& file);
bool WriteDuckDepth(const QString& file, int db);

} // namespace velmor
