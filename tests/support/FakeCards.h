#pragma once

#include "audio/OutputKeeper.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmor::test {

// What a fake sound card played, and what the test makes it do.
struct CardState {
    std::atomic<long> frames{0};
    std::atomic<float> lastSample{0};                      // left channel of the latest frame
    std::atomic<bool> stalled{false};                      // stops calling back, without a word
    std::atomic<int> underflows{0};                        // to report with the next buffers
    std::atomic<audio::OutputCallback*> callback{nullptr}; // while the card runs
    pid_t carrier = 0; // a thread said to carry the card's audio on (0: none)
};

// A sound card for tests: calls back in real time on a thread of its own, 256 frames at a
// time, and can be made to go away as real ones do.
class FakeCard : public audio::Output {
public:
    FakeCard(int rate, std::string name, std::shared_ptr<CardState> state);
    ~FakeCard() override { stop(); }

    int sampleRate() const override { return rate_; }
    int bufferFrames() const override { return 256; }
    std::string name() const override { return name_; }
    std::vector<pid_t> carrierThreads() const override;
    void start(audio::OutputCallback& callback) override;
    void stop() override;

private:
    const int rate_;
    const std::string name_;
    std::shared_ptr<CardState> state_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};

// Hands out fake cards ("card 1", "card 2"..., or of another prefix) while one is `available`, and
// keeps their state for the test to look at, also after the engine has closed them.
class FakeCards {
public:
    std::unique_ptr<audio::Output> open(int rate);
    audio::DeviceOpener opener() {
        return [this](int rate) { return open(rate); };
    }
    // Reports the card's loss as PortAudio does when its stream ends, and leaves it silent.
    void fail(size_t card);
    CardState& card(size_t index);
    size_t count() const;
    int lastRateAsked() const { return lastRate_; }

    std::atomic<bool> available{true};
    std::string prefix = "card";   // of the cards' names; set before the first is opened
    std::atomic<pid_t> carrier{0}; // given to the cards opened from now on

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<CardState>> cards_;
    std::atomic<int> lastRate_{0};
};

// Waits until `done`, for 30 s at most: generous, only so that a broken engine cannot hang a
// test. Returns `done`.
bool WaitFor(const std::function<bool()>& done);

} // namespace velmor::test
