#include "audio/PlayableTypes.h"

#include <sndfile.h>

namespace velmor::audio {

namespace {
bool listed(int countCommand, int infoCommand, int format) {
    int count = 0;
    sf_command(nullptr, countCommand, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO info{};
        info.format = i;
        if (sf_command(nullptr, infoCommand, &info, sizeof info) == 0 && info.format == format)
            return true;
    }
    return false;
}

bool readsContainer(int major) {
    return listed(SFC_GET_FORMAT_MAJOR_COUNT, SFC_GET_FORMAT_MAJOR, major);
}

bool readsCodec(int subtype) {
    return listed(SFC_GET_FORMAT_SUBTYPE_COUNT, SFC_GET_FORMAT_SUBTYPE, subtype);
}
} // namespace

std::vector<std::string> PlayableExtensions() {
    std::vector<std::string> extensions{"mp3"};
    if (readsContainer(SF_FORMAT_WAV))
        extensions.emplace_back("wav");
    if (readsContainer(SF_FORMAT_AIFF))
        extensions.insert(extensions.end(), {"aiff", "aif"});
    if (readsContainer(SF_FORMAT_FLAC))
        extensions.emplace_back("flac");
    const bool ogg = readsContainer(SF_FORMAT_OGG);
    if (ogg && readsCodec(SF_FORMAT_VORBIS))
        extensions.insert(extensions.end(), {"ogg", "oga"});
    if (ogg && readsCodec(SF_FORMAT_OPUS))
        extensions.emplace_back("opus");
    return extensions;
}

} // namespace velmor::audio
