#pragma once

#include "common/BackgroundWork.h"
#include "common/Paths.h"

#include <QList>

namespace velmor {

class KnownTracks;

// Reads the tags and lengths of the tracks it is given on a worker of its own, below the audio
// threads, and tells the window's KnownTracks what they say, a batch at a time. The window's thread
// only hands the tracks over: a folder of ten thousand files costs it no more than that.
class TagReading {
public:
    explicit TagReading(KnownTracks& known) : known_(known) {}

    void read(const QList<Track>& tracks);
    // Tells what has been read until nothing waits (for tests).
    void waitUntilDone() { work_.waitUntilDone(); }

private:
    KnownTracks& known_;
    BackgroundWork work_{"velmor tags", 10};
};

} // namespace velmor
