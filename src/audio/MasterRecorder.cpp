#include "audio/MasterRecorder.h"

#include <bit>
#include <chrono>
#include <cmath>
#include <pthread.h>
#include <vector>

namespace velmor::audio {

namespace {
constexpr auto kWriterPoll = std::chrono::milliseconds(50);
constexpr size_t kChunkFrames = 4096; // taken from the ring and written at a time
} // namespace

void MasterRecorder::start(std::unique_ptr<RecordingSink> sink) {
    stop();
    // A power of two finds a sample's slot with a mask, not a division.
    if (!ring_)
        ring_ = std::make_unique<SpscRing<float>>(
            std::bit_ceil(2 * static_cast<size_t>(std::lround(kRingSeconds * rate_))));
    // Frames of an earlier recording's last buffer, taken as it was stopped.
    ring_->drop(ring_->size());
    dropped_ = 0;
    written_ = 0;
    bytes_ = 0;
    {
        std::lock_guard lock(mutex_);
        quit_ = false;
        failure_.clear();
    }
    sink_ = std::move(sink);
    writer_ = std::thread([this, &sink = *sink_] { writerLoop(sink); });
    taking_.store(true, std::memory_order_release);
}

std::string MasterRecorder::stop() {
    taking_.store(false, std::memory_order_release);
    if (!writer_.joinable())
        return {};
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    writer_.join();
    sink_.reset();
    std::lock_guard lock(mutex_);
    return failure_;
}

MasterRecorder::Status MasterRecorder::status() const {
    Status status;
    status.recording = taking_.load(std::memory_order_acquire);
    status.frames = written_.load(std::memory_order_relaxed);
    status.bytes = bytes_.load(std::memory_order_relaxed);
    status.droppedFrames = dropped_.load(std::memory_order_relaxed);
    std::lock_guard lock(mutex_);
    status.failure = failure_;
    return status;
}

void MasterRecorder::take(const float* stereo, int frames) noexcept {
    if (!taking_.load(std::memory_order_acquire))
        return;
    const auto samples = 2 * static_cast<size_t>(frames);
    // A buffer goes in whole or not at all, so that the channels stay in their places.
    if (ring_->capacity() - ring_->size() < samples) {
        dropped_.fetch_add(frames, std::memory_order_relaxed);
        return;
    }
    ring_->pushSome(samples, [stereo](float& slot, size_t i) { slot = stereo[i]; });
}

void MasterRecorder::fail(const std::string& why) {
    taking_.store(false, std::memory_order_release);
    std::lock_guard lock(mutex_);
    failure_ = why.empty() ? "the recording could not be written" : why;
}

void MasterRecorder::writerLoop(RecordingSink& sink) {
    pthread_setname_np(pthread_self(), "velmor recorder");
    std::vector<float> chunk(2 * kChunkFrames);
    int64_t unsynced = 0;
    const auto syncFrames = static_cast<int64_t>(kSyncSeconds * rate_);
    const auto end = [&](bool failed) {
        if (failed)
            fail(sink.error());
        // What was written stays readable, also after a failure.
        if (!sink.finish() && !failed)
            fail(sink.error());
        bytes_.store(sink.bytes(), std::memory_order_relaxed);
    };
    for (;;) {
        bool quitting = false;
        {
            std::unique_lock lock(mutex_);
            wake_.wait_for(lock, kWriterPoll, [this] { return quit_; });
            quitting = quit_;
        }
        // Everything taken before the stop is written.
        for (;;) {
            const size_t samples =
                ring_->popSome(chunk.size(), [&](float x, size_t i) { chunk[i] = x; });
            if (samples == 0)
                break;
            const auto frames = static_cast<int64_t>(samples / 2);
            if (!sink.write(chunk.data(), frames))
                return end(true);
            written_.fetch_add(frames, std::memory_order_relaxed);
            unsynced += frames;
        }
        if (unsynced >= syncFrames || (quitting && unsynced > 0)) {
            if (!sink.sync())
                return end(true);
            unsynced = 0;
            bytes_.store(sink.bytes(), std::memory_order_relaxed);
        }
        if (quitting)
            return end(false);
    }
}

} // namespace velmor::audio
