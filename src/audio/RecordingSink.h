#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace velmor::audio {

// Where a recording of the master goes: a file, or (in tests) anything that takes frames.
// Called from the recorder's writer thread only.
class RecordingSink {
public:
    virtual ~RecordingSink() = default;
    // Writes `frames` interleaved stereo frames; false on failure, error() says why.
    virtual bool write(const float* stereo, int64_t frames) = 0;
    // Hands what is written so far to the disk, so that it outlives a crash.
    virtual bool sync() = 0;
    // Completes and closes the file; false on failure.
    virtual bool finish() = 0;
    virtual std::string error() const = 0;
    // The size of what is written so far.
    virtual uint64_t bytes() const = 0;
};

// A FLAC file of 16-bit samples (CD quality) at `rate`, made at `path` (an existing file is
// replaced). Throws std::runtime_error with the reason when it cannot be made.
//
// Until it is finished, its header gives no length: a recording cut off by a crash or a kill
// decodes up to the last block the encoder had written (a tenth of a second before the end).
std::unique_ptr<RecordingSink> OpenFlacRecording(const std::string& path, int rate);

} // namespace velmor::audio
