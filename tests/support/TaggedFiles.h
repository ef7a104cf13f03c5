#pragma once

#include <string>
#include <utility>
#include <vector>

namespace velmor::test {

// Writes tags into a sound file, as pairs of a property ("ARTIST", "TITLE",
// "REPLAYGAIN_TRACK_GAIN"...) and its value in UTF-8; false when the file cannot take them.
bool WriteTags(const std::string& path,
               const std::vector<std::pair<std::string, std::string>>& properties);

} // namespace velmor::test
