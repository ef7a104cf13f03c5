#include "audio/AlsaPcmList.h"

#include <alsa/asoundlib.h>

namespace velmor::audio {

std::mutex& AlsaConfigurationLock() {
    static std::mutex lock;
    return lock;
}

void LeaveOutFfmpegPcms() {
    const std::lock_guard lock(AlsaConfigurationLock());
    if (snd_config_update() < 0 || !snd_config)
        return; // PortAudio tells what is wrong with the configuration
    for (const char* pcm : {"pcm.a52", "pcm.lavrate"}) {
        snd_config_t* node = nullptr;
        if (snd_config_search(snd_config, pcm, &node) == 0)
            snd_config_delete(node);
    }
}

} // namespace velmor::audio
