#pragma once

#include <string>

namespace velmor::audio {

// $XDG_RUNTIME_DIR, or empty.
std::string RuntimeFolder();

// Whether a JACK server may be running: a jackd's socket in the shared-memory folder
// (jack_NAME_UID_0), a jackd1's folder there (jack-UID), or PipeWire's socket in the
// session's runtime folder (whose libjack speaks to it). Looks at the folders only.
bool JackServerMayRun(const std::string& sharedMemory = "/dev/shm",
                      const std::string& runtime = RuntimeFolder());

// libjack is asked for a client only while a server may run: its attempt without one opens
// its metadata database, which maps 1.5 MB of Berkeley DB into the process, and PortAudio's
// look for a card makes three such attempts (its JACK host, and ALSA's JACK device twice).
// This program therefore defines jack_client_open itself, and every caller in the process
// reaches it: without a server it fails at once, as libjack would; with one, it is
// libjack's own.

} // namespace velmor::audio
