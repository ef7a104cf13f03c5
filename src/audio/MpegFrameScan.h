#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmor::audio {

struct MpegFrameHeader {
    int version = 0; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer = 0;   // 1, 2 or 3
    int rate = 0;
    int bytes = 0;
    int samples = 0;
    bool mono = false;
};

// Whether a whole frame starts at `data` (`available` bytes, all that is left of the file or
// at least a frame and a header more): a sound header that agrees with `stream` when given,
// followed by another that agrees with it, or by the end. So stray sync bytes in damaged data
// are not taken for frames. Returns the frame's size, 0 when no frame starts there.
size_t MpegFrameAt(const unsigned char* data, size_t available, const MpegFrameHeader* stream,
                   MpegFrameHeader& header);

// The size of an ID3v2 tag at the start of the data, 0 when there is none.
size_t Id3v2Size(const unsigned char* data, size_t size);

// The frames of an MPEG audio file, found by walking their headers: far quicker than
// decoding, and exact for a file whose encoder left no length in it.
struct MpegFrameScan {
    int64_t samples = 0; // per channel, as the decoder will give them
    int samplesPerFrame = 0;
    std::vector<int64_t> frameOffsets; // byte offset of every audio frame's header
};

MpegFrameScan ScanMpegFrames(const std::string& path);

// What the encoder's info frame (Xing, Info or VBRI) at the head of the stream says of the
// stream's size, read from the first few kilobytes only.
struct MpegInfoTag {
    bool found = false;
    int64_t streamStart = 0;  // where the info frame starts in the file
    int64_t streamBytes = -1; // the stream's size with the info frame; -1 when not told
};

MpegInfoTag ReadMpegInfoTag(const std::string& path);

} // namespace velmor::audio
