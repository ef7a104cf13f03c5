#pragma once

#include "audio/LevelMeter.h"
#include "common/BackgroundWork.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <functional>

namespace velmor {

class Reporter;
namespace audio {
class Engine;
}

// The twelve jingle slots of the evening. A slot is given a file, which a worker reads whole
// into the engine's memory (at most kMaxSeconds), so that it starts within one buffer; the
// slots' files are kept in a file of their own from one evening to the next. UI thread.
class JingleBank : public QObject {
    Q_OBJECT
public:
    static constexpr int kSlots = 12;
    static constexpr double kMaxSeconds = 60;
    enum class State { Empty, Reading, Ready, Unreadable };

    // Without `engine` (a window on fake players) the slots only keep their files' names.
    JingleBank(std::function<audio::Engine&()> engine, Reporter& reporter,
               QObject* parent = nullptr);

    // Reads the slots kept in `file` and their files; from now on every change is kept there.
    // A file kept that cannot be read now is told in a notice, and again when its slot fires.
    void keepIn(const QString& file);
    // The person gives `slot` the file at `path`: a file that cannot be a jingle is refused
    // with a box, and the slot keeps what it had.
    void assign(int slot, const QString& path);
    void clear(int slot);

    QString file(int slot) const { return slots_[slot].file; }
    State state(int slot) const { return slots_[slot].state; }
    // Plays the slot from its start, or stops it while it plays.
    void fire(int slot);
    bool playing(int slot) const;
    void stopAll();

    // The jingles' volume, 0..100 on the decks' volume law; the level they play at now, in
    // hundredths of a decibel (a fade moves it away from the volume; stopAll puts it back).
    void setVolume(int volume);
    int volume() const { return volume_; }
    int outputLevel() const { return outputLevel_; }
    void setOutputLevel(int level);
    audio::LevelReading takeLevels();

    // Waits for the files being read (for tests).
    void waitUntilRead() { work_.waitUntilDone(); }

signals:
    void slotChanged(int slot); // its file or its state

private:
    struct Slot {
        QString file;
        State state = State::Empty;
        QString failure; // why it could not be read
        uint64_t reading = 0;
    };
    void read(int slot, const QString& path, bool asked);
    void keep();
    audio::Engine* engine();

    std::function<audio::Engine&()> engine_;
    Reporter& reporter_;
    std::array<Slot, kSlots> slots_;
    uint64_t readings_ = 0;
    QString file_;
    int volume_ = 100;
    int outputLevel_ = 0;
    BackgroundWork work_{
        "velmor jingles"}; // first to go: no reading is delivered to the slots once gone
};

inline const char* const kJingleTooLong =
    "%1 cannot be a jingle: it lasts %2, and a jingle lasts %3 seconds at most.";
inline const char* const kJingleNotRead = "Jingle F%1 (%2) could not be read: %3";
inline const char* const kJingleGone =
    "Jingle F%1 does not play: %2 could not be read when Velmor started. Give the slot its file "
    "again.";
inline const char* const kJingleEmpty =
    "Jingle F%1 has no file: drop one on its slot in the jingles' window (Ctrl+J).";
inline const char* const kJinglesNotKept = "The jingle slots could not be kept in %1.";
inline const char* const kJinglesStrange = "%1 held %2 lines that are no jingle slot; they were "
                                           "left out.";

} // namespace velmor
