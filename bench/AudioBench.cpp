// The audio engine's speed, memory and latency, each against a baseline taken in the same run.
//
//   bench_audio [data folder]       (the folder caches the encoded inputs; default ./bench-data)
//   bench_audio --render-cpu OUTPUT_RATE RATE SECONDS FILE...
//       prints the CPU seconds of rendering SECONDS of output offline, one FILE per deck at
//       RATE: the baseline of the whole program's CPU benchmark (bench/app)
//   bench_audio --track FOLDER      makes FOLDER/600s-vbr.mp3 (cached) and prints its path
//   bench_audio --limiter FOLDER    only the master limiter's CPU ratio
//   bench_audio --prelisten FOLDER  only pre-listen's CPU ratio
//   bench_audio --bridge FOLDER     only the headphone device's clock bridge's CPU ratio
//   bench_audio --jingles FOLDER    only the CPU ratio of two jingles playing over the decks
//   bench_audio --overview FOLDER   only a 10-minute track's overview against mpg123 -t
//   bench_audio --recorder FOLDER   only the master recording's CPU ratio

#include "analysis/TrackAnalysis.h"
#include "audio/Engine.h"
#include "audio/OfflineOutput.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sndfile.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace velmor;
using namespace velmor::audio;
namespace fs = std::filesystem;

namespace {

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakRssKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

// Music-like input: a few voices and a noisy beat, so that the encoder has real work.
void WriteSource(const std::string& path, double seconds) {
    const int rate = 44100;
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    std::vector<float> block(2 * rate);
    unsigned noise = 1;
    for (long second = 0; second < static_cast<long>(seconds); ++second) {
        for (int i = 0; i < rate; ++i) {
            const double t = second + static_cast<double>(i) / rate;
            noise = noise * 1664525u + 1013904223u;
            const double beat = std::exp(-std::fmod(t, 0.5) * 12) * ((noise >> 9) / 8388608.0 - 1);
            const double chord = std::sin(2 * M_PI * 220 * t) + std::sin(2 * M_PI * 277.2 * t) +
                                 std::sin(2 * M_PI * (329.6 + 20 * std::sin(t)) * t);
            block[2 * i] = static_cast<float>(0.15 * chord + 0.2 * beat);
            block[2 * i + 1] = static_cast<float>(0.15 * chord - 0.2 * beat);
        }
        sf_writef_float(file, block.data(), rate);
    }
    sf_close(file);
}

std::string Prepare(const fs::path& folder, const char* name, double seconds, const char* options) {
    const fs::path mp3 = folder / name;
    if (!fs::exists(mp3)) {
        const std::string wav = (folder / "source.wav").string();
        WriteSource(wav, seconds);
        const std::string command =
            "lame --quiet " + std::string(options) + " '" + wav + "' '" + mp3.string() + "'";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "lame failed: %s\n", command.c_str());
            std::exit(1);
        }
        fs::remove(wav);
    }
    return mp3.string();
}

// CPU of the decks rendering `seconds` of output offline, reader work included; one file a
// deck. `limited`, if given, gets the share of the buffers that the limiter turned down. With
// `prelistened` 0 or more, the headphones go to channels 3-4 and that many decks to them.
double EngineCpu(const std::vector<std::string>& files, int outputRate, double rate, double seconds,
                 Engine::MasterBus bus = Engine::MasterBus::Limited, double* limited = nullptr,
                 int prelistened = -1, const std::vector<std::string>& jingles = {}) {
    auto output = std::make_unique<OfflineOutput>(outputRate, 256, prelistened < 0 ? 2 : 4);
    OfflineOutput& driver = *output;
    Engine engine(std::move(output), {}, bus);
    if (prelistened >= 0)
        engine.routeHeadphones(HeadphoneRoute::MainChannels);
    for (int d = 0; d < static_cast<int>(files.size()) && d < Engine::kDecks; ++d) {
        engine.load(d, OpenDecoder(files[d]));
        engine.setRate(d, rate);
        engine.setPrelisten(d, d < prelistened);
        engine.play(d);
    }
    // Read whole before the clock starts, as the window's worker does at assignment; each
    // played again whenever it has ended, so that they sound throughout.
    JinglePlayer& slots = engine.jingles();
    for (int j = 0; j < static_cast<int>(jingles.size()); ++j)
        slots.setSound(j, ReadJingle(jingles[j], outputRate, 60));
    const double start = ProcessCpuSeconds();
    for (int second = 0; second < static_cast<int>(seconds); ++second) {
        for (int j = 0; j < static_cast<int>(jingles.size()); ++j)
            if (!slots.playing(j))
                slots.play(j);
        driver.render(outputRate);
    }
    const double cpu = ProcessCpuSeconds() - start;
    if (limited)
        *limited = static_cast<double>(engine.limitedBuffers()) /
                   (seconds * outputRate / driver.bufferFrames());
    return cpu;
}

double EngineCpu(const std::string& file, int outputRate, double rate, double seconds,
                 Engine::MasterBus bus = Engine::MasterBus::Limited) {
    return EngineCpu(std::vector<std::string>(Engine::kDecks, file), outputRate, rate, seconds,
                     bus);
}

// The master limiter's share: the cheapest pipeline (decoding and mixing only), whose loud
// sum keeps the limiter at work all the time, with and without it, in turns; best of five.
void LimiterCpu(const std::string& file) {
    const std::vector<std::string> files(Engine::kDecks, file);
    double limited = 1e9, clamped = 1e9, share = 0;
    for (int round = 0; round < 5; ++round) {
        clamped = std::min(clamped, EngineCpu(files, 44100, 1.0, 60, Engine::MasterBus::Clamped));
        limited =
            std::min(limited, EngineCpu(files, 44100, 1.0, 60, Engine::MasterBus::Limited, &share));
    }
    std::printf("| CPU, 4 decks x 60 s at rate 1.0, master limiter at work in %.0f %% of the "
                "buffers | %.3f s | clamped only: %.3f s | %.3f (<= 1.10) |\n",
                100 * share, limited, clamped, limited / clamped);
}

// Four decks for 60 s as LimiterCpu renders them, with the master recorded to FLAC in
// `folder` or not. Offline rendering runs far ahead of real time: after every five seconds
// the writer is waited for (asleep), so that every frame is written and nothing dropped.
double RecordingCpu(const std::vector<std::string>& files, const fs::path& folder, int outputRate,
                    bool record) {
    auto output = std::make_unique<OfflineOutput>(outputRate, 256);
    OfflineOutput& driver = *output;
    Engine engine(std::move(output));
    for (int d = 0; d < Engine::kDecks; ++d) {
        engine.load(d, OpenDecoder(files[d]));
        engine.play(d);
    }
    const fs::path file = folder / "bench-recording.flac";
    const double start = ProcessCpuSeconds();
    if (record)
        engine.recorder().start(OpenFlacRecording(file.string(), outputRate));
    for (int second = 5; second <= 60; second += 5) {
        driver.render(5 * outputRate);
        while (record && engine.recorder().status().frames < int64_t{second} * outputRate)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (record && !engine.recorder().stop().empty())
        std::fprintf(stderr, "the recording failed\n");
    const double cpu = ProcessCpuSeconds() - start;
    fs::remove(file);
    return cpu;
}

// The recorder's share, in turns with the decks alone; best of five. Into 44.1 kHz the decks
// only decode (the recorder's dearest share); into 48 kHz they are resampled as well, as on
// most desktops.
void RecorderCpu(const std::string& file, const fs::path& folder) {
    const std::vector<std::string> files(Engine::kDecks, file);
    for (int outputRate : {44100, 48000}) {
        double on = 1e9, off = 1e9;
        for (int round = 0; round < 5; ++round) {
            off = std::min(off, RecordingCpu(files, folder, outputRate, false));
            on = std::min(on, RecordingCpu(files, folder, outputRate, true));
        }
        std::printf("| CPU, 4 decks x 60 s at rate 1.0 into %.1f kHz, the master recorded to "
                    "FLAC | %.3f s | not recorded: %.3f s | %.3f (<= 1.15) |\n",
                    outputRate / 1000.0, on, off, on / off);
    }
}

// Pre-listen's share: the same cheapest pipeline with the headphones on channels 3-4, two of
// the four decks in them against none, in turns; best of five.
void PrelistenCpu(const std::string& file) {
    const std::vector<std::string> files(Engine::kDecks, file);
    double on = 1e9, off = 1e9;
    for (int round = 0; round < 5; ++round) {
        off =
            std::min(off, EngineCpu(files, 44100, 1.0, 60, Engine::MasterBus::Limited, nullptr, 0));
        on = std::min(on, EngineCpu(files, 44100, 1.0, 60, Engine::MasterBus::Limited, nullptr, 2));
    }
    std::printf("| CPU, 4 decks x 60 s at rate 1.0, headphones on channels 3-4, two decks "
                "pre-listened | %.3f s | none pre-listened: %.3f s | %.3f (<= 1.15) |\n",
                on, off, on / off);
}

// Two jingles sounding over the four decks throughout (each played again at its end), against
// the four decks alone, in turns; best of five. The recording of the master, when there is
// one, belongs in this run too: the evening's whole load against the decks alone.
void JinglesCpu(const std::string& file, const std::string& jingle) {
    const std::vector<std::string> files(Engine::kDecks, file);
    double with = 1e9, without = 1e9;
    for (int round = 0; round < 5; ++round) {
        without = std::min(without, EngineCpu(files, 44100, 1.0, 60));
        with = std::min(with, EngineCpu(files, 44100, 1.0, 60, Engine::MasterBus::Limited, nullptr,
                                        -1, {jingle, jingle}));
    }
    std::printf("| CPU, 4 decks x 60 s at rate 1.0, two jingles over them | %.3f s | the decks "
                "alone: %.3f s | %.3f (<= 1.15) |\n",
                with, without, with / without);
}

// The headphones with two decks pre-listened, at 44.1 kHz for 60 s, buffer by buffer: on a
// device of their own (offline, taking turns with the main output, so that the clock
// bridge's loop and interpolator do their work as with two cards), or on channels 3-4.
double HeadphonesCpu(const std::vector<std::string>& files, bool ownDevice) {
    static constexpr int kRate = 44100, kBuffer = 256;
    auto output = std::make_unique<OfflineOutput>(kRate, kBuffer, ownDevice ? 2 : 4);
    OfflineOutput& driver = *output;
    Engine engine(std::move(output));
    OfflineOutput* phones = nullptr;
    const DeviceOpener opener = [&phones](int rate) -> std::unique_ptr<Output> {
        auto device = std::make_unique<OfflineOutput>(rate, kBuffer, 2);
        phones = device.get();
        return device;
    };
    const auto route = ownDevice ? HeadphoneRoute::SecondDevice : HeadphoneRoute::MainChannels;
    if (!engine.routeHeadphones(route, opener).empty()) {
        std::fprintf(stderr, "the headphone device did not open\n");
        std::exit(1);
    }
    for (int d = 0; d < Engine::kDecks; ++d) {
        engine.load(d, OpenDecoder(files[d]));
        engine.setPrelisten(d, d < 2);
        engine.play(d);
    }
    const double start = ProcessCpuSeconds();
    for (long frame = 0; frame < 60L * kRate; frame += kBuffer) {
        driver.render(kBuffer);
        if (phones)
            phones->render(kBuffer);
    }
    const double cpu = ProcessCpuSeconds() - start;
    if (ownDevice && engine.headphoneUnderruns() != 0)
        std::fprintf(stderr, "the headphone device ran dry\n");
    return cpu;
}

// The clock bridge's share: headphones on a device of their own against channels 3-4, in
// turns; best of five.
void BridgeCpu(const std::string& file) {
    const std::vector<std::string> files(Engine::kDecks, file);
    double own = 1e9, channels = 1e9;
    for (int round = 0; round < 5; ++round) {
        channels = std::min(channels, HeadphonesCpu(files, false));
        own = std::min(own, HeadphonesCpu(files, true));
    }
    std::printf("| CPU, 4 decks x 60 s at rate 1.0, two pre-listened, headphones on a device of "
                "their own (clock bridge) | %.3f s | on channels 3-4: %.3f s | %.3f (<= 1.10) |\n",
                own, channels, own / channels);
}

double Mpg123Cpu(const std::string& file, int times = Engine::kDecks) {
    const double start = ChildrenCpuSeconds();
    for (int d = 0; d < times; ++d)
        if (std::system(("mpg123 -q -t '" + file + "'").c_str()) != 0)
            std::fprintf(stderr, "mpg123 -t failed\n");
    return ChildrenCpuSeconds() - start;
}

// A track's overview as the window works it out when a file opens (its own decoder, the
// peaks of 2048 stretches), against mpg123 decoding the same file; best of three each.
void OverviewCpu(const std::string& file) {
    double overview = 1e9, wall = 1e9, decode = 1e9;
    for (int round = 0; round < 3; ++round) {
        decode = std::min(decode, Mpg123Cpu(file, 1));
        const double cpu = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const std::atomic<bool> going{false};
        auto decoder = OpenDecoder(file);
        const TrackPeaks peaks = ScanPeaks(*decoder, 2048, going);
        overview = std::min(overview, ProcessCpuSeconds() - cpu);
        wall = std::min(
            wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (peaks.framesRead != decoder->lengthFrames())
            std::fprintf(stderr, "the overview did not read the whole track\n");
    }
    std::printf("| Overview of a 10-minute 320 kbps MP3 (wall %.2f s, target < 1 s) | %.2f s | "
                "mpg123 -t: %.2f s | %.2f (<= 1.3) |\n",
                wall, overview, decode, overview / decode);
}

// Run in a process of its own, so that its peak is the engine's and nothing else's.
int MemoryChild(const std::string& file) {
    const long before = PeakRssKb();
    {
        auto output = std::make_unique<OfflineOutput>(48000, 256);
        OfflineOutput& driver = *output;
        Engine engine(std::move(output));
        for (int d = 0; d < Engine::kDecks; ++d) {
            engine.load(d, OpenDecoder(file));
            engine.setRate(d, 1.5);
            engine.seek(d, 100.0 * d);
            engine.play(d);
        }
        for (int second = 0; second < 30; ++second)
            driver.render(48000);
    }
    std::printf("%ld %ld\n", before, PeakRssKb());
    return 0;
}

// Frames from a command to its first effect, on a deck playing a constant level.
void Latency(const fs::path& folder) {
    const std::string path = (folder / "constant.wav").string();
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    std::vector<float> constant(48000 * 5, 0.5f);
    sf_writef_float(file, constant.data(), static_cast<sf_count_t>(constant.size()));
    sf_close(file);

    auto output = std::make_unique<OfflineOutput>(48000, 256);
    OfflineOutput& driver = *output;
    Engine engine(std::move(output));
    engine.load(0, OpenDecoder(path));
    driver.render(4800);
    engine.play(0);
    long toSound = -1;
    for (long frame = 0; toSound < 0 && frame < 48000; frame += 256) {
        const auto out = driver.render(256);
        for (int i = 0; i < 256 && toSound < 0; ++i)
            if (out[2 * i] != 0)
                toSound = frame + i;
    }
    driver.render(4800);
    engine.setLevel(0, -600);
    long toRamp = -1;
    for (long frame = 0; toRamp < 0 && frame < 48000; frame += 256) {
        const auto out = driver.render(256);
        for (int i = 0; i < 256 && toRamp < 0; ++i)
            if (out[2 * i] < 0.5f)
                toRamp = frame + i;
    }
    std::printf("| Play to first sounding frame | %ld frames | one buffer, 256 frames | %.2f |\n",
                toSound, toSound / 256.0);
    std::printf("| Level change to ramp start | %ld frames | one buffer, 256 frames | %.2f |\n",
                toRamp, toRamp / 256.0);
}

double Milliseconds(const std::function<void()>& work) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - start)
                                  .count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--memory-child")
        return MemoryChild(argv[2]);
    if (argc >= 6 && std::string(argv[1]) == "--render-cpu") {
        const std::vector<std::string> files(argv + 5, argv + argc);
        std::printf("%.3f\n",
                    EngineCpu(files, std::atoi(argv[2]), std::atof(argv[3]), std::atof(argv[4])));
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--track") {
        fs::create_directories(argv[2]);
        std::printf("%s\n", Prepare(argv[2], "600s-vbr.mp3", 600, "-V 2").c_str());
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--overview") {
        fs::create_directories(argv[2]);
        OverviewCpu(Prepare(argv[2], "600s-320k.mp3", 600, "-b 320"));
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--limiter") {
        fs::create_directories(argv[2]);
        LimiterCpu(Prepare(argv[2], "120s-320k.mp3", 120, "-b 320"));
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--prelisten") {
        fs::create_directories(argv[2]);
        PrelistenCpu(Prepare(argv[2], "120s-320k.mp3", 120, "-b 320"));
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--recorder") {
        fs::create_directories(argv[2]);
        RecorderCpu(Prepare(argv[2], "120s-320k.mp3", 120, "-b 320"), argv[2]);
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--jingles") {
        fs::create_directories(argv[2]);
        JinglesCpu(Prepare(argv[2], "120s-320k.mp3", 120, "-b 320"),
                   Prepare(argv[2], "20s-jingle.mp3", 20, "-b 192"));
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--bridge") {
        fs::create_directories(argv[2]);
        BridgeCpu(Prepare(argv[2], "120s-320k.mp3", 120, "-b 320"));
        return 0;
    }
    const fs::path folder = argc > 1 ? argv[1] : "bench-data";
    fs::create_directories(folder);
    std::printf("Preparing inputs in %s (cached)...\n", folder.c_str());
    const std::string cbr = Prepare(folder, "120s-320k.mp3", 120, "-b 320");
    const std::string vbr = Prepare(folder, "600s-vbr.mp3", 600, "-V 2");
    const std::string noXing = Prepare(folder, "600s-vbr-no-xing.mp3", 600, "-t -V 2");

    std::printf("\n| Measure | Velmor | Baseline | Ratio (target) |\n|---|---|---|---|\n");
    const double baseline = Mpg123Cpu(cbr);
    const double fast = EngineCpu(cbr, 48000, 2.0, 60);
    std::printf("| CPU, 4 decks x 60 s at rate 2.0, 44.1 -> 48 kHz | %.2f s | mpg123 -t: %.2f s | "
                "%.2f (<= 3.0) |\n",
                fast, baseline, fast / baseline);
    const double plain = EngineCpu(cbr, 44100, 1.0, 120);
    std::printf("| CPU, 4 decks x 120 s at rate 1.0, no resampling | %.2f s | mpg123 -t: %.2f s | "
                "%.2f (<= 1.2) |\n",
                plain, baseline, plain / baseline);
    LimiterCpu(cbr);
    PrelistenCpu(cbr);
    BridgeCpu(cbr);
    RecorderCpu(cbr, folder);
    JinglesCpu(cbr, Prepare(folder, "20s-jingle.mp3", 20, "-b 192"));
    OverviewCpu(Prepare(folder, "600s-320k.mp3", 600, "-b 320"));

    const std::string command =
        "'" + fs::read_symlink("/proc/self/exe").string() + "' --memory-child '" + vbr + "'";
    long before = 0, peak = 0;
    if (FILE* child = popen(command.c_str(), "r")) {
        if (std::fscanf(child, "%ld %ld", &before, &peak) != 2)
            std::fprintf(stderr, "memory child failed\n");
        pclose(child);
    }
    std::printf("| Peak memory, 4 decks of 10-minute MP3 | engine %.1f MB, process %.1f MB | "
                "process before the engine: %.1f MB | %.2f of 40 MB |\n",
                (peak - before) / 1024.0, peak / 1024.0, before / 1024.0,
                (peak - before) / 1024.0 / 40.0);

    Latency(folder);

    const double open = Milliseconds([&] { OpenDecoder(noXing); });
    const double read = Milliseconds([&] {
        std::ifstream in(noXing, std::ios::binary);
        std::vector<char> all(fs::file_size(noXing));
        in.read(all.data(), static_cast<std::streamsize>(all.size()));
    });
    std::printf("| Opening a 10-minute VBR MP3 without Xing header (full scan) | %.1f ms | "
                "reading its bytes: %.1f ms | %.2f of 30 ms |\n",
                open, read, open / 30.0);
    // With its tag, the length is the tag's once the file is seen to be as long as it says.
    const double tagged = Milliseconds([&] { OpenDecoder(vbr); });
    std::printf("| Opening a 10-minute VBR MP3 with its LAME tag | %.2f ms | "
                "without the tag: %.1f ms | %.2f of 30 ms |\n",
                tagged, open, tagged / 30.0);
    return 0;
}
