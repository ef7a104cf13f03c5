#pragma once

#include "analysis/TrackTags.h"
#include "common/BackgroundWork.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace velmor {

namespace audio {
class Decoder;
}

// Opens audio files for a deck on a worker thread: the decoder, the length, for which an MP3
// without an encoder tag is walked frame by frame, and the file's tags. A slow disk or a
// network share then holds the worker, not the window.
class TrackOpener {
public:
    // Opens a file by its path in the file system's bytes; throws as audio::OpenDecoder does.
    using OpenFunction = std::function<std::unique_ptr<audio::Decoder>(const std::string&)>;

    struct Opened {
        std::unique_ptr<audio::Decoder> decoder; // none when the file could not be opened
        double seconds = 0;
        TrackTags tags;  // none when it could not be opened
        QString failure; // "<path> cannot be played: <cause>." when it could not
    };
    using Done = std::function<void(Opened&&)>;

    TrackOpener();
    ~TrackOpener();

    // From now on files open with `open` (tests slow them down or make them fail).
    void setOpenFunction(OpenFunction open);

    // Opens `path`; `done` then runs on the window's thread, unless the job was cancelled
    // first. Jobs run one after another.
    BackgroundWork::Job open(const QString& path, Done done);

private:
    std::shared_ptr<const OpenFunction> open_;
    BackgroundWork work_{"velmor open"};
};

} // namespace velmor
