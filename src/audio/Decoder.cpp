#include "audio/Decoder.h"

#include "audio/Mp3Decoder.h"
#include "audio/SndfileDecoder.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor::audio {

namespace {

bool StartsWith(const std::array<char, 4>& head, const char* magic) {
    return std::memcmp(head.data(), magic, 4) == 0;
}

// Containers that libsndfile knows by their first bytes.
bool IsSndfileContainer(const std::array<char, 4>& head) {
    for (const char* magic :
         {"RIFF", "RIFX", "RF64", "BW64", "FORM", "fLaC", "OggS", ".snd", "caff", "wvpk", "MThd"})
        if (StartsWith(head, magic))
            return true;
    return false;
}

} // namespace

DecodeError::DecodeError(int systemError)
    : std::runtime_error(std::string("it cannot be read (") + std::strerror(systemError) + ")"),
      systemError_(systemError) {}

std::unique_ptr<Decoder> OpenDecoder(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        throw DecodeError(errno);
    if (S_ISDIR(st.st_mode))
        throw DecodeError(EISDIR);
    if (!S_ISREG(st.st_mode))
        throw DecodeError("it is not a file");
    // Non-blocking, although only regular files get here: opening must never hang.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw DecodeError(errno);
    std::array<char, 4> head{};
    const ssize_t got = ::read(fd, head.data(), head.size());
    ::close(fd);
    if (st.st_size == 0 || got == 0)
        throw DecodeError("it is empty");
    if (got < 0)
        throw DecodeError(errno);
    if (got == 4 && IsSndfileContainer(head))
        return std::make_unique<SndfileDecoder>(path);
    return std::make_unique<Mp3Decoder>(path);
}

} // namespace velmor::audio
