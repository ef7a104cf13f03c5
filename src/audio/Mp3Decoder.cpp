#include "audio/Mp3Decoder.h"

#include "audio/MpegFrameScan.h"

#include <algorithm>
#include <filesystem>
#include <mpg123.h>
#include <vector>

namespace velmor::audio {

namespace {

// Frames decoded ahead of a seek's target, for the bit reservoir (up to 511 bytes back) and
// the synthesis filter to be as a straight read leaves them.
constexpr size_t kPrerollFrames = 12;
constexpr size_t kFeedBytes = 16384;
// The synthesis filter's own delay, which gapless decoding takes off the start along with the
// encoder's: a stream that breaks off gives its frames' samples less both.
constexpr int64_t kDecoderDelay = 529;

// Whether the stream may hold fewer frames than its info tag counts: a copy that broke off
// is shorter than the size the tag gives. Cheap: the first few kilobytes and the file size.
bool MayBeCutShort(const std::string& path) {
    const MpegInfoTag tag = ReadMpegInfoTag(path);
    std::error_code error;
    const auto size = static_cast<int64_t>(std::filesystem::file_size(path, error));
    return error || !tag.found || tag.streamBytes < 0 || size - tag.streamStart < tag.streamBytes;
}

void InitLibraryOnce() {
    static const int result = mpg123_init();
    (void)result;
}

} // namespace

Mp3Decoder::Mp3Decoder(const std::string& path) {
    InitLibraryOnce();
    int err = MPG123_OK;
    handle_ = mpg123_new(nullptr, &err);
    if (!handle_)
        throw DecodeError("the MP3 decoder could not start");
    // Float stereo whatever the file holds; quiet, because damage is ours to report.
    mpg123_param(handle_, MPG123_FLAGS,
                 MPG123_GAPLESS | MPG123_QUIET | MPG123_FORCE_STEREO | MPG123_FORCE_FLOAT, 0);
    // Decoding a few frames before a seek target fills the bit reservoir and the synthesis
    // filter, so that a seek gives the very samples a straight read gives.
    mpg123_param(handle_, MPG123_PREFRAMES, 4, 0);
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(handle_, rates[i], MPG123_STEREO, MPG123_ENC_FLOAT_32);

    auto fail = [this](const char* reason) {
        mpg123_delete(handle_);
        handle_ = nullptr;
        throw DecodeError(reason);
    };
    if (mpg123_open(handle_, path.c_str()) != MPG123_OK)
        fail("the file cannot be read");
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK || rate <= 0)
        fail("it is not an MP3 or WAV audio file");
    rate_ = static_cast<int>(rate);

    // With the encoder's tag the length is known exactly; without it only a scan is exact.
    long delay = -1;
    double unused = 0;
    mpg123_getstate(handle_, MPG123_ENC_DELAY, &delay, &unused);
    if (delay >= 0) {
        length_ = mpg123_length(handle_);
        // The tag's count is what the encoder wrote; an interrupted copy holds less. Then
        // the frames are counted, so that the length is what will play.
        if (length_ > 0 && MayBeCutShort(path))
            length_ = std::min<int64_t>(length_, ScanMpegFrames(path).samples -
                                                     static_cast<int64_t>(delay) - kDecoderDelay);
        if (length_ <= 0)
            fail("it holds no audio");
        if (mpg123_seek(handle_, 0, SEEK_SET) < 0)
            fail("its MP3 data cannot be read");
        return;
    }
    // No tag: our own walk over the frame headers gives the length and where each frame is.
    MpegFrameScan scan = ScanMpegFrames(path);
    length_ = scan.samples;
    if (length_ <= 0)
        fail("it holds no audio");
    frameOffsets_ = std::move(scan.frameOffsets);
    samplesPerFrame_ = scan.samplesPerFrame;
    mpg123_close(handle_);
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        fail("the file cannot be read");
    feedFrom(0);
}

void Mp3Decoder::feedFrom(size_t frame) {
    mpg123_open_feed(handle_); // starts the decoder afresh
    std::fseek(file_, static_cast<long>(frameOffsets_[frame]), SEEK_SET);
}

Mp3Decoder::~Mp3Decoder() {
    if (file_)
        std::fclose(file_);
    if (handle_) {
        mpg123_close(handle_);
        mpg123_delete(handle_);
    }
}

int64_t Mp3Decoder::read(float* stereo, int64_t frames) {
    frames = std::min(frames, length_ - next_);
    while (skip_ > 0) { // the preroll of a seek: decoded, not heard
        const int64_t dropped = decode(stereo, std::min(skip_, std::max<int64_t>(frames, 1)));
        if (dropped == 0)
            return 0;
        skip_ -= dropped;
    }
    const int64_t got = decode(stereo, frames);
    next_ += got;
    return got;
}

int64_t Mp3Decoder::decode(float* stereo, int64_t frames) {
    unsigned char feed[kFeedBytes];
    int64_t got = 0;
    while (got < frames) {
        size_t done = 0;
        const int result =
            mpg123_read(handle_, reinterpret_cast<unsigned char*>(stereo + 2 * got),
                        static_cast<size_t>(frames - got) * 2 * sizeof(float), &done);
        got += static_cast<int64_t>(done / (2 * sizeof(float)));
        if (result == MPG123_NEW_FORMAT || (result == MPG123_OK && done > 0))
            continue;
        if (result == MPG123_NEED_MORE && file_) {
            const size_t bytes = std::fread(feed, 1, sizeof feed, file_);
            if (bytes > 0 && mpg123_feed(handle_, feed, bytes) == MPG123_OK)
                continue;
        }
        break; // the end, or damage that cannot be read past: a clean end either way
    }
    return got;
}

void Mp3Decoder::seek(int64_t frame) {
    frame = std::clamp<int64_t>(frame, 0, length_);
    if (file_) {
        const size_t target = static_cast<size_t>(frame / samplesPerFrame_);
        const size_t first = target > kPrerollFrames ? target - kPrerollFrames : 0;
        if (first >= frameOffsets_.size()) {
            next_ = length_;
            return;
        }
        feedFrom(first);
        skip_ = frame - static_cast<int64_t>(first) * samplesPerFrame_;
        next_ = frame;
        return;
    }
    const off_t landed = mpg123_seek(handle_, static_cast<off_t>(frame), SEEK_SET);
    next_ = landed < 0 ? length_ : static_cast<int64_t>(landed);
}

} // namespace velmor::audio
