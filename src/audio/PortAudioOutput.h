#pragma once

#include "audio/Output.h"

#include <atomic>
#include <string>
#include <vector>

struct PaStreamCallbackTimeInfo;

namespace velmor::audio {

// An output device as PortAudio lists it.
struct OutputDevice {
    std::string name;
    int channels = 0; // output channels
    bool isDefault = false;
};

// An output device through PortAudio: float samples at the device's own rate (or at the rate
// asked for), in buffers of 256 frames (or the size asked for).
class PortAudioOutput : public Output {
public:
    // The device named `device` ("" for the default one) with `channels` channels (2, or 4 for
    // the headphones on channels 3-4). Throws std::runtime_error, saying what went wrong,
    // when it cannot be opened (at that rate, if one is given).
    explicit PortAudioOutput(int sampleRate = 0, const std::string& device = {}, int channels = 2,
                             int bufferFrames = 256);
    ~PortAudioOutput() override;
    PortAudioOutput(const PortAudioOutput&) = delete;
    PortAudioOutput& operator=(const PortAudioOutput&) = delete;

    int sampleRate() const override { return rate_; }
    int bufferFrames() const override { return buffer_; }
    int channels() const override { return channels_; }
    double latencySeconds() const override { return latency_; }
    std::string name() const override { return name_; }
    std::vector<pid_t> carrierThreads() const override;
    void start(OutputCallback& callback) override;
    void stop() override;
    void abort() override;

    // The devices that play, the default one first. Throws std::runtime_error when the sound
    // system does not start.
    static std::vector<OutputDevice> Devices();

private:
    static int Render(const void*, void* output, unsigned long frames,
                      const ::PaStreamCallbackTimeInfo*, unsigned long flags, void* user);
    static void Finished(void* user);

    void* stream_ = nullptr;
    int rate_ = 0;
    int buffer_ = 256;
    int channels_ = 2;
    double latency_ = 0;
    std::string name_;
    std::atomic<OutputCallback*> callback_{nullptr};
    std::atomic<bool> stopping_{false};
};

} // namespace velmor::audio
