#include "audio/OutputKeeper.h"

#include "audio/NullOutput.h"

#include <algorithm>
#include <pthread.h>

namespace velmor::audio {

// How one output reaches the mix. A route that is no longer live, or that finds another
// output mixing, gives silence: the mixer and the rings it drains have one reader at a time.
struct OutputKeeper::Route : OutputCallback {
    explicit Route(OutputKeeper& keeper) : keeper(keeper) {}

    void renderOutput(float* out, int channels, int frames) noexcept override {
        if (!threadKnown.load(std::memory_order_relaxed)) { // no system call: a register read
            thread = pthread_self();
            threadKnown.store(true, std::memory_order_release);
        }
        played.fetch_add(static_cast<uint64_t>(frames), std::memory_order_relaxed);
        if (!live.load(std::memory_order_acquire) ||
            keeper.mixing_.exchange(true, std::memory_order_acquire)) {
            std::fill(out, out + channels * frames, 0.0f);
            return;
        }
        keeper.mix_.renderOutput(out, channels, frames);
        keeper.mixing_.store(false, std::memory_order_release);
    }
    void fillAhead() override { keeper.mix_.fillAhead(); }
    void outputLost() noexcept override { lost.store(true, std::memory_order_release); }
    void outputUnderflowed() noexcept override {
        if (live.load(std::memory_order_relaxed))
            keeper.underflows_.fetch_add(1, std::memory_order_relaxed);
    }

    OutputKeeper& keeper;
    std::atomic<bool> live{true}, lost{false};
    std::atomic<uint64_t> played{0}; // frames asked for
    pthread_t thread{};              // the thread calling back, once threadKnown
    std::atomic<bool> threadKnown{false};
    bool raised = false; // the keeper's thread only
};

OutputKeeper::OutputKeeper(MixSource& mix, std::unique_ptr<Output> output, DeviceOpener opener,
                           int fallbackRate, ThreadScheduler& scheduler)
    : mix_(mix), scheduler_(scheduler), opener_(std::move(opener)),
      onDemand_(output && output->rendersOnDemand()),
      rate_(output ? output->sampleRate() : fallbackRate),
      bufferFrames_(output ? output->bufferFrames() : 256), output_(std::move(output)) {}

OutputKeeper::~OutputKeeper() {
    stop();
}

std::string OutputKeeper::name() const {
    std::lock_guard lock(mutex_);
    return name_;
}

bool OutputKeeper::silent() const {
    std::lock_guard lock(mutex_);
    return fallback_;
}

double OutputKeeper::latencySeconds() const {
    std::lock_guard lock(mutex_);
    return output_ ? output_->latencySeconds() : 0;
}

ThreadPriority OutputKeeper::threadPriority() const {
    std::lock_guard lock(mutex_);
    return priority_;
}

// The current output's thread lives at least until the output is stopped, which happens on
// this thread (or once it has ended).
void OutputKeeper::raiseOutputThread() {
    Route& route = *route_;
    if (route.raised || !route.threadKnown.load(std::memory_order_acquire))
        return;
    route.raised = true;
    pthread_setname_np(route.thread, audioThreadName_);
    ThreadPriority granted = scheduler_.raise(route.thread, AudioThread::Output);
    for (const pid_t carrier : output_->carrierThreads())
        if (scheduler_.raiseTask(carrier, AudioThread::Output).kind == ThreadPriority::Normal)
            granted = {ThreadPriority::Normal, 0};
    std::lock_guard lock(mutex_);
    priority_ = granted;
}

void OutputKeeper::start() {
    std::unique_ptr<Output> output = std::move(output_);
    if (output) {
        auto route = std::make_unique<Route>(*this);
        try {
            output->start(*route);
            swapIn(std::move(output), std::move(route), false, false);
        } catch (const std::exception&) {
            // A device that opened but does not start is no better than none.
        }
    }
    if (!output_) {
        auto route = std::make_unique<Route>(*this);
        auto silence = std::make_unique<NullOutput>(rate_, bufferFrames_);
        silence->start(*route);
        swapIn(std::move(silence), std::move(route), true, false);
    }
    if (!onDemand_)
        thread_ = std::thread([this] { run(); });
}

void OutputKeeper::stop() {
    {
        std::lock_guard lock(wakeMutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    if (switch_) // asked just as the keeper stopped
        switch_->done.set_value("the audio output has stopped");
    if (output_ && route_)
        output_->stop();
    std::unique_ptr<Output> output;
    std::unique_ptr<Route> route;
    {
        std::lock_guard lock(mutex_);
        output = std::move(output_);
        route = std::move(route_);
    }
    output.reset(); // a device is closed with no lock held
}

void OutputKeeper::setListener(std::function<void(const OutputChange&)> listener) {
    const bool listening = static_cast<bool>(listener);
    listener_.set(std::move(listener));
    std::vector<OutputChange> untold;
    {
        std::lock_guard lock(untoldMutex_);
        listening_ = listening;
        if (listening)
            std::swap(untold, untold_);
    }
    for (const OutputChange& change : untold)
        listener_.call(change);
}

void OutputKeeper::tell(const OutputChange& change) {
    {
        std::lock_guard lock(untoldMutex_);
        if (!listening_) {
            untold_.push_back(change);
            return;
        }
    }
    listener_.call(change);
}

// Puts in a started output and its route; the one they replace is stopped (aborted, when
// it is a device that went away) and closed.
void OutputKeeper::swapIn(std::unique_ptr<Output> output, std::unique_ptr<Route> route,
                          bool fallback, bool replacedIsLost) {
    const std::string name = output->name();
    {
        std::lock_guard lock(mutex_);
        std::swap(output_, output);
        std::swap(route_, route);
        fallback_ = fallback;
        name_ = name;
        if (!fallback)
            bufferFrames_ = output_->bufferFrames(); // the silence stands in at the same pace
    }
    if (output && replacedIsLost)
        output->abort(); // may take long still: meanwhile the new output plays
    else if (output)
        output->stop();
}

void OutputKeeper::run() {
    pthread_setname_np(pthread_self(), threadName_);
    lastProgress_ = nextTry_ = std::chrono::steady_clock::now();
    for (;;) {
        {
            std::unique_lock lock(wakeMutex_);
            const auto tick = route_ && route_->raised ? kTick : kRaiseTick;
            wake_.wait_for(lock, tick, [this] { return quit_ || switch_; });
            if (quit_)
                return;
        }
        if (takeSwitch())
            continue;
        raiseOutputThread();
        const auto now = std::chrono::steady_clock::now();
        if (!fallback_)
            watch(now);
        else if (opener_ && now >= nextTry_) {
            tryDevice();
            nextTry_ = std::chrono::steady_clock::now() + kRetry;
        }
    }
}

std::string OutputKeeper::switchTo(DeviceOpener opener) {
    if (onDemand_ || !thread_.joinable()) {
        std::string error = openDevice(opener);
        if (error.empty())
            opener_ = std::move(opener);
        return error;
    }
    auto request = std::make_unique<Switch>();
    request->opener = std::move(opener);
    std::future<std::string> done = request->done.get_future();
    {
        std::lock_guard lock(wakeMutex_);
        switch_ = std::move(request);
    }
    wake_.notify_all();
    return done.get();
}

bool OutputKeeper::takeSwitch() {
    std::unique_ptr<Switch> request;
    {
        std::lock_guard lock(wakeMutex_);
        request = std::move(switch_);
    }
    if (!request)
        return false;
    std::string error = openDevice(request->opener);
    if (error.empty())
        opener_ = std::move(request->opener);
    request->done.set_value(error);
    return true;
}

// A device is gone when it says so, or when it no longer calls back although it runs (a
// stream whose device vanished under it without an error). Only a device that has played a
// second counts as running: a sound server may hold a new stream for a second or more after
// taking its first buffers.
void OutputKeeper::watch(std::chrono::steady_clock::time_point now) {
    const uint64_t played = route_->played.load(std::memory_order_relaxed);
    if (played != seenPlayed_) {
        seenPlayed_ = played;
        lastProgress_ = now;
    }
    const bool running = played >= static_cast<uint64_t>(rate_);
    if (route_->lost.load(std::memory_order_acquire) || (running && now - lastProgress_ > kStall))
        switchToSilence();
}

void OutputKeeper::switchToSilence() {
    route_->live.store(false, std::memory_order_release);
    auto route = std::make_unique<Route>(*this);
    auto silence = std::make_unique<NullOutput>(rate_, bufferFrames_);
    silence->start(*route);
    tell({OutputChange::Lost, {}});
    swapIn(std::move(silence), std::move(route), true, true);
    nextTry_ = std::chrono::steady_clock::now();
}

void OutputKeeper::tryDevice() {
    const bool wasSilent = fallback_;
    if (openDevice(opener_).empty() && wasSilent)
        tell({OutputChange::Back, name()});
}

// Opens a device and puts it in: the output before gives way only once the new one opened.
std::string OutputKeeper::openDevice(const DeviceOpener& opener) {
    std::unique_ptr<Output> device;
    try {
        device = opener(rate_);
    } catch (const std::exception& failure) {
        return failure.what();
    }
    if (!device)
        return "the audio device could not be opened";
    // The rings hold audio rendered at the mix's rate: a device at another rate cannot play it.
    if (device->sampleRate() != rate_)
        return "the audio device does not play at " + std::to_string(rate_) + " Hz";
    auto route = std::make_unique<Route>(*this);
    route_->live.store(false, std::memory_order_release); // the output before gives way
    try {
        device->start(*route);
    } catch (const std::exception& failure) {
        route_->live.store(true, std::memory_order_release);
        return failure.what();
    }
    seenPlayed_ = 0;
    lastProgress_ = std::chrono::steady_clock::now();
    swapIn(std::move(device), std::move(route), false, false);
    return {};
}

} // namespace velmor::audio
