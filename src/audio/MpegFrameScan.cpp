#include "audio/MpegFrameScan.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace velmor::audio {

namespace {

struct FrameHeader {
    int version = 0; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer = 0;   // 1, 2 or 3
    int rate = 0;
    int bytes = 0;
    int samples = 0;
    bool mono = false;
};

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

// A Xing, Info or VBRI frame carries the encoder's notes, not audio; the decoder skips it.
bool IsInfoFrame(const unsigned char* frame, size_t available, const FrameHeader& header) {
    const size_t sideInfo = header.version == 3 ? (header.mono ? 17 : 32) : (header.mono ? 9 : 17);
    for (size_t at : {4 + sideInfo, size_t{36}})
        if (at + 4 <= available &&
            (std::memcmp(frame + at, "Xing", 4) == 0 || std::memcmp(frame + at, "Info", 4) == 0 ||
             std::memcmp(frame + at, "VBRI", 4) == 0))
            return true;
    return false;
}

} // namespace

MpegFrameScan ScanMpegFrames(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    std::vector<unsigned char> data(static_cast<size_t>(std::max<std::streamoff>(file.tellg(), 0)));
    file.seekg(0);
    file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<size_t>(file.gcount()));
    MpegFrameScan scan;
    size_t at = 0;
    if (data.size() >= 10 && std::memcmp(data.data(), "ID3", 3) == 0) // an ID3v2 tag first
        at = 10 + ((data[6] & 0x7F) << 21 | (data[7] & 0x7F) << 14 | (data[8] & 0x7F) << 7 |
                   (data[9] & 0x7F));
    FrameHeader stream, header, next;
    bool locked = false;
    while (at + 4 <= data.size()) {
        // A frame counts when its header agrees with the stream and is followed by another
        // (or by the end): so stray sync bytes in damaged data are not taken for frames.
        const bool fits = ParseHeader(&data[at], header) &&
                          (!locked || SameStream(header, stream)) &&
                          at + header.bytes <= data.size();
        const size_t after = at + (fits ? header.bytes : 0);
        if (!fits || (after + 4 <= data.size() &&
                      !(ParseHeader(&data[after], next) && SameStream(next, header)))) {
            ++at;
            continue;
        }
        if (!locked && IsInfoFrame(&data[at], data.size() - at, header)) {
            locked = true;
            stream = header;
            at = after;
            continue;
        }
        locked = true;
        stream = header;
        scan.frameOffsets.push_back(static_cast<int64_t>(at));
        scan.samples += header.samples;
        scan.samplesPerFrame = header.samples;
        at = after;
    }
    return scan;
}

} // namespace velmor::audio
