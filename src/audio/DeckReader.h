#pragma once

#include "audio/AudioSource.h"
#include "audio/BlockRing.h"
#include "audio/Decoder.h"

#include <memory>

namespace velmor::audio {

// What the window asked of a deck's reader: play this from there at that rate.
struct ReaderCommand {
    uint64_t generation = 0;
    std::unique_ptr<Decoder> decoder; // a newly opened file, or null to keep the one open
    bool close = false;               // drop the file
    double startSeconds = 0;
    double rate = 1.0;
};

// The reader side of a deck: decoder -> tempo -> resampler, rendered ahead into the deck's
// ring on a reader thread. Each request starts a new run of blocks tagged with its
// generation, so the mixer can tell stale audio from the audio asked for.
class DeckReader {
public:
    static constexpr int kReserveBlocks = 4;

    DeckReader(BlockRing& ring, int outputRate) : ring_(ring), outputRate_(outputRate) {}

    // Takes the command's file; the one it replaces is destroyed here, on the reader's thread.
    void apply(ReaderCommand& command);
    // Renders up to maxBlocks more blocks; returns whether it wrote any.
    bool fill(int maxBlocks);

private:
    void start(double seconds);

    BlockRing& ring_;
    const int outputRate_;
    std::unique_ptr<Decoder> decoder_;
    std::unique_ptr<AudioSource> source_, tempo_, resampler_;
    AudioSource* chainEnd_ = nullptr;
    uint64_t generation_ = 0;
    double rate_ = 1.0;
    double startSeconds_ = 0;
    int64_t produced_ = 0;
    int64_t expected_ = 0;
    bool endWritten_ = true;
};

} // namespace velmor::audio
