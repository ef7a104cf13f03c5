#pragma once

#include "audio/DeckMixer.h"
#include "audio/LevelMeter.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmor::audio {

// A jingle's sound, whole in memory at the engine's rate, so that it starts at once.
struct JingleSound {
    std::vector<float> samples; // interleaved stereo
    int64_t frames() const { return static_cast<int64_t>(samples.size() / 2); }
};

// A file longer than a jingle may be.
class JingleTooLong : public std::runtime_error {
public:
    explicit JingleTooLong(double seconds)
        : std::runtime_error("it is longer than a jingle may be"), seconds_(seconds) {}
    double seconds() const { return seconds_; }

private:
    double seconds_;
};

// Reads the file at `path` whole and converts it to `rate`. Slow: for a worker. Throws
// DecodeError where the file cannot be played, JingleTooLong where it lasts more than
// `maxSeconds`.
std::unique_ptr<JingleSound> ReadJingle(const std::string& path, int rate, double maxSeconds);

// Twelve one-shot slots over the decks, at one level of their own. The UI thread gives a slot
// its sound, starts and stops it; the audio callback plays what was started and never frees a
// sound: a sound replaced is let go on the UI thread once the callback has left it.
class JinglePlayer {
public:
    static constexpr int kSlots = 12;
    static constexpr double kGateSeconds = 0.004; // a start and a stop, without a click

    explicit JinglePlayer(int sampleRate);
    JinglePlayer(const JinglePlayer&) = delete;
    JinglePlayer& operator=(const JinglePlayer&) = delete;

    // UI thread. A slot given another sound (or none) stops.
    void setSound(int slot, std::unique_ptr<JingleSound> sound);
    const JingleSound* sound(int slot) const { return owned_[slot].get(); }
    // Starts the slot's sound from its beginning; stops it.
    void play(int slot);
    void stop(int slot);
    // Started and neither stopped nor played to its end.
    bool playing(int slot) const;
    // The jingles' level, ramped as a deck's is.
    void setLevel(float gain) { gain_.store(gain, std::memory_order_relaxed); }
    // What the jingles sent to the master since the last take (one reader).
    LevelReading takeLevels() { return meter_.take(); }

    // Audio callback: adds the playing slots to the mix.
    void mixInto(float* stereo, int frames) noexcept;

private:
    struct Slot {
        std::atomic<const JingleSound*> sound{nullptr};
        std::atomic<uint64_t> starts{0};   // UI: times started
        std::atomic<bool> wanted{false};   // UI: to be heard
        std::atomic<uint64_t> finished{0}; // callback: the start that has ended
        // The callback's own.
        const JingleSound* held = nullptr;
        uint64_t started = 0;
        int64_t position = 0;
        bool voice = false;
        LinearRamp gate{0.0f, 1};
    };
    struct Retired {
        std::unique_ptr<JingleSound> sound;
        uint64_t block; // the callback's count when it was replaced
    };

    static constexpr int kChunkFrames = 512;
    void mixChunk(float* stereo, int frames) noexcept;
    bool mixSlot(Slot& slot, int frames, bool adds) noexcept;
    void letGo(); // frees what the callback has left

    std::array<Slot, kSlots> slots_;
    std::atomic<float> gain_{1.0f};
    LinearRamp level_;
    LevelMeter meter_;
    std::vector<float> sum_; // the callback's: the slots' sum of a chunk
    std::atomic<uint64_t> blocks_{0};
    std::array<std::unique_ptr<JingleSound>, kSlots> owned_; // UI thread
    std::vector<Retired> retired_;                           // UI thread
};

} // namespace velmor::audio
