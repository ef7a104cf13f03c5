#include "audio/QuietSoundLibraries.h"

#include <alsa/asoundlib.h>
#include <cstdlib>
#include <jack/jack.h>

namespace velmor::audio {

namespace {
void IgnoreAlsa(const char*, int, const char*, int, const char*, ...) {}
void IgnoreJack(const char*) {}
} // namespace

void QuietSoundLibraries() {
    static const bool quiet = [] {
        const char* keep = std::getenv("VELMOR_SOUND_DIAGNOSTICS");
        if (keep && *keep && *keep != '0')
            return false;
        snd_lib_error_set_handler(IgnoreAlsa);
        jack_set_error_function(IgnoreJack);
        jack_set_info_function(IgnoreJack);
        return true;
    }();
    (void)quiet;
}

} // namespace velmor::audio
