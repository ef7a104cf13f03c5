// libFuzzer target for one decoder, chosen at compile time (FUZZ_MP3 or FUZZ_SNDFILE):
// whatever the bytes, opening, reading and seeking must end cleanly.

#include "audio/Mp3Decoder.h"
#include "audio/SndfileDecoder.h"

#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = memfd_create("fuzz-input", 0);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) {
        if (fd >= 0)
            close(fd);
        return 0;
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    try {
#ifdef FUZZ_MP3
        velmor::audio::Mp3Decoder decoder(path);
#else
        velmor::audio::SndfileDecoder decoder(path);
#endif
        std::vector<float> block(2 * 4096);
        int64_t total = 0;
        // Bounded, so that a header claiming hours of audio cannot stall the run.
        while (total < 4'000'000) {
            const int64_t got = decoder.read(block.data(), 4096);
            if (got == 0)
                break;
            total += got;
        }
        decoder.seek(decoder.lengthFrames() / 3);
        decoder.read(block.data(), 4096);
    } catch (const velmor::audio::DecodeError&) {
    }
    close(fd);
    return 0;
}
