// The cost of sound reaching the server and nothing else: a PortAudio stream on the default
// device playing silence in 256-frame buffers. Prints the CPU seconds of the whole process
// over SECONDS, counted from one second after the stream started.
//
//   bench_bare_stream RATE SECONDS

#include "ProcessCpu.h"

#include <portaudio.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

int Silence(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
            PaStreamCallbackFlags, void*) {
    float* out = static_cast<float*>(output);
    std::fill(out, out + 2 * frames, 0.0f);
    return paContinue;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_bare_stream RATE SECONDS\n");
        return 2;
    }
    const double rate = std::atof(argv[1]);
    const double seconds = std::atof(argv[2]);
    if (Pa_Initialize() != paNoError)
        return 1;
    // As Velmor opens its stream: the default device, its high latency for 256 frames.
    PaStreamParameters parameters{};
    parameters.device = Pa_GetDefaultOutputDevice();
    const PaDeviceInfo* info = Pa_GetDeviceInfo(parameters.device);
    parameters.channelCount = 2;
    parameters.sampleFormat = paFloat32;
    parameters.suggestedLatency = info ? info->defaultHighOutputLatency : 0.1;
    PaStream* stream = nullptr;
    if (!info ||
        Pa_OpenStream(&stream, nullptr, &parameters, rate, 256, paClipOff, Silence, nullptr) !=
            paNoError ||
        Pa_StartStream(stream) != paNoError) {
        std::fprintf(stderr, "the default device does not play\n");
        Pa_Terminate();
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double before = ProcessCpuSeconds();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double used = ProcessCpuSeconds() - before;
    Pa_StopStream(stream);
    Pa_CloseStream(stream);
    Pa_Terminate();
    std::printf("%.4f\n", used);
    return 0;
}
