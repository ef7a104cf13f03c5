#include "audio/NullOutput.h"

#include <chrono>
#include <vector>

namespace velmor::audio {

void NullOutput::start(OutputCallback& callback) {
    stop();
    running_ = true;
    thread_ = std::thread([this, &callback] {
        std::vector<float> buffer(static_cast<size_t>(2 * buffer_));
        const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(static_cast<double>(buffer_) / rate_));
        // Absolute deadlines, so that the pace does not drift with the time rendering takes.
        auto deadline = std::chrono::steady_clock::now();
        while (running_.load(std::memory_order_acquire)) {
            callback.renderOutput(buffer.data(), 2, buffer_);
            deadline += period;
            std::this_thread::sleep_until(deadline);
        }
    });
}

void NullOutput::stop() {
    running_ = false;
    if (thread_.joinable())
        thread_.join();
}

} // namespace velmor::audio
