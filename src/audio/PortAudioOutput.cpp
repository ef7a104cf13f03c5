#include "audio/PortAudioOutput.h"

#include "audio/AlsaPcmList.h"
#include "audio/QuietSoundLibraries.h"
#include "audio/ThreadPriority.h"

#include <algorithm>
#include <mutex>
#include <portaudio.h>
#include <stdexcept>

namespace velmor::audio {

namespace {

[[noreturn]] void Fail(const std::string& what, PaError error) {
    throw std::runtime_error(what + ": " + Pa_GetErrorText(error));
}

// PortAudio is not made to be called from several threads at once; the keepers of two
// devices and the set-up window call it from three. The audio callbacks never take this.
std::mutex& PortAudioLock() {
    static std::mutex lock;
    return lock;
}

// Pa_Initialize and Pa_Terminate, paired; PortAudio counts them.
class Session {
public:
    Session() {
        QuietSoundLibraries();
        LeaveOutFfmpegPcms();
        if (const PaError error = Pa_Initialize(); error != paNoError)
            Fail("the sound system could not start", error);
    }
    ~Session() {
        if (!kept_)
            Pa_Terminate();
    }
    void keep() { kept_ = true; } // the stream's owner terminates it
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

private:
    bool kept_ = false;
};

PaDeviceIndex FindDevice(const std::string& name) {
    if (name.empty()) {
        if (const PaDeviceIndex device = Pa_GetDefaultOutputDevice(); device != paNoDevice)
            return device;
        throw std::runtime_error("there is no audio output device");
    }
    for (PaDeviceIndex device = 0; device < Pa_GetDeviceCount(); ++device) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
        if (info && info->maxOutputChannels > 0 && name == info->name)
            return device;
    }
    throw std::runtime_error("the audio output device \"" + name + "\" is not there");
}

} // namespace

int PortAudioOutput::Render(const void*, void* output, unsigned long frames,
                            const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags flags,
                            void* user) {
    auto* self = static_cast<PortAudioOutput*>(user);
    float* out = static_cast<float*>(output);
    if (OutputCallback* callback = self->callback_.load(std::memory_order_acquire)) {
        if (flags & paOutputUnderflow) // the device played out before this buffer came
            callback->outputUnderflowed();
        callback->renderOutput(out, self->channels_, static_cast<int>(frames));
    } else
        std::fill(out, out + self->channels_ * frames, 0.0f);
    return paContinue;
}

// PortAudio finishes a running stream by itself only when the device went away.
void PortAudioOutput::Finished(void* user) {
    auto* self = static_cast<PortAudioOutput*>(user);
    if (!self->stopping_.load(std::memory_order_acquire))
        if (OutputCallback* callback = self->callback_.load(std::memory_order_acquire))
            callback->outputLost();
}

PortAudioOutput::PortAudioOutput(int sampleRate, const std::string& device, int channels,
                                 int bufferFrames)
    : buffer_(bufferFrames), channels_(channels) {
    const std::lock_guard lock(PortAudioLock());
    Session session;
    const PaDeviceIndex index = FindDevice(device);
    const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
    if (!info)
        throw std::runtime_error("there is no audio output device");
    name_ = info->name;
    if (info->maxOutputChannels < channels)
        throw std::runtime_error("the audio output device \"" + name_ + "\" has " +
                                 std::to_string(info->maxOutputChannels) +
                                 " output channels, not " + std::to_string(channels));
    rate_ = sampleRate > 0 ? sampleRate : static_cast<int>(info->defaultSampleRate);
    PaStreamParameters parameters{};
    parameters.device = index;
    parameters.channelCount = channels;
    parameters.sampleFormat = paFloat32;
    // The device's "high" latency (about 35 ms through ALSA and PulseAudio) rides out a busy
    // moment of the machine with 256-frame buffers; its "low" one (about 9 ms) dropped audio
    // on a loaded machine. Smaller buffers ask for less, larger ones for more.
    parameters.suggestedLatency = info->defaultHighOutputLatency * bufferFrames / 256.0;
    // The stream is opened here, not in start(), so that a device that cannot be opened is
    // found at once; its callback target is set in start().
    PaStream* stream = nullptr;
    const PaError error =
        Pa_OpenStream(&stream, nullptr, &parameters, rate_, static_cast<unsigned long>(buffer_),
                      paClipOff, Render, this);
    if (error != paNoError)
        Fail("the audio output device \"" + name_ + "\" could not be opened", error);
    stream_ = stream;
    if (const PaStreamInfo* opened = Pa_GetStreamInfo(stream))
        latency_ = opened->outputLatency;
    session.keep();
}

PortAudioOutput::~PortAudioOutput() {
    stop();
    const std::lock_guard lock(PortAudioLock());
    Pa_CloseStream(static_cast<PaStream*>(stream_));
    Pa_Terminate();
}

void PortAudioOutput::start(OutputCallback& callback) {
    stop();
    const std::lock_guard lock(PortAudioLock());
    callback_.store(&callback, std::memory_order_release);
    stopping_ = false;
    Pa_SetStreamFinishedCallback(static_cast<PaStream*>(stream_), Finished);
    if (const PaError error = Pa_StartStream(static_cast<PaStream*>(stream_)); error != paNoError)
        Fail("the audio output device \"" + name_ + "\" could not start", error);
}

void PortAudioOutput::stop() {
    if (!callback_.load())
        return;
    stopping_ = true; // stopping on purpose is no loss
    const std::lock_guard lock(PortAudioLock());
    Pa_StopStream(static_cast<PaStream*>(stream_));
    callback_.store(nullptr, std::memory_order_release);
}

void PortAudioOutput::abort() {
    if (!callback_.load())
        return;
    stopping_ = true;
    const std::lock_guard lock(PortAudioLock());
    Pa_AbortStream(static_cast<PaStream*>(stream_));
    callback_.store(nullptr, std::memory_order_release);
}

// Through ALSA's PulseAudio plug-in (a desktop's default device, PipeWire's PulseAudio
// service too) the stream reaches the server through libpulse's thread, at normal priority:
// busy programs held it up, and the sound broke up although the callback was on time.
std::vector<pid_t> PortAudioOutput::carrierThreads() const {
    return SoundServerClientThreads();
}

std::vector<OutputDevice> PortAudioOutput::Devices() {
    const std::lock_guard lock(PortAudioLock());
    Session session;
    std::vector<OutputDevice> devices;
    const PaDeviceIndex standard = Pa_GetDefaultOutputDevice();
    for (PaDeviceIndex device = 0; device < Pa_GetDeviceCount(); ++device) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
        if (info && info->maxOutputChannels > 0)
            devices.push_back({info->name, info->maxOutputChannels, device == standard});
    }
    std::stable_partition(devices.begin(), devices.end(),
                          [](const OutputDevice& device) { return device.isDefault; });
    return devices;
}

} // namespace velmor::audio
