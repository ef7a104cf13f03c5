#include "audio/OutputKeeper.h"

#include "audio/NullOutput.h"

#include <algorithm>

namespace velmor::audio {

// How one output reaches the mix. A route that is no longer live, or that finds another
// output mixing, gives silence: the mixer and the rings it drains have one reader at a time.
struct OutputKeeper::Route : OutputCallback {
    explicit Route(OutputKeeper& keeper) : keeper(keeper) {}

    void renderOutput(float* stereo, int frames) noexcept override {
        played.fetch_add(static_cast<uint64_t>(frames), std::memory_order_relaxed);
        if (!live.load(std::memory_order_acquire) ||
            keeper.mixing_.exchange(true, std::memory_order_acquire)) {
            std::fill(stereo, stereo + 2 * frames, 0.0f);
            return;
        }
        keeper.mix_.renderOutput(stereo, frames);
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
};

OutputKeeper::OutputKeeper(MixSource& mix, std::unique_ptr<Output> output, DeviceOpener opener,
                           int fallbackRate)
    : mix_(mix), opener_(std::move(opener)), onDemand_(output && output->rendersOnDemand()),
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
    if (output_ && route_)
        output_->stop();
    std::lock_guard lock(mutex_);
    output_.reset();
    route_.reset();
}

void OutputKeeper::setListener(std::function<void(const OutputChange&)> listener) {
    std::lock_guard lock(listenerMutex_);
    listener_ = std::move(listener);
    if (listener_)
        for (const OutputChange& change : untold_)
            listener_(change);
    untold_.clear();
}

void OutputKeeper::tell(const OutputChange& change) {
    std::lock_guard lock(listenerMutex_);
    if (listener_)
        listener_(change);
    else
        untold_.push_back(change);
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
    }
    if (output && replacedIsLost)
        output->abort(); // may take long still: meanwhile the new output plays
    else if (output)
        output->stop();
}

void OutputKeeper::run() {
    lastProgress_ = nextTry_ = std::chrono::steady_clock::now();
    for (;;) {
        {
            std::unique_lock lock(wakeMutex_);
            if (wake_.wait_for(lock, kTick, [this] { return quit_; }))
                return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (!fallback_)
            watch(now);
        else if (opener_ && now >= nextTry_) {
            tryDevice();
            nextTry_ = std::chrono::steady_clock::now() + kRetry;
        }
    }
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
    std::unique_ptr<Output> device;
    try {
        device = opener_(rate_);
    } catch (const std::exception&) {
        return;
    }
    // The rings hold audio rendered at the mix's rate: a device at another rate cannot play it.
    if (!device || device->sampleRate() != rate_)
        return;
    auto route = std::make_unique<Route>(*this);
    route_->live.store(false, std::memory_order_release); // the silence gives way
    try {
        device->start(*route);
    } catch (const std::exception&) {
        route_->live.store(true, std::memory_order_release);
        return;
    }
    seenPlayed_ = 0;
    lastProgress_ = std::chrono::steady_clock::now();
    const std::string name = device->name();
    swapIn(std::move(device), std::move(route), false, false);
    tell({OutputChange::Back, name});
}

} // namespace velmor::audio
