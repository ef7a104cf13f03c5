#include "audio/PortAudioOutput.h"

#include "audio/QuietSoundLibraries.h"

#include <algorithm>
#include <portaudio.h>
#include <stdexcept>

namespace velmor::audio {

namespace {

[[noreturn]] void Fail(const char* what, PaError error) {
    throw std::runtime_error(std::string(what) + ": " + Pa_GetErrorText(error));
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
        callback->renderOutput(out, static_cast<int>(frames));
    } else
        std::fill(out, out + 2 * frames, 0.0f);
    return paContinue;
}

// PortAudio finishes a running stream by itself only when the device went away.
void PortAudioOutput::Finished(void* user) {
    auto* self = static_cast<PortAudioOutput*>(user);
    if (!self->stopping_.load(std::memory_order_acquire))
        if (OutputCallback* callback = self->callback_.load(std::memory_order_acquire))
            callback->outputLost();
}

PortAudioOutput::PortAudioOutput(int sampleRate) {
    QuietSoundLibraries();
    if (const PaError error = Pa_Initialize(); error != paNoError)
        Fail("the sound system could not start", error);
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (!info) {
        Pa_Terminate();
        throw std::runtime_error("there is no audio output device");
    }
    rate_ = sampleRate > 0 ? sampleRate : static_cast<int>(info->defaultSampleRate);
    name_ = info->name;
    PaStreamParameters parameters{};
    parameters.device = device;
    parameters.channelCount = 2;
    parameters.sampleFormat = paFloat32;
    // The device's "high" latency (about 35 ms through ALSA and PulseAudio) rides out a busy
    // moment of the machine; its "low" one (about 9 ms) dropped audio on a loaded machine.
    parameters.suggestedLatency = info->defaultHighOutputLatency;
    // The stream is opened here, not in start(), so that a device that cannot be opened is
    // found at once; its callback target is set in start().
    PaStream* stream = nullptr;
    const PaError error =
        Pa_OpenStream(&stream, nullptr, &parameters, rate_, buffer_, paClipOff, Render, this);
    if (error != paNoError) {
        Pa_Terminate();
        Fail("the audio output device could not be opened", error);
    }
    stream_ = stream;
}

PortAudioOutput::~PortAudioOutput() {
    stop();
    Pa_CloseStream(static_cast<PaStream*>(stream_));
    Pa_Terminate();
}

void PortAudioOutput::start(OutputCallback& callback) {
    stop();
    callback_.store(&callback, std::memory_order_release);
    stopping_ = false;
    Pa_SetStreamFinishedCallback(static_cast<PaStream*>(stream_), Finished);
    if (const PaError error = Pa_StartStream(static_cast<PaStream*>(stream_)); error != paNoError)
        Fail("the audio output device could not start", error);
}

void PortAudioOutput::stop() {
    if (!callback_.load())
        return;
    stopping_ = true; // stopping on purpose is no loss
    Pa_StopStream(static_cast<PaStream*>(stream_));
    callback_.store(nullptr, std::memory_order_release);
}

void PortAudioOutput::abort() {
    if (!callback_.load())
        return;
    stopping_ = true;
    Pa_AbortStream(static_cast<PaStream*>(stream_));
    callback_.store(nullptr, std::memory_order_release);
}

} // namespace velmor::audio
