// Plays an evening's hardest moments through the sound card, headless, for
// bench/dropouts.py to record at the sound server: one deck plays a long track throughout,
// a second changes track every few seconds, a third opens a damaged file each time, and each
// new file's overview is worked out on a worker below the decks, as the window does.
//
//   bench_dropouts SECONDS CHANGE_SECONDS BUFFER_FRAMES LONG DAMAGED TRACK...
//
// Prints "latency_ms X" once the output plays, "threads ..." with what the audio threads
// were granted, and "underruns N" at the end. Exit status 2 when no sound card opens.

#include "analysis/TrackAnalysis.h"
#include "audio/Decoder.h"
#include "audio/Engine.h"
#include "audio/PortAudioOutput.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace velmor;
using namespace velmor::audio;

namespace {

// The window's overview worker: the peaks of each new file, at nice 10.
class Overviews {
public:
    ~Overviews() { cancel(); }
    void scan(std::vector<std::string> files) {
        cancel();
        cancelled_ = false;
        worker_ = std::thread([this, files = std::move(files)] {
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
            for (const std::string& file : files)
                try {
                    auto decoder = OpenDecoder(file);
                    ScanPeaks(*decoder, 2048, cancelled_);
                } catch (const std::exception&) {
                }
        });
    }

private:
    void cancel() {
        cancelled_ = true;
        if (worker_.joinable())
            worker_.join();
    }
    std::atomic<bool> cancelled_{false};
    std::thread worker_;
};

void LoadAndPlay(Engine& engine, int deck, const std::string& file) {
    engine.load(deck, OpenDecoder(file)); // opened on the calling thread, as the window does
    engine.play(deck);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 7) {
        std::fprintf(stderr,
                     "usage: %s SECONDS CHANGE_SECONDS BUFFER_FRAMES LONG DAMAGED TRACK...\n",
                     argv[0]);
        return 1;
    }
    const double seconds = std::atof(argv[1]), change = std::atof(argv[2]);
    const int frames = std::atoi(argv[3]);
    const std::string longTrack = argv[4], damaged = argv[5];
    const std::vector<std::string> tracks(argv + 6, argv + argc);

    std::unique_ptr<Output> device;
    try {
        device = std::make_unique<PortAudioOutput>(44100, "", 2, frames);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "no sound card: %s\n", failure.what());
        return 2;
    }
    Engine engine(std::move(device));
    std::printf("latency_ms %.1f\n", engine.outputLatency() * 1000);
    std::fflush(stdout);

    Overviews overviews;
    LoadAndPlay(engine, 1, longTrack);
    overviews.scan({longTrack});
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    for (size_t round = 0;; ++round) {
        LoadAndPlay(engine, 0, tracks[round % tracks.size()]);
        LoadAndPlay(engine, 2, damaged);
        overviews.scan({tracks[round % tracks.size()], damaged});
        const auto next = start + std::chrono::duration<double>(change * (round + 1));
        if (next >= end) {
            std::this_thread::sleep_until(end);
            break;
        }
        std::this_thread::sleep_until(next);
    }
    const ThreadPriority granted = engine.threadPriority();
    std::printf("threads %s %d\n",
                granted.kind == ThreadPriority::RealTime ? "real-time"
                : granted.kind == ThreadPriority::Normal ? "normal"
                                                         : "unknown",
                granted.priority);
    std::printf("underruns %llu\n", static_cast<unsigned long long>(engine.underruns()));
    return 0;
}
