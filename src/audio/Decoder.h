#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace velmor::audio {

// A file that cannot be played; what() is the reason in plain words, fit to follow "it
// cannot be played:" ("it is cut short"). Where the system refused the file, its error
// number is kept too, for the window to say in its own words.
class DecodeError : public std::runtime_error {
public:
    explicit DecodeError(const std::string& reason) : std::runtime_error(reason) {}
    explicit DecodeError(int systemError);
    int systemError() const { return systemError_; }

private:
    int systemError_ = 0;
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
