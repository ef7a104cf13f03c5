#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace velmor::audio {

// A file that cannot be played; what() is the reason, fit to follow the file's name.
class DecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads one audio file as interleaved stereo float frames at the file's own rate.
// Mono files come out on both channels; files with more channels keep their first two.
class Decoder {
public:
    virtual ~Decoder() = default;

    virtual int sampleRate() const = 0;
    // Exact number of frames of the track (for MP3: without encoder delay and padding).
    virtual int64_t lengthFrames() const = 0;
    // Fills up to `frames` frames; returns how many were read, 0 at the end (or at damage
    // that cannot be read past).
    virtual int64_t read(float* stereo, int64_t frames) = 0;
    // Moves to a frame of the track; the next read starts exactly there.
    virtual void seek(int64_t frame) = 0;
};

// Opens a file with the decoder its content calls for (not its extension).
// Throws DecodeError with the reason when the file cannot be played.
std::unique_ptr<Decoder> OpenDecoder(const std::string& path);

} // namespace velmor::audio
