#pragma once

#include <pthread.h>
#include <sys/types.h>
#include <vector>

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

// Real-time priorities: above every ordinary thread of the machine whatever its nice level,
// the output's above the readers' so that decoding never holds up a buffer, and both below
// the sound server's own real-time thread (PulseAudio's is 5), which must never wait for a
// deck decoding.
inline constexpr int kOutputPriority = 4;
inline constexpr int kReaderPriority = 3;

// Raises the engine's threads. The engine asks it once for each thread, from a thread that
// may make system calls (never from the audio callback).
class ThreadScheduler {
public:
    virtual ~ThreadScheduler() = default;
    // `thread` is a running thread of this process, alive until this returns.
    virtual ThreadPriority raise(pthread_t thread, AudioThread role) = 0;
    // The same for a thread a library started, known by its system-wide id.
    virtual ThreadPriority raiseTask(pid_t task, AudioThread role) = 0;
};

// The system's: first-in-first-out real-time scheduling at the role's priority (or at the
// highest the process's real-time limit allows, where that is lower); where the system
// refuses, the thread stays as it was. Threads the raised ones start begin as ordinary ones.
ThreadScheduler& SystemScheduler();

// The threads of this process that PulseAudio's client library runs (in its ALSA plug-in,
// say) to carry streams to the sound server: audio waits for them as much as for the mix.
std::vector<pid_t> SoundServerClientThreads();

} // namespace velmor::audio
