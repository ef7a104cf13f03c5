#pragma once

#include "audio/AudioSource.h"
#include "audio/BlockRing.h"
#include "audio/Decoder.h"
#include "audio/TrackPlan.h"

#include <memory>

namespace velmor::audio {

// What the window asked of a deck's reader: play this from there at that rate; or, with
// `queue`, go straight on into `decoder` (null: into nothing) once file `track` has ended;
// or, with `replan`, play file `track` (the loaded or the queued one) by `plan` from now on.
struct ReaderCommand {
    uint64_t generation = 0;
    std::unique_ptr<Decoder> decoder; // a newly opened file, or null to keep the one open
    bool close = false;               // drop the file
    double startSeconds = 0;
    double rate = 1.0;
    uint64_t track = 0; // the file the request is for (the queue's: the one it follows)
    bool queue = false;
    uint64_t nextTrack = 0; // the queued file's number
    TrackPlan plan;         // the new or queued file's, or the replanned one's
    bool replan = false;
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
    void queue(ReaderCommand& command);
    void replan(const ReaderCommand& command);
    void start(double seconds);
    void expectToEnd(); // the frames of this run up to the plan's end
    void resetChain();
    void joinNext();
    void unjoin();
    int render(float* stereo); // the next frames of this file, at its gain; 0 at its end
    double endSeconds() const; // where this file ends, in its own seconds

    BlockRing& ring_;
    const int outputRate_;
    std::unique_ptr<Decoder> decoder_;
    TrackPlan plan_, nextPlan_, endedPlan_;
    std::unique_ptr<AudioSource> source_, tempo_, resampler_;
    AudioSource* chainEnd_ = nullptr;
    uint64_t generation_ = 0;
    uint64_t track_ = 0;
    // The queued file, and the file ended into it, kept until the window has taken the
    // queued one as its own: a request for the ended file (a stop, a seek) goes back to it.
    std::unique_ptr<Decoder> next_, ended_;
    uint64_t nextTrack_ = 0, endedTrack_ = 0;
    bool joinedBlock_ = false; // the next block is the first of a file gone on into
    double rate_ = 1.0;
    double startSeconds_ = 0;
    int64_t first_ = 0;        // the file's frame this run started at
    int64_t produced_ = 0;     // frames of this file
    int64_t sinceRequest_ = 0; // frames since the request, over files gone on into
    int64_t expected_ = 0;
    bool endWritten_ = true;
    bool topping_ = false; // filling the ring up to the top
};

} // namespace velmor::audio
