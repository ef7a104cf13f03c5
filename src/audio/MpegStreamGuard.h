#pragma once

#include "audio/MpegFrameScan.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmor::audio {

// An MPEG audio file as the decoder is given it: where bytes that are no frames stand between
// frames (damage, a copy overwritten in the middle), they read as zeros. libmpg123 would
// otherwise take stray sync bytes in them for frames and decode loud noise, or give up; over
// zeros it finds the next frame. Byte offsets are the file's own, so seeks land as before.
// The frames are found as the scan finds them, walking the headers just ahead of the reads.
class MpegStreamGuard {
public:
    explicit MpegStreamGuard(const std::string& path);
    ~MpegStreamGuard();
    MpegStreamGuard(const MpegStreamGuard&) = delete;
    MpegStreamGuard& operator=(const MpegStreamGuard&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // As read(2) and lseek(2) on the file.
    long read(void* buffer, size_t bytes);
    int64_t seek(int64_t offset, int whence);
    // Whether damage was left out just before the frame that starts at this offset: the
    // frame does not follow on from the one decoded before it.
    bool damageBefore(int64_t frameOffset) const;

private:
    struct Stretch {
        int64_t from, to;
        bool damage; // false: bytes before the first frame found after a seek
    };

    void restart(int64_t at);
    void walkTo(int64_t end);
    const unsigned char* bytesAt(int64_t at, size_t& available);

    int fd_ = -1;
    int64_t size_ = 0, pos_ = 0;
    int64_t id3End_ = 0;
    int64_t walkStart_ = 0, walked_ = 0; // what the walk has classified: [walkStart_, walked_)
    bool inStep_ = false;                // a frame has been found since the walk started
    MpegFrameHeader stream_;
    std::vector<Stretch> zeroed_; // in order
    std::vector<unsigned char> window_;
    int64_t windowAt_ = 0;
    size_t windowBytes_ = 0;
};

} // namespace velmor::audio
