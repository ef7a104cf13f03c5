#include "support/FakeCards.h"

#include <chrono>

namespace velmor::test {

FakeCard::FakeCard(int rate, std::string name, std::shared_ptr<CardState> state)
    : rate_(rate), name_(std::move(name)), state_(std::move(state)) {}

void FakeCard::start(audio::OutputCallback& callback) {
    stop();
    running_ = true;
    state_->callback = &callback;
    thread_ = std::thread([this, &callback] {
        std::vector<float> buffer(2 * 256);
        const auto period = std::chrono::microseconds(256 * 1000000L / rate_);
        for (auto next = std::chrono::steady_clock::now(); running_;
             std::this_thread::sleep_until(next += period)) {
            if (state_->stalled)
                continue;
            for (; state_->underflows > 0; --state_->underflows)
                callback.outputUnderflowed();
            callback.renderOutput(buffer.data(), 2, 256);
            state_->lastSample = buffer[2 * 255];
            state_->frames += 256;
        }
    });
}

std::vector<pid_t> FakeCard::carrierThreads() const {
    if (state_->carrier == 0)
        return {};
    return {state_->carrier};
}

void FakeCard::stop() {
    running_ = false;
    if (thread_.joinable())
        thread_.join();
    state_->callback = nullptr;
}

std::unique_ptr<audio::Output> FakeCards::open(int rate) {
    lastRate_ = rate;
    if (!available)
        return nullptr;
    std::lock_guard lock(mutex_);
    cards_.push_back(std::make_shared<CardState>());
    cards_.back()->carrier = carrier;
    return std::make_unique<FakeCard>(rate, prefix + " " + std::to_string(cards_.size()),
                                      cards_.back());
}

void FakeCards::fail(size_t index) {
    CardState& state = card(index);
    state.stalled = true;
    if (audio::OutputCallback* callback = state.callback)
        callback->outputLost();
}

CardState& FakeCards::card(size_t index) {
    std::lock_guard lock(mutex_);
    return *cards_.at(index);
}

size_t FakeCards::count() const {
    std::lock_guard lock(mutex_);
    return cards_.size();
}

bool WaitFor(const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return done();
}

} // namespace velmor::test
