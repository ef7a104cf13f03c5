#include "audio/RecordingSink.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sndfile.h>
#include <stdexcept>
#include <utility>

namespace velmor::audio {

namespace {

class FlacRecording : public RecordingSink {
public:
    FlacRecording(std::string path, int rate) : path_(std::move(path)) {
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = 2;
        info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        file_ = sf_open(path_.c_str(), SFM_WRITE, &info);
        if (!file_)
            throw std::runtime_error(sf_strerror(nullptr));
        // 16 bits, at FLAC's fastest level: a recording runs all evening beside four decks,
        // and 24 bits or the higher levels cost half as much again for no difference a
        // recording of the room's sound can show.
        double fastest = 0.0;
        sf_command(file_, SFC_SET_COMPRESSION_LEVEL, &fastest, sizeof(fastest));
    }
    ~FlacRecording() override {
        if (file_)
            sf_close(file_);
    }
    FlacRecording(const FlacRecording&) = delete;
    FlacRecording& operator=(const FlacRecording&) = delete;

    bool write(const float* stereo, int64_t frames) override {
        errno = 0;
        if (sf_writef_float(file_, stereo, frames) == frames)
            return true;
        // The system's reason ("No space left on device") says more than the encoder's.
        error_ = errno != 0 ? std::strerror(errno) : sf_strerror(file_);
        return false;
    }
    // A disk that has gone shows at the next write.
    bool sync() override {
        sf_write_sync(file_);
        return true;
    }
    bool finish() override {
        const int closed = sf_close(std::exchange(file_, nullptr));
        if (closed != 0)
            error_ = sf_error_number(closed);
        return closed == 0;
    }
    std::string error() const override { return error_; }
    uint64_t bytes() const override {
        std::error_code failed;
        const auto size = std::filesystem::file_size(path_, failed);
        return failed ? 0 : size;
    }

private:
    std::string path_;
    SNDFILE* file_ = nullptr;
    std::string error_;
};

} // namespace

std::unique_ptr<RecordingSink> OpenFlacRecording(const std::string& path, int rate) {
    return std::make_unique<FlacRecording>(path, rate);
}

} // namespace velmor::audio
