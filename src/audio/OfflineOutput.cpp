#include "audio/OfflineOutput.h"

#include <algorithm>

namespace velmor::audio {

std::vector<float> OfflineOutput::render(long frames) {
    std::vector<float> out(static_cast<size_t>(channels_ * frames), 0.0f);
    if (!callback_)
        return out;
    for (long done = 0; done < frames;) {
        const int n = static_cast<int>(std::min<long>(buffer_, frames - done));
        callback_->fillAhead();
        callback_->renderOutput(out.data() + channels_ * done, channels_, n);
        done += n;
    }
    callback_->fillAhead(); // passes on what the last buffer reported (a track's end)
    return out;
}

} // namespace velmor::audio
