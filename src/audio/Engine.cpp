#include "audio/Engine.h"

#include <algorithm>
#include <cmath>
#include <pthread.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>

namespace velmor::audio {

namespace {
constexpr int kBlocksPerRound = 8; // reader work between two looks at the commands
// How often a playing deck's reader looks for room in its ring (1.5 s long): 25 ms is about
// two blocks of the ring at the fastest speed, so that a look seldom finds nothing to do,
// and the longest a track's end waits to be told.
constexpr auto kReaderPoll = std::chrono::milliseconds(25);
} // namespace

Engine::Deck::Deck(size_t ringBlocks, int rate)
    : ring(ringBlocks), reader(ring, rate), mixer(ring, controls, status, rate) {}

Engine::Engine(std::unique_ptr<Output> output, DeviceOpener devices, MasterBus bus,
               ThreadScheduler& scheduler)
    : scheduler_(scheduler),
      keeper_(*this, std::move(output), std::move(devices), 48000, scheduler),
      rate_(keeper_.sampleRate()), bus_(bus), limiter_(rate_), headphones_(rate_, kDecks),
      duck_(rate_), jingles_(rate_) {
    const auto blocks =
        static_cast<size_t>(std::ceil(kRingSeconds * rate_ / AudioBlock::kMaxFrames));
    for (auto& deck : decks_)
        deck = std::make_unique<Deck>(blocks, rate_);
    keeper_.start();
    if (!keeper_.rendersOnDemand()) // an output that does reads in step with its rendering
        for (int deck = 0; deck < kDecks; ++deck)
            readers_[deck] = std::thread([this, deck] { readerLoop(deck); });
}

Engine::~Engine() {
    phonesKeeper_.reset();
    keeper_.stop();
    {
        std::lock_guard lock(wakeMutex_);
        quit_ = true;
    }
    wake_.notify_all();
    for (std::thread& reader : readers_)
        if (reader.joinable())
            reader.join();
    // Files handed over but never taken by the reader go with the decks' queues, here.
}

float Engine::GainOfLevel(int hundredthsOfDb) {
    return static_cast<float>(std::pow(10.0, hundredthsOfDb / 2000.0));
}

// A refused command's file is destroyed on the caller's thread, with the command.
void Engine::request(int index, std::unique_ptr<Decoder> decoder, bool close, double seconds,
                     const TrackPlan& plan) {
    Deck& deck = *decks_[index];
    const uint64_t generation = deck.uiGeneration + 1;
    if (!deck.commands.push({.generation = generation,
                             .decoder = std::move(decoder),
                             .close = close,
                             .startSeconds = seconds,
                             .rate = deck.rate,
                             .track = deck.track,
                             .plan = plan}))
        throw std::runtime_error("the audio engine does not respond");
    deck.uiGeneration = generation;
    deck.requestedSeconds = seconds;
    deck.controls.generation.store(generation, std::memory_order_release);
    wakeReaders();
}

void Engine::load(int index, std::unique_ptr<Decoder> decoder, const TrackPlan& plan) {
    Deck& deck = *decks_[index];
    deck.controls.playing.store(false, std::memory_order_release);
    const double length = static_cast<double>(decoder->lengthFrames()) / decoder->sampleRate();
    deck.track = ++deck.tracks;
    deck.nextTrack = 0;
    deck.plan = plan;
    request(index, std::move(decoder), false, 0.0, plan);
    deck.lengthSeconds = length;
}

void Engine::close(int index) {
    Deck& deck = *decks_[index];
    deck.controls.playing.store(false, std::memory_order_release);
    deck.track = ++deck.tracks;
    deck.nextTrack = 0;
    deck.plan = {};
    request(index, nullptr, true, 0.0);
    deck.lengthSeconds = 0;
}

void Engine::queueNext(int index, std::unique_ptr<Decoder> decoder, const TrackPlan& plan) {
    Deck& deck = *decks_[index];
    const uint64_t next = decoder ? deck.tracks + 1 : 0;
    const double length =
        decoder ? static_cast<double>(decoder->lengthFrames()) / decoder->sampleRate() : 0.0;
    ReaderCommand command{.decoder = std::move(decoder),
                          .track = deck.track,
                          .queue = true,
                          .nextTrack = next,
                          .plan = plan};
    if (!deck.commands.push(std::move(command)))
        throw std::runtime_error("the audio engine does not respond");
    deck.tracks += next ? 1 : 0;
    deck.nextTrack = next;
    deck.nextLength = length;
    deck.nextPlan = plan;
    wakeReaders();
}

void Engine::replan(int index, uint64_t track, const TrackPlan& plan) {
    Deck& deck = *decks_[index];
    ReaderCommand command;
    command.track = track;
    command.plan = plan;
    command.replan = true;
    if (!deck.commands.push(std::move(command)))
        throw std::runtime_error("the audio engine does not respond");
    wakeReaders();
}

void Engine::setTrackPlan(int index, const TrackPlan& plan) {
    Deck& deck = *decks_[index];
    if (deck.track == 0 || plan == deck.plan)
        return;
    const bool newGain = plan.gain != deck.plan.gain;
    deck.plan = plan;
    replan(index, deck.track, plan);
    // The audio rendered ahead may run past the new end already.
    deck.controls.endTrack.store(0, std::memory_order_release);
    deck.controls.endSeconds.store(plan.endSeconds, std::memory_order_release);
    deck.controls.endTrack.store(deck.track, std::memory_order_release);
    // What stands ahead of a still deck is rendered again, at the new gain, from where it is.
    if (newGain && !deck.controls.playing.load(std::memory_order_relaxed) && !joined(index))
        request(index, nullptr, false, position(index));
}

void Engine::setNextPlan(int index, const TrackPlan& plan) {
    Deck& deck = *decks_[index];
    if (deck.nextTrack == 0 || plan == deck.nextPlan)
        return;
    deck.nextPlan = plan;
    replan(index, deck.nextTrack, plan);
}

bool Engine::joined(int index) const {
    const Deck& deck = *decks_[index];
    return deck.nextTrack != 0 &&
           deck.status.heardGeneration.load(std::memory_order_acquire) == deck.uiGeneration &&
           deck.status.heardTrack.load(std::memory_order_relaxed) == deck.nextTrack;
}

bool Engine::adoptNext(int index) {
    if (!joined(index))
        return false;
    Deck& deck = *decks_[index];
    deck.track = std::exchange(deck.nextTrack, 0);
    deck.lengthSeconds = deck.nextLength;
    deck.plan = deck.nextPlan;
    return true;
}

void Engine::play(int index) {
    decks_[index]->controls.playing.store(true, std::memory_order_release);
    wakeReaders(); // a deck standing still has its reader asleep
}

void Engine::wakeReaders() {
    // Through the lock: a reader between its look at its deck and its sleep would miss a
    // wake-up given outside it, and sleep on with work to do.
    { const std::lock_guard lock(wakeMutex_); }
    wake_.notify_all(); // the readers share it
}

void Engine::pause(int index) {
    decks_[index]->controls.playing.store(false, std::memory_order_release);
}

void Engine::seek(int index, double seconds) {
    const Deck& deck = *decks_[index];
    if (!std::isfinite(seconds))
        seconds = 0;
    request(index, nullptr, false, std::clamp(seconds, 0.0, deck.lengthSeconds));
}

void Engine::setRate(int index, double rate) {
    Deck& deck = *decks_[index];
    if (rate == deck.rate)
        return;
    deck.rate = rate;
    // The reader starts over from what is heard now, at the new tempo. A queued file heard but
    // not yet taken by the window is started over, from the loaded one's end.
    request(index, nullptr, false, joined(index) ? deck.lengthSeconds : position(index));
}

void Engine::setLevel(int index, int hundredthsOfDb) {
    decks_[index]->controls.gain.store(GainOfLevel(hundredthsOfDb), std::memory_order_relaxed);
}

void Engine::setMute(int index, bool muted) {
    decks_[index]->controls.muted.store(muted, std::memory_order_relaxed);
}

uint64_t Engine::generation(int index) const {
    return decks_[index]->uiGeneration;
}

double Engine::position(int index) const {
    const Deck& deck = *decks_[index];
    if (deck.status.heardGeneration.load(std::memory_order_acquire) != deck.uiGeneration)
        return deck.requestedSeconds;
    const double length = joined(index) ? deck.nextLength : deck.lengthSeconds;
    return std::min(deck.status.heardSeconds.load(std::memory_order_relaxed), length);
}

void Engine::setTrackEndListener(int deck, std::function<void(uint64_t)> listener) {
    trackEnded_[deck].set(std::move(listener));
}

void Engine::renderOutput(float* out, int channels, int frames) noexcept {
    if (channels == 2 && !headphones_.active())
        return mixMain(out, frames, false);
    for (int done = 0; done < frames;) {
        const int n = std::min(frames - done, HeadphoneBus::kChunkFrames);
        float* stereo = channels == 4 ? headphones_.mainScratch() : out + 2 * done;
        mixMain(stereo, n, true);
        headphones_.finish(stereo, channels == 4 ? out + 4 * done : nullptr, n);
        done += n;
    }
}

void Engine::mixMain(float* stereo, int frames, bool headphones) noexcept {
    std::fill(stereo, stereo + 2 * frames, 0.0f);
    if (headphones)
        headphones_.begin(frames);
    for (int d = 0; d < kDecks; ++d)
        if (decks_[d]->mixer.mixInto(stereo, frames, headphones ? headphones_.tap(d) : nullptr))
            underruns_.fetch_add(1, std::memory_order_relaxed);
    if (headphones)
        headphones_.takeMain(stereo, frames);
    // The headphones blend the decks' mix as it was before the voice's dip; the jingles are
    // not dipped, and go through the limiter with the rest.
    duck_.process(stereo, frames);
    jingles_.mixInto(stereo, frames);
    // Two loud decks add up beyond full scale. The limiter's look-ahead (1 ms) is not taken
    // off the decks' positions: it is a two-hundred-and-fiftieth of the position display's
    // tick and less than the sound card's own latency, which is not counted either.
    bool silence = false; // nothing playing: the limiter at rest let silence through as it was
    if (bus_ == MasterBus::Limited)
        silence = limiter_.process(stereo, frames);
    else
        for (int i = 0; i < 2 * frames; ++i)
            stereo[i] = std::clamp(stereo[i], -1.0f, 1.0f);
    if (silence)
        masterMeter_.publish(LevelMeter::Block{}, frames);
    else
        masterMeter_.measure(stereo, frames);
    recorder_.take(stereo, frames);
}

void Engine::setOutputListener(std::function<void(const OutputChange&)> listener) {
    outputListener_.set(std::move(listener));
    keeper_.setListener([this](const OutputChange& change) { outputListener_.call(change); });
}

std::string Engine::routeHeadphones(HeadphoneRoute route, DeviceOpener opener) {
    if (route != HeadphoneRoute::SecondDevice) {
        headphones_.setRoute(route);
        phonesKeeper_.reset();
        return {};
    }
    // A keeper of its own, from silence; it keeps the device only once it opened.
    std::unique_ptr<OutputKeeper> fresh;
    if (!phonesKeeper_) {
        fresh = std::make_unique<OutputKeeper>(headphones_.feed(), nullptr, DeviceOpener{}, rate_,
                                               scheduler_);
        fresh->nameThreads("velmor phonekeep", "velmor phones");
        fresh->start();
    }
    OutputKeeper& keeper = fresh ? *fresh : *phonesKeeper_;
    if (std::string error = keeper.switchTo(std::move(opener)); !error.empty())
        return error;
    if (fresh) {
        fresh->setListener([this](const OutputChange& change) {
            OutputChange phones = change;
            phones.headphones = true;
            outputListener_.call(phones);
        });
        phonesKeeper_ = std::move(fresh);
    }
    headphones_.setRoute(HeadphoneRoute::SecondDevice);
    return {};
}

std::string Engine::headphoneName() const {
    return phonesKeeper_ ? phonesKeeper_->name() : std::string();
}

bool Engine::headphonesSilent() const {
    return phonesKeeper_ && phonesKeeper_->silent();
}

double Engine::headphoneLatency() const {
    return phonesKeeper_ ? phonesKeeper_->latencySeconds() : 0;
}

ThreadPriority Engine::threadPriority() const {
    for (const auto& reader : readerPriorities_)
        if (reader.load().kind == ThreadPriority::Normal)
            return reader.load();
    if (phonesKeeper_ && phonesKeeper_->threadPriority().kind == ThreadPriority::Normal)
        return phonesKeeper_->threadPriority();
    return keeper_.threadPriority();
}

double Engine::limiterReductionDb() const {
    return -20.0 * std::log10(static_cast<double>(limiter_.lastGain()));
}

bool Engine::readOnce(int index) {
    Deck& deck = *decks_[index];
    while (auto command = deck.commands.take())
        deck.reader.apply(*command);
    const bool busy = deck.reader.fill(kBlocksPerRound);
    // A join is told before an end that follows it (of a short file gone on into).
    if (const uint64_t joins = deck.status.joins.load(std::memory_order_acquire);
        joins != deck.reportedJoins) {
        deck.reportedJoins = joins;
        trackEnded_[index].call(deck.status.joinedGeneration.load(std::memory_order_relaxed));
    }
    const uint64_t ended = deck.status.endedGeneration.load(std::memory_order_acquire);
    if (ended != deck.reportedEnd) {
        deck.reportedEnd = ended;
        trackEnded_[index].call(ended);
    }
    return busy;
}

void Engine::fillAhead() {
    for (bool busy = true; busy;) {
        busy = false;
        for (int deck = 0; deck < kDecks; ++deck)
            busy |= readOnce(deck);
    }
}

void Engine::readerLoop(int deck) {
    const std::string name = "velmor read " + std::to_string(deck + 1);
    pthread_setname_np(pthread_self(), name.c_str());
    readerPriorities_[deck].store(scheduler_.raise(pthread_self(), AudioThread::Reader));
    for (;;) {
        {
            std::unique_lock lock(wakeMutex_);
            if (quit_)
                return;
        }
        if (readOnce(deck)) {
            // The readers share one real-time priority, at which a thread runs until it
            // waits: after each round a reader steps behind the others, so that a deck
            // whose request has just come (46 ms of audio ahead) is not kept waiting while
            // two others fill their 1.5 s ahead on both cores.
            std::this_thread::yield();
            continue;
        }
        // A playing deck's ring is drained by the audio callback, which cannot wake anyone:
        // its reader looks again soon. A deck standing still drains nothing, and its reader
        // sleeps until it is asked for something.
        std::unique_lock lock(wakeMutex_);
        const Deck& own = *decks_[deck];
        const auto asked = [&] { return quit_ || own.commands.size() > 0; };
        if (own.controls.playing.load(std::memory_order_acquire))
            wake_.wait_for(lock, kReaderPoll, asked);
        else
            wake_.wait(lock, [&] {
                return asked() || own.controls.playing.load(std::memory_order_acquire);
            });
    }
}

} // namespace velmor::audio
