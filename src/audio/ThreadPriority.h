#pragma once

#include <pthread.h>

namespace velmor::audio {

// The engine's threads that must never wait for the rest of the machine: the ones that call
// the mix (a sound card's callback, the silent output's) and the decks' readers.
enum class AudioThread { Output, Reader };

// What a thread was granted.
struct ThreadPriority {
    enum Kind { NotAsked, RealTime, Normal };
    Kind kind = NotAsked; // Normal: real-time was asked for and refused
    int priority = 0;     // the real-time priority, when granted

    bool operator==(const ThreadPriority&) const = default;
};

// Real-time priorities, the output's above the readers' so that decoding never holds up a
// buffer; both modest (PulseAudio's own is 5, rtkit grants up to 20), and above every
// ordinary program's thread whatever its nice level.
inline constexpr int kOutputPriority = 10;
inline constexpr int kReaderPriority = 9;

// Raises the engine's threads. The engine asks it once for each thread, from a thread that
// may make system calls (never from the audio callback).
class ThreadScheduler {
public:
    virtual ~ThreadScheduler() = default;
    // `thread` is a running thread of this process, alive until this returns.
    virtual ThreadPriority raise(pthread_t thread, AudioThread role) = 0;
};

// The system's: first-in-first-out real-time scheduling at the role's priority (or at the
// highest the process's real-time limit allows, where that is lower); where the system
// refuses, the thread stays as it was. Threads the raised ones start begin as ordinary ones.
ThreadScheduler& SystemScheduler();

} // namespace velmor::audio
