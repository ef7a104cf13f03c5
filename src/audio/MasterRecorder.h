#pragma once

#include "audio/RecordingSink.h"
#include "audio/SpscRing.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace velmor::audio {

// Records the master as it is heard: the audio callback hands each buffer, after the
// limiter, to a lock-free ring; a writer thread of its own takes it from there into the sink,
// and hands the sink's file to the disk about once a second. The callback never waits: when
// the ring is full (the disk stalls for ten seconds), its buffers are dropped and counted.
// A sink that fails ends the recording; the music plays on untouched.
class MasterRecorder {
public:
    static constexpr double kRingSeconds = 10; // at least; up to 21 s
    static constexpr double kSyncSeconds = 1;

    explicit MasterRecorder(int rate) : rate_(rate) {}
    ~MasterRecorder() { stop(); }
    MasterRecorder(const MasterRecorder&) = delete;
    MasterRecorder& operator=(const MasterRecorder&) = delete;

    int rate() const { return rate_; }

    // UI thread. Records from the next buffer on into `sink`, ending a recording under way.
    void start(std::unique_ptr<RecordingSink> sink);
    // Stops taking the master; what was taken is written and the file completed. Returns the
    // failure that ended the recording or its completion, "" when there was none.
    std::string stop();

    struct Status {
        bool recording = false; // taking the master: started, and neither stopped nor failed
        int64_t frames = 0;     // written to the sink
        uint64_t bytes = 0;     // the sink's size at its latest sync
        int64_t droppedFrames = 0;
        std::string failure; // why the recording ended by itself; "" when it did not
    };
    // UI thread.
    Status status() const;

    // Audio thread: the master's next `frames` interleaved stereo frames.
    void take(const float* stereo, int frames) noexcept;

private:
    void writerLoop(RecordingSink& sink);
    void fail(const std::string& why);

    const int rate_;
    std::unique_ptr<SpscRing<float>> ring_; // made at the first start, kept until the end
    std::atomic<bool> taking_{false};
    std::atomic<int64_t> dropped_{0};
    std::atomic<int64_t> written_{0};
    std::atomic<uint64_t> bytes_{0};
    std::unique_ptr<RecordingSink> sink_;
    std::thread writer_;
    mutable std::mutex mutex_; // the writer's wake-up, and failure_
    std::condition_variable wake_;
    bool quit_ = false;
    std::string failure_;
};

} // namespace velmor::audio
