#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmor::audio {

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
