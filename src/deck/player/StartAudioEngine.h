#pragma once

#include "audio/Engine.h"
#include "common/Reporter.h"

#include <QObject>
#include <functional>
#include <future>
#include <memory>

namespace velmor {

// The default sound card, opened (at `sampleRate`, where one is asked for); nothing where
// none can be opened. Slow: PortAudio probes every ALSA device first, which takes longer than
// building the window, so the program opens it on a thread of its own meanwhile.
std::unique_ptr<audio::Output> OpenAudioDevice(int sampleRate = 0);

// The application's engine on `device`, or, where there is none or it cannot start, on a
// silent output that keeps time, with the user told once. Losing the device while playing is
// told the same way, and so is a device coming back: the engine asks `devices` for one while
// it plays silently. The notices do not block. The reporter must outlive the engine.
std::unique_ptr<audio::Engine> StartAudioEngine(Reporter& reporter,
                                                std::unique_ptr<audio::Output> device,
                                                audio::DeviceOpener devices = OpenAudioDevice);
std::unique_ptr<audio::Engine> StartAudioEngine(Reporter& reporter);

// The program's engine, started on the sound card once PortAudio has found it. The search
// runs on a thread of its own from construction, so that the window is built and shown
// meanwhile; the engine then starts from the event loop, or sooner, after the search, for a
// player that needs it first. Whatever the search found, `engine()` gives a running engine.
// Its messages are shown from the event loop, never in the middle of a player's order.
class PendingAudioEngine : public QObject, private Reporter {
public:
    using DeviceSearch = std::function<std::unique_ptr<audio::Output>()>;

    explicit PendingAudioEngine(
        Reporter& reporter, DeviceSearch search = [] { return OpenAudioDevice(); },
        audio::DeviceOpener devices = OpenAudioDevice);
    ~PendingAudioEngine() override;

    audio::Engine& engine();
    bool started() const { return engine_ != nullptr; }
    // Called with the engine as soon as it has started.
    void setStartedListener(std::function<void(audio::Engine&)> listener) {
        started_ = std::move(listener);
    }

private:
    void show(const QString& text, const QString& title, Icon icon) override;
    void notice(const QString& text) override;

    Reporter& reporter_;
    audio::DeviceOpener devices_;
    std::unique_ptr<audio::Engine> engine_;
    std::function<void(audio::Engine&)> started_;
    std::future<std::unique_ptr<audio::Output>> device_;
};

inline const char* const kNoAudioDevice =
    "No audio output device could be opened: Velmor plays on silently, and plays through one as "
    "soon as there is one.";
inline const char* const kAudioDeviceLost =
    "The audio output device stopped working: Velmor plays on silently, and goes back to the "
    "sound card by itself as soon as it is there again.";
inline const char* const kAudioDeviceBack =
    "The audio output is back (%1): the decks are heard again.";
inline const char* const kPhonesDeviceLost =
    "The headphone output stopped working: Velmor goes back to it by itself as soon as it is "
    "there again.";
inline const char* const kPhonesDeviceBack = "The headphone output is back (%1).";

} // namespace velmor
