#pragma once

#include "audio/BlockRing.h"
#include "audio/DeckMixer.h"
#include "audio/DeckReader.h"
#include "audio/Decoder.h"
#include "audio/HeadphoneBus.h"
#include "audio/JinglePlayer.h"
#include "audio/ListenerSlot.h"
#include "audio/MasterDuck.h"
#include "audio/MasterLimiter.h"
#include "audio/MasterRecorder.h"
#include "audio/Output.h"
#include "audio/OutputKeeper.h"
#include "audio/ThreadPriority.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace velmor::audio {

// Four decks over one output, and headphones. The UI thread calls the deck operations; the
// output's audio thread mixes; each deck's reader thread decodes ahead (or the output does,
// for offline rendering), so that a file slow to read (damage walked over, a slow disk)
// holds up no other deck; the output keeper's thread stands in silence for a lost device and brings
// a device back, and so does a second keeper for a headphone device of its own. Decks are numbered
// 0..3.
class Engine : private MixSource {
public:
    static constexpr int kDecks = 4;
    static constexpr double kRingSeconds = 1.5; // audio a deck holds ahead of the listener

    // What comes after the decks' sum: the limiter, or (for benchmarks that weigh the
    // limiter) a bare clamp at full scale.
    enum class MasterBus { Limited, Clamped };

    // Plays through `output`; where it is missing or does not start, or is lost later, through
    // a silent output that keeps time, while `devices` (if given) is asked for a device again.
    // The outputs' threads and the readers ask `scheduler` for real-time priority.
    explicit Engine(std::unique_ptr<Output> output, DeviceOpener devices = {},
                    MasterBus bus = MasterBus::Limited,
                    ThreadScheduler& scheduler = SystemScheduler());
    ~Engine() override;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    int sampleRate() const { return rate_; }
    std::string outputName() const { return keeper_.name(); }
    // True while the silent stand-in plays instead of a device.
    bool silent() const { return keeper_.silent(); }
    double outputLatency() const { return keeper_.latencySeconds(); }

    // Plays the main mix through the device `opener` opens, from now on (also when a device
    // is looked for again after a loss). The decks play on where they are; where the device
    // cannot be opened the one before plays on. Returns the failure's description, "" when
    // the new device plays. UI thread.
    std::string switchOutput(DeviceOpener opener) { return keeper_.switchTo(std::move(opener)); }

    // The headphones: the sum of the pre-listened decks before their level, mute, fades and
    // crossfader, blended with the main mix. They go nowhere, to channels 3-4 of the main
    // output (opened with four channels by switchOutput), or to a device of their own that
    // `opener` opens, with the same promises as switchOutput. UI thread.
    std::string routeHeadphones(HeadphoneRoute route, DeviceOpener opener = {});
    HeadphoneRoute headphoneRoute() const { return headphones_.route(); }
    void setPrelisten(int deck, bool on) { headphones_.setPrelisten(deck, on); }
    void setHeadphoneLevel(float gain) { headphones_.setLevel(gain); }
    void setCueMix(float mainShare) { headphones_.setCueMix(mainShare); }
    // The headphone device's, where it has one of its own.
    std::string headphoneName() const;
    bool headphonesSilent() const;
    double headphoneLatency() const;
    // Times the headphone device found nothing to play once it played.
    uint64_t headphoneUnderruns() const { return headphones_.underruns(); }

    // Deck operations, UI thread only. `load` gives the deck an opened file, stopped at its
    // start, to play by `plan`; `close` leaves it without one.
    void load(int deck, std::unique_ptr<Decoder> decoder, const TrackPlan& plan = {});
    void close(int deck);
    void play(int deck);
    void pause(int deck);
    void seek(int deck, double seconds);
    void setRate(int deck, double rate);
    void setLevel(int deck, int hundredthsOfDb);
    void setMute(int deck, bool muted);
    // Track seconds of what is being heard (or of where a pending seek will be heard), of
    // the queued file once it is heard.
    double position(int deck) const;
    // The request the deck's audio now belongs to; a track end reports it.
    uint64_t generation(int deck) const;

    // The file to go on into, sample for sample, when the loaded one plays to its end (null:
    // none). Loading or closing drops it; seeks and rates keep it (it plays at the deck's
    // rate). Once the reader has gone on into a queued file, a new one is too late and
    // ignored: the join is then no longer joined() and reads as the loaded track's end.
    void queueNext(int deck, std::unique_ptr<Decoder> decoder, const TrackPlan& plan = {});
    // The loaded file plays by `plan` from now on: its end holds at once, its gain for what is
    // rendered from now on. A deck standing still has its audio ahead rendered again from
    // where it stands, so that it starts with the new gain. setNextPlan does the same for the
    // queued file (its start is where it is gone on into).
    void setTrackPlan(int deck, const TrackPlan& plan);
    void setNextPlan(int deck, const TrackPlan& plan);
    // Whether what is heard is the queued file, gone on into from the loaded one.
    bool joined(int deck) const;
    // The queued file, once joined(), becomes the loaded one, playing on where it is heard.
    // Until then, requests (stop, seek, rate) are for the loaded file: they take the deck
    // back to it, and the queued file is gone on into at its end again.
    bool adoptNext(int deck);

    // Called (on a reader thread, or in OfflineOutput::render) when a deck's track has played
    // to its end, or has gone on into the queued file (joined() tells which), with the request
    // it belonged to. A listener replaced (or cleared) is not called once this returns; a
    // listener may call the engine.
    void setTrackEndListener(int deck, std::function<void(uint64_t generation)> listener);
    // Called on the keeper's thread when the device is lost and when one is back (a change
    // from before the listener was set is told when it is set).
    void setOutputListener(std::function<void(const OutputChange&)> listener);

    // What the audio threads were granted: Normal as soon as one of them was refused
    // real-time, else the main output's grant (NotAsked until its thread has started). UI
    // thread.
    ThreadPriority threadPriority() const;

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

    // The recording of the master, after the limiter. UI thread.
    MasterRecorder& recorder() { return recorder_; }

    static float GainOfLevel(int hundredthsOfDb);

    // The dip of the decks' mix under a voice (the jingles and the headphones are not dipped),
    // and the jingles, summed after it and before the limiter. UI thread, but for reading.
    MasterDuck& duck() { return duck_; }
    JinglePlayer& jingles() { return jingles_; }

private:
    static constexpr size_t kCommandSlots = 256;

    struct Deck {
        explicit Deck(size_t ringBlocks, int rate);
        BlockRing ring;
        DeckControls controls;
        DeckStatus status;
        DeckReader reader;
        DeckMixer mixer;
        SpscRing<ReaderCommand> commands{kCommandSlots};
        // UI thread only.
        uint64_t uiGeneration = 0;
        double requestedSeconds = 0;
        double rate = 1.0;
        double lengthSeconds = 0;
        uint64_t track = 0, nextTrack = 0, tracks = 0; // the loaded file, the queued, a count
        TrackPlan plan, nextPlan;
        double nextLength = 0;
        // Reader side only.
        uint64_t reportedEnd = 0;
        uint64_t reportedJoins = 0;
    };

    void renderOutput(float* out, int channels, int frames) noexcept override;
    void mixMain(float* stereo, int frames, bool headphones) noexcept;
    void fillAhead() override;
    void wakeReaders();

    void request(int deck, std::unique_ptr<Decoder> decoder, bool close, double seconds,
                 const TrackPlan& plan = {});
    void replan(int deck, uint64_t track, const TrackPlan& plan);
    bool readOnce(int deck); // one round of a deck's reader work
    void readerLoop(int deck);

    ThreadScheduler& scheduler_;
    ListenerSlot<const OutputChange&> outputListener_; // outlives the keepers that call it
    OutputKeeper keeper_;                              // stopped first of all, in the destructor
    const int rate_;
    const MasterBus bus_;
    MasterLimiter limiter_;
    HeadphoneBus headphones_;
    MasterDuck duck_;
    JinglePlayer jingles_;
    std::unique_ptr<OutputKeeper> phonesKeeper_; // a headphone device of its own; UI thread
    LevelMeter masterMeter_;
    MasterRecorder recorder_{rate_};
    std::array<std::unique_ptr<Deck>, kDecks> decks_;
    std::atomic<uint64_t> underruns_{0};

    std::array<ListenerSlot<uint64_t>, kDecks> trackEnded_;

    std::array<std::thread, kDecks> readers_;
    std::array<std::atomic<ThreadPriority>, kDecks> readerPriorities_;
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool quit_ = false;
};

} // namespace velmor::audio
