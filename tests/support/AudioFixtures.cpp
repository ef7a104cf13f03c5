#include "support/AudioFixtures.h"

#include "audio/Decoder.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sndfile.h>
#include <stdexcept>

namespace velmor::test {

std::vector<float> Tone(double frequency, double seconds, int rate, float amplitude) {
    std::vector<float> out(static_cast<size_t>(std::llround(seconds * rate)));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = amplitude * static_cast<float>(std::sin(2 * M_PI * frequency * i / rate));
    return out;
}

std::vector<float> Sweep(double seconds, int rate, float amplitude) {
    std::vector<float> out(static_cast<size_t>(std::llround(seconds * rate)));
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        phase += 2 * M_PI * (200 + 300 * std::fmod(t, 1.0) + 50 * t) / rate;
        out[i] = amplitude * static_cast<float>(std::sin(phase));
    }
    return out;
}

std::vector<float> Stereo(const std::vector<float>& mono) {
    std::vector<float> out(2 * mono.size());
    for (size_t i = 0; i < mono.size(); ++i)
        out[2 * i] = out[2 * i + 1] = mono[i];
    return out;
}

void WriteWav(const std::string& path, const std::vector<float>& samples, int rate, int channels) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw std::runtime_error("cannot write " + path);
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size() / channels));
    sf_close(file);
}

void EncodeMp3(const std::string& wav, const std::string& mp3, const std::string& options) {
    const std::string command = "lame --quiet " + options + " '" + wav + "' '" + mp3 + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("lame failed: " + command);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<float> DecodeAll(const std::string& path) {
    auto decoder = audio::OpenDecoder(path);
    std::vector<float> out(static_cast<size_t>(2 * decoder->lengthFrames()));
    out.resize(static_cast<size_t>(2 * decoder->read(out.data(), decoder->lengthFrames())));
    return out;
}

void KeepSoundPluginsLoaded() {
    for (const char* folder : {"/usr/lib/x86_64-linux-gnu/alsa-lib",
                               "/usr/lib/aarch64-linux-gnu/alsa-lib", "/usr/lib/alsa-lib"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.path().extension() == ".so")
                dlopen(entry.path().c_str(), RTLD_LAZY | RTLD_NODELETE);
    }
}

double RmsDb(const std::vector<float>& stereo, long from, long to) {
    double sum = 0;
    for (long i = from; i < to; ++i)
        sum += static_cast<double>(stereo[2 * i]) * stereo[2 * i];
    return 10 * std::log10(sum / static_cast<double>(to - from));
}

// Rising zero crossings, placed between samples, counted over the stretch.
double Frequency(const std::vector<float>& stereo, long from, long to, int rate) {
    double first = -1, last = -1;
    long crossings = 0;
    for (long i = from + 1; i < to; ++i) {
        const float a = stereo[2 * (i - 1)], b = stereo[2 * i];
        if (a < 0 && b >= 0) {
            const double at = static_cast<double>(i - 1) + a / (a - b);
            if (first < 0)
                first = at;
            else
                ++crossings;
            last = at;
        }
    }
    return crossings > 0 ? crossings * rate / (last - first) : 0;
}

long FirstSoundingFrame(const std::vector<float>& stereo, long from) {
    for (long i = from; i < static_cast<long>(stereo.size() / 2); ++i)
        if (stereo[2 * i] != 0 || stereo[2 * i + 1] != 0)
            return i;
    return -1;
}

long LastSoundingFrame(const std::vector<float>& stereo) {
    for (long i = static_cast<long>(stereo.size() / 2) - 1; i >= 0; --i)
        if (std::abs(stereo[2 * i]) > 1e-3f || std::abs(stereo[2 * i + 1]) > 1e-3f)
            return i;
    return -1;
}

long LongestSilentRun(const std::vector<float>& stereo, long from, long to) {
    long longest = 0;
    for (long i = from, run = 0; i < to; ++i) {
        run = stereo[2 * i] == 0 && stereo[2 * i + 1] == 0 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

float LargestStep(const std::vector<float>& stereo, long from, long to) {
    float largest = 0;
    for (long i = from + 1; i < to; ++i)
        largest = std::max(largest, std::abs(stereo[2 * i] - stereo[2 * (i - 1)]));
    return largest;
}

float PeakOf(const std::vector<float>& stereo) {
    return std::accumulate(stereo.begin(), stereo.end(), 0.0f, [](float peak, float sample) {
        return std::max(peak, std::abs(sample));
    });
}

double ToneDb(const std::vector<float>& stereo, long from, long to, double frequency, int rate) {
    std::complex<double> sum = 0;
    const std::complex<double> turn = std::polar(1.0, -2 * M_PI * frequency / rate);
    std::complex<double> phasor = 1;
    for (long i = from; i < to; ++i, phasor *= turn)
        sum += static_cast<double>(stereo[2 * i]) * phasor;
    return 20 * std::log10(std::max(2 * std::abs(sum) / static_cast<double>(to - from), 1e-12));
}

double DistortionBelowTonesDb(const std::vector<float>& stereo, long from, long to, int rate,
                              const std::vector<double>& tones, double spacing, double highest) {
    double quietestTone = 0, loudestOther = -240;
    for (double tone : tones)
        quietestTone = std::min(quietestTone, ToneDb(stereo, from, to, tone, rate));
    for (double f = spacing; f <= highest; f += spacing)
        if (std::none_of(tones.begin(), tones.end(), [f](double t) { return std::abs(t - f) < 1; }))
            loudestOther = std::max(loudestOther, ToneDb(stereo, from, to, f, rate));
    return quietestTone - loudestOther;
}

} // namespace velmor::test
