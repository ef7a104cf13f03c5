#pragma once

#include <string>
#include <vector>

namespace velmor::audio {

// The file name extensions of the audio types this engine plays (lower case, without the
// dot): MP3 always (libmpg123), and of WAV, AIFF, FLAC, Ogg Vorbis and Opus those that the
// installed libsndfile says it reads.
std::vector<std::string> PlayableExtensions();

} // namespace velmor::audio
