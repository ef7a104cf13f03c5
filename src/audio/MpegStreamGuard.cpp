#include "audio/MpegStreamGuard.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor::audio {

namespace {
// What a frame is judged on: more than the largest frame and the next header after it.
constexpr int64_t kJudgedBytes = 4096;
constexpr size_t kWindowBytes = 65536;
// A seek this far past the walk starts a new walk there rather than walking up to it.
constexpr int64_t kWalkAheadBytes = 65536;
constexpr size_t kSmallReadBytes = 1024;
} // namespace

MpegStreamGuard::MpegStreamGuard(const std::string& path) : window_(kWindowBytes) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return;
    size_ = st.st_size;
    size_t available = 0;
    const unsigned char* head = bytesAt(0, available);
    id3End_ = std::min<int64_t>(static_cast<int64_t>(Id3v2Size(head, available)), size_);
    restart(0);
}

MpegStreamGuard::~MpegStreamGuard() {
    if (fd_ >= 0)
        ::close(fd_);
}

const unsigned char* MpegStreamGuard::bytesAt(int64_t at, size_t& available) {
    const int64_t end = std::min<int64_t>(at + kJudgedBytes, size_);
    if (at < windowAt_ || end > windowAt_ + static_cast<int64_t>(windowBytes_)) {
        const ssize_t got = ::pread(fd_, window_.data(), kWindowBytes, at);
        windowAt_ = at;
        windowBytes_ = got > 0 ? static_cast<size_t>(got) : 0;
    }
    available = static_cast<size_t>(
        std::max<int64_t>(windowAt_ + static_cast<int64_t>(windowBytes_) - at, 0));
    return window_.data() + (at - windowAt_);
}

void MpegStreamGuard::restart(int64_t at) {
    zeroed_.clear();
    walkStart_ = at;
    walked_ = std::max(at, id3End_); // an ID3v2 tag is passed on as it is
    inStep_ = false;
}

void MpegStreamGuard::walkTo(int64_t end) {
    end = std::min(end, size_);
    while (walked_ < end) {
        size_t available = 0;
        MpegFrameHeader header;
        const MpegFrameHeader* stream = inStep_ ? &stream_ : nullptr;
        const unsigned char* here = bytesAt(walked_, available);
        if (const size_t bytes = MpegFrameAt(here, available, stream, header)) {
            stream_ = header;
            inStep_ = true;
            walked_ += static_cast<int64_t>(bytes);
            continue;
        }
        if (available < 4) { // the last bytes of the file: too few to hold a header
            walked_ = size_;
            break;
        }
        // No frame here: the bytes up to the next one read as zeros. The search goes a
        // window at a time, so that a long file of something else is not searched in one go.
        const int64_t limit = std::min<int64_t>(end + static_cast<int64_t>(kWindowBytes), size_);
        int64_t next = walked_ + 1;
        for (; next < limit && next + 4 <= size_; ++next) {
            const unsigned char* there = bytesAt(next, available);
            if (MpegFrameAt(there, available, stream, header))
                break;
        }
        next = next + 4 <= size_ ? next : size_;
        if (!zeroed_.empty() && zeroed_.back().to == walked_)
            zeroed_.back().to = next;
        else
            zeroed_.push_back({walked_, next, inStep_});
        walked_ = next;
    }
}

long MpegStreamGuard::read(void* buffer, size_t bytes) {
    if (pos_ < walkStart_)
        restart(pos_);
    // libmpg123 looks for a frame after damage a few bytes at a time: those small reads are
    // served from the window, so that a stretch of junk costs no system call a byte.
    ssize_t got = 0;
    if (bytes <= kSmallReadBytes) {
        size_t available = 0;
        const unsigned char* here = bytesAt(pos_, available);
        got = static_cast<ssize_t>(std::min(bytes, available));
        std::memcpy(buffer, here, static_cast<size_t>(got));
    } else
        got = ::pread(fd_, buffer, bytes, pos_);
    if (got <= 0)
        return got < 0 ? -1 : 0;
    const int64_t end = pos_ + got;
    walkTo(end);
    auto* out = static_cast<unsigned char*>(buffer);
    auto stretch = std::upper_bound(zeroed_.begin(), zeroed_.end(), pos_,
                                    [](int64_t at, const Stretch& s) { return at < s.to; });
    for (; stretch != zeroed_.end() && stretch->from < end; ++stretch) {
        const int64_t from = std::max(stretch->from, pos_), to = std::min(stretch->to, end);
        std::memset(out + (from - pos_), 0, static_cast<size_t>(to - from));
    }
    pos_ = end;
    return got;
}

int64_t MpegStreamGuard::seek(int64_t offset, int whence) {
    const int64_t target = offset + (whence == SEEK_CUR ? pos_ : whence == SEEK_END ? size_ : 0);
    if (target < 0)
        return -1;
    if (target < walkStart_ || target > walked_ + kWalkAheadBytes)
        restart(target);
    pos_ = target;
    return pos_;
}

bool MpegStreamGuard::damageBefore(int64_t frameOffset) const {
    auto stretch = std::lower_bound(zeroed_.begin(), zeroed_.end(), frameOffset,
                                    [](const Stretch& s, int64_t at) { return s.to < at; });
    return stretch != zeroed_.end() && stretch->to == frameOffset && stretch->damage;
}

} // namespace velmor::audio
