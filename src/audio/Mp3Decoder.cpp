#include "audio/Mp3Decoder.h"

#include "audio/DeckMixer.h"
#include "audio/MpegFrameScan.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mpg123.h>
#include <optional>
#include <vector>

namespace velmor::audio {

namespace {

constexpr size_t kFeedBytes = 16384;
// The synthesis filter's own delay, which gapless decoding takes off the start along with the
// encoder's: a stream that breaks off gives its frames' samples less both.
constexpr int64_t kDecoderDelay = 529;
constexpr int64_t kMaxFrameSamples = 1152;

std::optional<int64_t> SizeOf(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? std::nullopt : std::optional<int64_t>(static_cast<int64_t>(size));
}

// Whether the stream may hold fewer frames than its info tag counts: a copy that broke off
// is shorter than the size the tag gives. Cheap: the first few kilobytes and the file size.
bool MayBeCutShort(const std::string& path) {
    const MpegInfoTag tag = ReadMpegInfoTag(path);
    const auto size = SizeOf(path);
    return !size || !tag.found || tag.streamBytes < 0 || *size - tag.streamStart < tag.streamBytes;
}

// Why a file in which libmpg123 finds no audio cannot be played.
std::string WhyNoAudio(const std::string& path) {
    const MpegInfoTag tag = ReadMpegInfoTag(path);
    if (tag.found)
        return MayBeCutShort(path) ? "it is cut short" : "it is damaged";
    std::ifstream file(path, std::ios::binary);
    unsigned char head[10] = {};
    file.read(reinterpret_cast<char*>(head), sizeof head);
    const auto tagSize = static_cast<int64_t>(Id3v2Size(head, static_cast<size_t>(file.gcount())));
    if (tagSize == 0)
        return "it is not an audio file";
    return tagSize >= SizeOf(path).value_or(0) ? "it is cut short" : "it is damaged";
}

// Frames decoded ahead of a seek's target, for the bit reservoir and the synthesis filter to
// be as a straight read leaves them; fewer leave the first frames silent. A Layer III frame's
// data may begin up to 511 bytes back (255 in MPEG-2 and 2.5), which at the lowest bitrate
// reaches over many frames: a frame there holds little more than its header and side
// information. One frame more brings the filter's overlap from the frame before.
size_t PrerollFrames(const mpg123_frameinfo& info) {
    if (info.layer != 3)
        return 2;
    const bool mpeg1 = info.version == MPG123_1_0;
    const bool mono = info.mode == MPG123_M_MONO;
    const long lowestBytes = (mpeg1 ? 144 * 32000 : 72 * 8000) / info.rate;
    const long sideBytes = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    const long held = std::max(1L, lowestBytes - 4 - sideBytes - 2); // less header and CRC
    const long reservoir = mpeg1 ? 511 : 255;
    return static_cast<size_t>((reservoir + held - 1) / held + 1);
}

void InitLibraryOnce() {
    static const int result = mpg123_init();
    (void)result;
}

mpg123_ssize_t ReadGuarded(void* guard, void* buffer, size_t bytes) {
    return static_cast<MpegStreamGuard*>(guard)->read(buffer, bytes);
}

off_t SeekGuarded(void* guard, off_t offset, int whence) {
    return static_cast<off_t>(static_cast<MpegStreamGuard*>(guard)->seek(offset, whence));
}

} // namespace

Mp3Decoder::Mp3Decoder(const std::string& path) : guard_(path) {
    InitLibraryOnce();
    int err = MPG123_OK;
    handle_ = mpg123_new(nullptr, &err);
    if (!handle_)
        throw DecodeError("the MP3 decoder could not start");
    // Float stereo whatever the file holds; quiet, because damage is ours to report.
    mpg123_param(handle_, MPG123_FLAGS,
                 MPG123_GAPLESS | MPG123_QUIET | MPG123_FORCE_STEREO | MPG123_FORCE_FLOAT, 0);
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(handle_, rates[i], MPG123_STEREO, MPG123_ENC_FLOAT_32);

    auto fail = [this](const std::string& reason) {
        mpg123_delete(handle_);
        handle_ = nullptr;
        throw DecodeError(reason);
    };
    if (!guard_.isOpen() ||
        mpg123_replace_reader_handle(handle_, ReadGuarded, SeekGuarded, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle_, &guard_) != MPG123_OK)
        fail("it cannot be read");
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK || rate <= 0)
        fail(WhyNoAudio(path));
    rate_ = static_cast<int>(rate);
    // Decoding frames before a seek's target, so that a seek gives the very samples a straight
    // read gives: libmpg123 does so in a tagged file, we do in a file we feed.
    mpg123_frameinfo info{};
    if (mpg123_info(handle_, &info) != MPG123_OK || info.rate <= 0)
        fail(WhyNoAudio(path));
    prerollFrames_ = PrerollFrames(info);
    mpg123_param(handle_, MPG123_PREFRAMES, static_cast<long>(prerollFrames_), 0);
    rampFrames_ = std::max(1, static_cast<int>(DeckMixer::kTransportRampSeconds * rate_));
    buffer_.resize(static_cast<size_t>(2 * (2 * kMaxFrameSamples + rampFrames_)));
    // A file of something else was refused quickly; from here on, damage of any length is
    // skipped over instead of given up at.
    mpg123_param(handle_, MPG123_RESYNC_LIMIT, -1, 0);

    // With the encoder's tag the length is known exactly; without it only a scan is exact.
    long delay = -1;
    double unused = 0;
    mpg123_getstate(handle_, MPG123_ENC_DELAY, &delay, &unused);
    if (delay >= 0) {
        length_ = mpg123_length(handle_);
        // The tag's count is what the encoder wrote; an interrupted copy holds less. Then
        // the frames are counted, so that the length is what will play.
        if (length_ > 0 && MayBeCutShort(path)) {
            const int64_t present =
                ScanMpegFrames(path).samples - static_cast<int64_t>(delay) - kDecoderDelay;
            cutShort_ = present < length_;
            length_ = std::min<int64_t>(length_, present);
        }
        if (length_ <= 0)
            fail(cutShort_ ? "it is cut short" : "it holds no audio");
        if (mpg123_seek(handle_, 0, SEEK_SET) < 0)
            fail("it is damaged");
        return;
    }
    // No tag: our own walk over the frame headers gives the length and where each frame is.
    MpegFrameScan scan = ScanMpegFrames(path);
    length_ = scan.samples;
    if (length_ <= 0)
        fail("it holds no audio");
    frameOffsets_ = std::move(scan.frameOffsets);
    samplesPerFrame_ = scan.samplesPerFrame;
    fed_ = true;
    feedFrom(0);
}

void Mp3Decoder::feedFrom(size_t frame) {
    mpg123_open_feed(handle_); // starts the decoder afresh
    guard_.seek(frameOffsets_[frame], SEEK_SET);
    fedFrom_ = frame;
    restartDecoding();
}

void Mp3Decoder::restartDecoding() {
    buffered_ = 0;
    rampIn_ = 0;
    decoded_ = false;
    ended_ = false;
}

Mp3Decoder::~Mp3Decoder() {
    if (handle_) {
        mpg123_close(handle_);
        mpg123_delete(handle_);
    }
}

int64_t Mp3Decoder::read(float* stereo, int64_t frames) {
    frames = std::min(frames, length_ - next_);
    if (skip_ > 0) { // the preroll of a seek: decoded, not heard
        skip_ -= take(nullptr, skip_, next_ - skip_);
        if (skip_ > 0)
            return 0;
    }
    const int64_t got = take(stereo, frames, next_);
    // A copy that broke off ends where its frames do, mid-sound: it ramps out there.
    if (cutShort_)
        for (int64_t i = std::max<int64_t>(next_, length_ - rampFrames_); i < next_ + got; ++i) {
            const float gain = static_cast<float>(length_ - 1 - i) / rampFrames_;
            stereo[2 * (i - next_)] *= gain;
            stereo[2 * (i - next_) + 1] *= gain;
        }
    next_ += got;
    return got;
}

int64_t Mp3Decoder::take(float* stereo, int64_t frames, int64_t at) {
    int64_t got = 0;
    while (got < frames) {
        const int64_t ready = buffered_ - (ended_ ? 0 : rampFrames_);
        if (ready <= 0) {
            if (ended_)
                break;
            if (!decodeFrame()) {
                ended_ = true;
                if (at + got + buffered_ < length_) // the frames end before the track does
                    rampOut(std::max<int64_t>(buffered_ - rampFrames_, 0), buffered_);
            }
            continue;
        }
        const int64_t n = std::min(ready, frames - got);
        if (stereo)
            std::memcpy(stereo + 2 * got, buffer_.data(),
                        static_cast<size_t>(n) * 2 * sizeof(float));
        std::memmove(buffer_.data(), buffer_.data() + 2 * n,
                     static_cast<size_t>(buffered_ - n) * 2 * sizeof(float));
        buffered_ -= n;
        got += n;
    }
    return got;
}

void Mp3Decoder::rampOut(int64_t from, int64_t to) {
    for (int64_t i = from; i < to; ++i) {
        const float gain = static_cast<float>(to - 1 - i) / static_cast<float>(to - from);
        buffer_[2 * i] *= gain;
        buffer_[2 * i + 1] *= gain;
    }
}

bool Mp3Decoder::decodeFrame() {
    unsigned char feed[kFeedBytes];
    for (;;) {
        off_t number = 0;
        unsigned char* audio = nullptr;
        size_t bytes = 0;
        const int result = mpg123_decode_frame(handle_, &number, &audio, &bytes);
        if (result == MPG123_NEW_FORMAT)
            continue;
        if (result == MPG123_NEED_MORE && fed_) {
            const long got = guard_.read(feed, sizeof feed);
            if (got > 0 && mpg123_feed(handle_, feed, static_cast<size_t>(got)) == MPG123_OK)
                continue;
        }
        if (result != MPG123_OK)
            return false; // the end, or damage that cannot be read past
        const int64_t frames =
            std::min<int64_t>(static_cast<int64_t>(bytes / (2 * sizeof(float))),
                              static_cast<int64_t>(buffer_.size() / 2) - buffered_);
        if (frames <= 0)
            continue; // a frame the encoder's delay takes up whole
        int64_t offset = -1;
        if (!fed_)
            offset = mpg123_framepos(handle_);
        else if (fedFrom_ + static_cast<size_t>(number) < frameOffsets_.size())
            offset = frameOffsets_[fedFrom_ + static_cast<size_t>(number)];
        const bool joined = decoded_ && offset >= 0 && guard_.damageBefore(offset);
        decoded_ = true;
        float* out = buffer_.data() + 2 * buffered_;
        if (joined) {
            // The first frame after damage is decoded from a bit reservoir that holds other
            // frames' bytes: it is left silent, and the sound ramps in after it.
            rampOut(std::max<int64_t>(buffered_ - rampFrames_, 0), buffered_);
            std::fill(out, out + 2 * frames, 0.0f);
            rampIn_ = rampFrames_;
        } else {
            std::memcpy(out, audio, static_cast<size_t>(frames) * 2 * sizeof(float));
            for (int64_t i = 0; i < frames && rampIn_ > 0; ++i, --rampIn_) {
                const float gain = static_cast<float>(rampFrames_ - rampIn_) / rampFrames_;
                out[2 * i] *= gain;
                out[2 * i + 1] *= gain;
            }
        }
        buffered_ += frames;
        return true;
    }
}

void Mp3Decoder::seek(int64_t frame) {
    frame = std::clamp<int64_t>(frame, 0, length_);
    if (fed_) {
        const size_t target = static_cast<size_t>(frame / samplesPerFrame_);
        const size_t first = target > prerollFrames_ ? target - prerollFrames_ : 0;
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
    restartDecoding();
    next_ = landed < 0 ? length_ : static_cast<int64_t>(landed);
}

} // namespace velmor::audio
