#include "audio/MpegFrameScan.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace velmor::audio {

namespace {

using FrameHeader = MpegFrameHeader;

bool ParseHeader(const unsigned char* h, FrameHeader& out) {
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0)
        return false;
    const int version = (h[1] >> 3) & 3, layerBits = (h[1] >> 1) & 3;
    const int bitrateIndex = h[2] >> 4, rateIndex = (h[2] >> 2) & 3, padding = (h[2] >> 1) & 1;
    if (version == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return false;
    static const int kBitrates[2][3][15] = {
        {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
         {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
         {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
        {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
    static const int kRates[3] = {44100, 48000, 32000};
    const bool mpeg1 = version == 3;
    out.version = version;
    out.layer = 4 - layerBits;
    out.rate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    out.mono = (h[3] >> 6) == 3;
    const int bitrate = kBitrates[mpeg1 ? 0 : 1][out.layer - 1][bitrateIndex] * 1000;
    if (out.layer == 1) {
        out.samples = 384;
        out.bytes = (12 * bitrate / out.rate + padding) * 4;
    } else {
        out.samples = out.layer == 3 && !mpeg1 ? 576 : 1152;
        out.bytes = (out.samples / 8) * bitrate / out.rate + padding;
    }
    return out.bytes > 4;
}

bool SameStream(const FrameHeader& a, const FrameHeader& b) {
    return a.version == b.version && a.layer == b.layer && a.rate == b.rate;
}

uint32_t BigEndian32(const unsigned char* at) {
    return uint32_t{at[0]} << 24 | uint32_t{at[1]} << 16 | uint32_t{at[2]} << 8 | at[3];
}

// A Xing, Info or VBRI frame carries the encoder's notes, not audio; the decoder skips it.
// Returns where its tag starts in the frame, 0 when it is an audio frame.
size_t InfoTagAt(const unsigned char* frame, size_t available, const FrameHeader& header) {
    const size_t sideInfo = header.version == 3 ? (header.mono ? 17 : 32) : (header.mono ? 9 : 17);
    for (size_t at : {4 + sideInfo, size_t{36}})
        if (at + 4 <= available &&
            (std::memcmp(frame + at, "Xing", 4) == 0 || std::memcmp(frame + at, "Info", 4) == 0 ||
             std::memcmp(frame + at, "VBRI", 4) == 0))
            return at;
    return 0;
}

// The stream size an info tag gives: Xing and Info have it after the frame count when
// their flags say so, VBRI always has it.
int64_t StreamBytesOfTag(const unsigned char* tag, size_t available) {
    if (std::memcmp(tag, "VBRI", 4) == 0)
        return available >= 14 ? BigEndian32(tag + 10) : -1;
    if (available < 16)
        return -1;
    const uint32_t flags = BigEndian32(tag + 4);
    if (!(flags & 2))
        return -1;
    return BigEndian32(tag + (flags & 1 ? 12 : 8));
}

} // namespace

size_t Id3v2Size(const unsigned char* data, size_t size) {
    if (size < 10 || std::memcmp(data, "ID3", 3) != 0)
        return 0;
    const size_t footer = data[5] & 0x10 ? 10 : 0;
    return 10 + footer +
           ((data[6] & 0x7F) << 21 | (data[7] & 0x7F) << 14 | (data[8] & 0x7F) << 7 |
            (data[9] & 0x7F));
}

size_t MpegFrameAt(const unsigned char* data, size_t available, const MpegFrameHeader* stream,
                   MpegFrameHeader& header) {
    MpegFrameHeader next;
    if (available < 4 || !ParseHeader(data, header) || (stream && !SameStream(header, *stream)) ||
        static_cast<size_t>(header.bytes) > available)
        return 0;
    const size_t after = static_cast<size_t>(header.bytes);
    if (after + 4 <= available && !(ParseHeader(data + after, next) && SameStream(next, header)))
        return 0;
    return after;
}

namespace {

// The file read a megabyte at a time (however long it is), as a window that slides forward
// over it.
class FileWindow {
public:
    explicit FileWindow(const std::string& path) : file_(path, std::ios::binary), bytes_(kChunk) {}

    // The bytes from `offset` on, at least `want` of them where the file has that many;
    // `available` tells how many there are.
    const unsigned char* from(int64_t offset, size_t want, size_t& available) {
        const int64_t end = base_ + static_cast<int64_t>(size_);
        if (offset < base_ || offset > end ||
            (offset + static_cast<int64_t>(want) > end && !ended_))
            refill(offset);
        available =
            static_cast<size_t>(std::max<int64_t>(base_ + static_cast<int64_t>(size_) - offset, 0));
        return bytes_.data() + std::min(static_cast<size_t>(offset - base_), size_);
    }

private:
    static constexpr size_t kChunk = size_t{1} << 20;

    void refill(int64_t offset) {
        size_t kept = 0;
        if (offset >= base_ && offset <= base_ + static_cast<int64_t>(size_)) {
            kept = size_ - static_cast<size_t>(offset - base_);
            std::memmove(bytes_.data(), bytes_.data() + (offset - base_), kept);
        } else {
            file_.clear();
            file_.seekg(offset);
        }
        base_ = offset;
        file_.read(reinterpret_cast<char*>(bytes_.data() + kept),
                   static_cast<std::streamsize>(kChunk - kept));
        const auto got = static_cast<size_t>(std::max<std::streamsize>(file_.gcount(), 0));
        size_ = kept + got;
        ended_ = got < kChunk - kept;
    }

    std::ifstream file_;
    std::vector<unsigned char> bytes_;
    int64_t base_ = 0;
    size_t size_ = 0;
    bool ended_ = false;
};

// No frame is longer (MPEG-2 layer II at 160 kbit/s and 8 kHz comes to 2881 bytes).
constexpr size_t kLongestFrame = 4096;

} // namespace

MpegFrameScan ScanMpegFrames(const std::string& path) {
    FileWindow file(path);
    size_t available = 0;
    const unsigned char* data = file.from(0, 10, available);
    MpegFrameScan scan;
    int64_t at = static_cast<int64_t>(Id3v2Size(data, available)); // an ID3v2 tag first
    FrameHeader stream, header;
    bool locked = false;
    for (;;) {
        data = file.from(at, kLongestFrame + 4, available);
        if (available < 4)
            break;
        const size_t after = MpegFrameAt(data, available, locked ? &stream : nullptr, header);
        if (after == 0) {
            ++at;
            continue;
        }
        if (!locked && InfoTagAt(data, available, header) != 0) {
            locked = true;
            stream = header;
            at += static_cast<int64_t>(after);
            continue;
        }
        locked = true;
        stream = header;
        scan.frameOffsets.push_back(at);
        scan.samples += header.samples;
        scan.samplesPerFrame = header.samples;
        at += static_cast<int64_t>(after);
    }
    return scan;
}

MpegInfoTag ReadMpegInfoTag(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char head[10] = {};
    file.read(reinterpret_cast<char*>(head), sizeof head);
    MpegInfoTag tag;
    tag.streamStart = static_cast<int64_t>(Id3v2Size(head, static_cast<size_t>(file.gcount())));
    file.clear();
    file.seekg(tag.streamStart);
    std::vector<unsigned char> data(4096);
    file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<size_t>(file.gcount()));
    // The first frame header, where the decoder would find it after stray bytes.
    FrameHeader header;
    for (size_t at = 0; at + 4 <= data.size(); ++at) {
        if (!ParseHeader(&data[at], header))
            continue;
        if (const size_t info = InfoTagAt(&data[at], data.size() - at, header)) {
            tag.found = true;
            tag.streamStart += static_cast<int64_t>(at);
            tag.streamBytes = StreamBytesOfTag(&data[at + info], data.size() - at - info);
        }
        break;
    }
    return tag;
}

} // namespace velmor::audio
