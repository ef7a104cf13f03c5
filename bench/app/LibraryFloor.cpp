// The floor under four playing decks: what the libraries alone cost for the same sound, with
// no engine, no threads and no window. Each file is decoded by mpg123, stretched to RATE by
// SoundTouch (quick splice search, no anti-alias filter, as the decks use) and resampled by
// soxr to OUTPUT_RATE; the four are summed. Prints the CPU seconds of SECONDS of output.
//
//   bench_library_floor OUTPUT_RATE RATE SECONDS FILE...

#include "ProcessCpu.h"

#include <mpg123.h>
#include <soundtouch/SoundTouch.h>
#include <soxr.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// One file's sound at the output rate, pulled in chunks.
class Chain {
public:
    Chain(const char* path, double outputRate, double tempo)
        : handle_(mpg123_new(nullptr, nullptr)) {
        mpg123_param(handle_, MPG123_FLAGS, MPG123_FORCE_STEREO | MPG123_FORCE_FLOAT, 0.0);
        if (mpg123_open(handle_, path) != MPG123_OK)
            std::exit((std::fprintf(stderr, "cannot open %s\n", path), 1));
        long rate = 0;
        int channels = 0, encoding = 0;
        mpg123_getformat(handle_, &rate, &channels, &encoding);
        stretch_.setChannels(2);
        stretch_.setSampleRate(static_cast<unsigned>(rate));
        stretch_.setTempo(tempo);
        stretch_.setSetting(SETTING_USE_QUICKSEEK, 1);
        stretch_.setSetting(SETTING_USE_AA_FILTER, 0);
        const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
        const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
        resampler_ =
            soxr_create(static_cast<double>(rate), outputRate, 2, nullptr, &io, &quality, nullptr);
    }
    ~Chain() {
        soxr_delete(resampler_);
        mpg123_delete(handle_);
    }
    Chain(const Chain&) = delete;
    Chain& operator=(const Chain&) = delete;

    // Adds `frames` frames into `mix`.
    void addInto(float* mix, size_t frames) {
        out_.resize(2 * frames);
        size_t done = 0;
        while (done < frames) {
            if (stretchedFrames_ == 0) { // soxr reads no input as the end of the stream
                stretchMore();
                continue;
            }
            size_t got = 0;
            soxr_process(resampler_, stretched_.data(), stretchedFrames_, &used_,
                         out_.data() + 2 * done, frames - done, &got);
            shift(used_);
            done += got;
            if (got == 0)
                stretchMore();
        }
        for (size_t i = 0; i < 2 * frames; ++i)
            mix[i] += out_[i];
    }

private:
    void shift(size_t used) {
        stretched_.erase(stretched_.begin(), stretched_.begin() + static_cast<long>(2 * used));
        stretchedFrames_ -= used;
    }
    void stretchMore() {
        unsigned char* bytes = nullptr;
        size_t size = 0;
        off_t frame = 0;
        if (mpg123_decode_frame(handle_, &frame, &bytes, &size) == MPG123_OK)
            stretch_.putSamples(reinterpret_cast<float*>(bytes),
                                static_cast<unsigned>(size / (2 * sizeof(float))));
        else
            mpg123_seek(handle_, 0, SEEK_SET); // round again: the floor never runs dry
        const unsigned ready = stretch_.numSamples();
        stretched_.resize(2 * (stretchedFrames_ + ready));
        stretchedFrames_ +=
            stretch_.receiveSamples(stretched_.data() + 2 * stretchedFrames_, ready);
        stretched_.resize(2 * stretchedFrames_);
    }

    mpg123_handle* handle_;
    soundtouch::SoundTouch stretch_;
    soxr_t resampler_ = nullptr;
    std::vector<float> stretched_, out_;
    size_t stretchedFrames_ = 0, used_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: bench_library_floor OUTPUT_RATE RATE SECONDS FILE...\n");
        return 2;
    }
    const double outputRate = std::atof(argv[1]), tempo = std::atof(argv[2]);
    const double seconds = std::atof(argv[3]);
    mpg123_init();
    std::vector<std::unique_ptr<Chain>> chains;
    for (int i = 4; i < argc; ++i)
        chains.push_back(std::make_unique<Chain>(argv[i], outputRate, tempo));
    const double before = ProcessCpuSeconds();
    constexpr size_t kBuffer = 256;
    std::vector<float> mix(2 * kBuffer);
    float loudest = 0;
    for (size_t done = 0; done < static_cast<size_t>(seconds * outputRate); done += kBuffer) {
        std::fill(mix.begin(), mix.end(), 0.0f);
        for (auto& chain : chains)
            chain->addInto(mix.data(), kBuffer);
        loudest = std::max(loudest, mix[0]); // the sum is used, so it is not optimised away
    }
    const double used = ProcessCpuSeconds() - before;
    chains.clear();
    mpg123_exit();
    std::printf("%.4f\n", used);
    std::fprintf(stderr, "loudest left sample %.3f\n", loudest);
    return 0;
}
