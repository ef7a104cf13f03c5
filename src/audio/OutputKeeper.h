#pragma once

#include "audio/ListenerSlot.h"
#include "audio/Output.h"
#include "audio/ThreadPriority.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmor::audio {

// What an output plays: the engine's mix.
class MixSource {
public:
    virtual ~MixSource() = default;
    virtual void renderOutput(float* out, int channels, int frames) noexcept = 0; // real-time safe
    virtual void fillAhead() = 0;
};

// Opens the sound card at a sample rate; nullptr (or an exception) where there is none.
using DeviceOpener = std::function<std::unique_ptr<Output>(int sampleRate)>;

// What became of the sound card, for the user to be told.
struct OutputChange {
    enum Kind { Lost, Back } kind;
    std::string deviceName;  // of the device that is back
    bool headphones = false; // the headphones' device of its own, not the main output
};

// Keeps the mix going out. When the device goes away (it says so, or it stops calling back)
// a paced silent output takes over at once, so that the decks play on where they are; with
// an opener, the keeper then looks for a device again, at the mix's own rate, and goes back
// to it. All of that happens on the keeper's own thread: opening a device is slow, and must
// stall neither the audio, nor the readers, nor the window.
//
// Only one output at a time mixes: an output that is no longer the current one, or one that
// calls back while another still mixes, gets silence.
//
// The thread that calls the mix is raised (through `scheduler`) by the keeper's thread, soon
// after its first call: the callback itself only notes which thread it is on.
class OutputKeeper {
public:
    // The keeper wakes once a second, and more often only until it has raised the thread
    // that calls the mix of a newly started output.
    static constexpr auto kTick = std::chrono::milliseconds(1000);
    static constexpr auto kRaiseTick = std::chrono::milliseconds(100);
    static constexpr auto kRetry = std::chrono::milliseconds(1000);
    static constexpr auto kStall = std::chrono::milliseconds(1000);

    // Without an output to begin with, or with one that does not start, the mix goes to
    // silence at `fallbackRate` (or the output's rate).
    OutputKeeper(MixSource& mix, std::unique_ptr<Output> output, DeviceOpener opener,
                 int fallbackRate = 48000, ThreadScheduler& scheduler = SystemScheduler());
    ~OutputKeeper();
    OutputKeeper(const OutputKeeper&) = delete;
    OutputKeeper& operator=(const OutputKeeper&) = delete;

    // The names its own thread and the thread calling the mix get, as a profile or `top -H`
    // shows them (at most 15 bytes each); before start().
    void nameThreads(const char* keeper, const char* audio) {
        threadName_ = keeper;
        audioThreadName_ = audio;
    }

    int sampleRate() const { return rate_; }
    bool rendersOnDemand() const { return onDemand_; }
    std::string name() const;
    bool silent() const; // the keeper's own silence stands in for a device
    // Buffers the device said it ran out of audio before.
    uint64_t underflows() const { return underflows_.load(std::memory_order_relaxed); }
    // Called on the keeper's thread when the device is lost or back; a change from before
    // the listener was set is told when it is set, on the setting thread. A listener replaced
    // is not called once this returns; a listener may call the keeper.
    void setListener(std::function<void(const OutputChange&)> listener);
    void start(); // the output starts calling the mix
    void stop();  // the output stops, for good

    // Plays through the device `opener` opens from now on, and asks `opener` again after a
    // loss. The mix goes on where it is; where the device cannot be opened or started, the
    // output before plays on and the opener before stays. Done on the keeper's thread (on
    // the calling one for an output that renders on demand); returns when it is done, with
    // the failure's description, or "" when the new device plays.
    std::string switchTo(DeviceOpener opener);
    // The latency the current output reports.
    double latencySeconds() const;
    // What the current output's thread was granted; NotAsked until it has called the mix.
    ThreadPriority threadPriority() const;

private:
    struct Route;

    void run();
    void watch(std::chrono::steady_clock::time_point now);
    void switchToSilence();
    void tryDevice();
    std::string openDevice(const DeviceOpener& opener);
    bool takeSwitch();
    void swapIn(std::unique_ptr<Output> output, std::unique_ptr<Route> route, bool fallback,
                bool replacedIsLost);
    void tell(const OutputChange& change);
    void raiseOutputThread();

    MixSource& mix_;
    ThreadScheduler& scheduler_;
    DeviceOpener opener_; // the keeper's thread only, once started
    const bool onDemand_;
    int rate_ = 0, bufferFrames_ = 256;
    std::atomic<bool> mixing_{false};
    std::atomic<uint64_t> underflows_{0};

    mutable std::mutex mutex_; // the current output; never taken on the audio thread
    std::unique_ptr<Output> output_;
    std::unique_ptr<Route> route_;
    bool fallback_ = false;
    std::string name_;
    ThreadPriority priority_;

    ListenerSlot<const OutputChange&> listener_;
    std::mutex untoldMutex_;
    bool listening_ = false;
    std::vector<OutputChange> untold_; // told before there was a listener

    // The keeper's thread only.
    uint64_t seenPlayed_ = 0;
    std::chrono::steady_clock::time_point lastProgress_, nextTry_;

    std::thread thread_;
    const char* threadName_ = "velmor keeper";
    const char* audioThreadName_ = "velmor audio";
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool quit_ = false;
    struct Switch {
        DeviceOpener opener;
        std::promise<std::string> done;
    };
    std::unique_ptr<Switch> switch_; // asked of the keeper's thread
};

} // namespace velmor::audio
