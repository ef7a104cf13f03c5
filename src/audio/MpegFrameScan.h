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

} // namespace velmor::audio
