#pragma once

#include "audio/BlockRing.h"
#include "audio/DeckMixer.h"
#include "audio/DeckReader.h"
#include "audio/Decoder.h"
#include "audio/MasterLimiter.h"
#include "audio/Output.h"
#include "audio/OutputKeeper.h"
#include "audio/SpscQueue.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace velmor::audio {

// Four decks over one output. The UI thread calls the deck operations; the output's audio
// thread mixes; a reader thread decodes ahead (or the output does, for offline rendering);
// the output keeper's thread stands in silence for a lost device and brings a device back.
// Decks are numbered 0..3.
class Engine : private MixSource {
public:
    static constexpr int kDecks = 4;
    static constexpr double kRingSeconds = 1.5; // audio a deck holds ahead of the listener

    // What comes after the decks' sum: the limiter, or (for benchmarks that weigh the
    // limiter) a bare clamp at full scale.
    enum class MasterBus { Limited, Clamped };

    // Plays through `output`; where it is missing or does not start, or is lost later, through
    // a silent output that keeps time, while `devices` (if given) is asked for a device again.
    explicit Engine(std::unique_ptr<Output> output, DeviceOpener devices = {},
                    MasterBus bus = MasterBus::Limited);
    ~Engine() override;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    int sampleRate() const { return rate_; }
    std::string outputName() const { return keeper_.name(); }
    // True while the silent stand-in plays instead of a device.
    bool silent() const { return keeper_.silent(); }

    // Deck operations, UI thread only. `load` gives the deck an opened file, stopped at its
    // start; `close` leaves it without one.
    void load(int deck, std::unique_ptr<Decoder> decoder);
    void close(int deck);
    void play(int deck);
    void pause(int deck);
    void seek(int deck, double seconds);
    void setRate(int deck, double rate);
    void setLevel(int deck, int hundredthsOfDb);
    void setMute(int deck, bool muted);
    // Track seconds of what is being heard (or of where a pending seek will be heard).
    double position(int deck) const;
    // The request the deck's audio now belongs to; a track end reports it.
    uint64_t generation(int deck) const;

    // Called (on a reader thread, or in OfflineOutput::render) when a deck's track has played
    // to its end, with the request it belonged to.
    void setTrackEndListener(int deck, std::function<void(uint64_t generation)> listener);
    // Called on the keeper's thread when the device is lost and when one is back (a change
    // from before the listener was set is told when it is set).
    void setOutputListener(std::function<void(const OutputChange&)> listener) {
        keeper_.setListener(std::move(listener));
    }

    // Times a playing deck's ring ran dry in the audio callback, and times the device said it
    // had run out of audio.
    uint64_t underruns() const {
        return underruns_.load(std::memory_order_relaxed) + keeper_.underflows();
    }

    // How far the master limiter turned the sum down in the latest buffer (0 dB while it is
    // transparent), and how many buffers it has turned down so far: a meter that sees the
    // count move lights its clip light. Any thread.
    double limiterReductionDb() const;
    uint64_t limitedBuffers() const { return limiter_.limitedBlocks(); }
    // The limiter's look-ahead: everything is heard this much later than it is mixed.
    int masterDelayFrames() const { return limiter_.delayFrames(); }

    // The levels since the last take (one reader): what a deck sent to the master, after its
    // level and mute; the master after the limiter.
    LevelReading takeDeckLevels(int deck) { return decks_[deck]->mixer.meter().take(); }
    LevelReading takeMasterLevels() { return masterMeter_.take(); }

    static float GainOfLevel(int hundredthsOfDb);

private:
    struct Deck {
        explicit Deck(size_t ringBlocks, int rate);
        BlockRing ring;
        DeckControls controls;
        DeckStatus status;
        DeckReader reader;
        DeckMixer mixer;
        SpscQueue<ReaderCommand, 256> commands;
        // UI thread only.
        uint64_t uiGeneration = 0;
        double requestedSeconds = 0;
        double rate = 1.0;
        double lengthSeconds = 0;
        // Reader side only.
        uint64_t reportedEnd = 0;
    };

    void renderOutput(float* stereo, int frames) noexcept override;
    void fillAhead() override;

    void request(int deck, Decoder* decoder, bool close, double seconds);
    bool readOnce(); // one round of reader work over all decks
    void readerLoop();

    OutputKeeper keeper_; // stopped first of all, in the destructor
    const int rate_;
    const MasterBus bus_;
    MasterLimiter limiter_;
    LevelMeter masterMeter_;
    std::array<std::unique_ptr<Deck>, kDecks> decks_;
    std::atomic<uint64_t> underruns_{0};

    mutable std::mutex listenerMutex_; // never taken on the audio thread
    std::array<std::function<void(uint64_t)>, kDecks> trackEnded_;

    std::thread reader_;
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool quit_ = false;
};

} // namespace velmor::audio
