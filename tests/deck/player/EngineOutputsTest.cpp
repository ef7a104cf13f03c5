#include "deck/player/EngineOutputs.h"
#include "audio/Engine.h"
#include "audio/PortAudioOutput.h"
#include "legacy/Error.h"
#include "support/AudioFixtures.h"
#include "support/FakeCards.h"
#include "support/RecordingReporter.h"

#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace velmor;
using namespace velmor::test;

namespace {

int Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

struct LossListener : audio::OutputCallback {
    void renderOutput(float* out, int channels, int frames) noexcept override {
        std::fill(out, out + channels * frames, 0.0f);
    }
    void fillAhead() override {}
    void outputLost() noexcept override { lost = true; }
    void outputUnderflowed() noexcept override {}
    std::atomic<bool> lost{false};
};

} // namespace

// A deck played through PortAudio and ALSA into PulseAudio null sinks: the room on the default
// device with headphones on a device of their own, then headphones on channels 3-4 of a
// four-channel device, then back. A headphone device that cannot be opened changes nothing;
// each change reopens the streams and the deck plays on from where it was, on the cards,
// not on the silent stand-in; a stream whose server goes away says it is lost. (What the
// sinks hear is measured by the end-to-end scenes.)
TEST(EngineOutputsTest, EachKindOfOutputPlaysOnAndTheDeckGoesOnFromWhereItWas) {
    if (Shell("which pulseaudio pactl && "
              "ls /usr/lib/*/alsa-lib/libasound_module_pcm_pulse.so") != 0)
        GTEST_SKIP() << "pulseaudio, pulseaudio-utils or libasound2-plugins is missing";
    // A PulseAudio server of the test's own with null sinks (their clocks pace the streams),
    // reached through ALSA's pulse plugin: ALSA's default device is the first sink, and each
    // sink is also an ALSA device of its own name.
    test::KeepSoundPluginsLoaded();
    QTemporaryDir dir;
    const std::string home = dir.path().toStdString(), socket = home + "/pulse.sock";
    setenv("HOME", home.c_str(), 1); // ALSA reads ~/.asoundrc
    setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
    setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    std::string alsa = "pcm.!default { type pulse }\nctl.!default { type pulse }\n";
    std::string server = "pulseaudio -n --daemonize=yes --exit-idle-time=-1 -L "
                         "'module-native-protocol-unix auth-anonymous=1 socket=" +
                         socket + "'";
    for (const auto& [name, channels] :
         {std::pair{"velmor_room", '2'}, {"velmor_phones", '2'}, {"velmor_quad", '4'}}) {
        alsa += std::string("pcm.") + name + " { type pulse device " + name + " }\n";
        server +=
            std::string(" -L 'module-null-sink sink_name=") + name + " channels=" + channels + "'";
    }
    test::WriteBytes(home + "/.asoundrc", alsa);
    const std::shared_ptr<void> stop(nullptr, [](void*) { Shell("pactl exit"); });
    ASSERT_EQ(Shell(server + " && pactl set-default-sink velmor_room"), 0)
        << "the PulseAudio server did not start";
    test::WriteWav(home + "/tone.wav", test::Tone(440, 30, 48000), 48000, 1);
    const AudioSetup own{"", PhonesRoute::Device, "velmor_phones", 256};
    audio::Engine engine(MainOpener(own)(48000), MainOpener(own));
    test::RecordingReporter reporter;
    EngineOutputs outputs(
        own, [&engine]() -> audio::Engine& { return engine; }, reporter);
    outputs.attach(engine);
    EXPECT_TRUE(reporter.told.empty()) << reporter.told.front().toStdString();
    engine.load(0, audio::OpenDecoder(home + "/tone.wav"));
    engine.play(0);
    // Each set-up plays on the cards, and the deck moves on with the cards' clocks.
    const auto playsOn = [&](const AudioSetup& setup, const char* phones) {
        EXPECT_EQ(outputs.Setup(), setup);
        const OutputsState state = outputs.State();
        EXPECT_EQ(state.phones.toStdString(), phones);
        EXPECT_FALSE(state.mainSilent) << phones;
        EXPECT_FALSE(state.phonesSilent) << phones;
        const double at = engine.position(0);
        EXPECT_TRUE(test::WaitFor([&] { return engine.position(0) > at + 0.5; })) << phones;
    };
    playsOn(own, "velmor_phones");
    EXPECT_THROW(outputs.setSetup({"", PhonesRoute::Device, "velmor_nowhere", 256}), Error);
    EXPECT_EQ(outputs.Setup(), own);
    const double before = engine.position(0);
    const auto asked = std::chrono::steady_clock::now();
    const AudioSetup quad{"velmor_quad", PhonesRoute::MainChannels, "", 1024};
    outputs.setSetup(quad);
    const std::chrono::duration<double> switching = std::chrono::steady_clock::now() - asked;
    // The old device plays on while the new one opens (a busy machine can take a second for
    // that), so the deck moves on by as long as the switch took; beyond that, by at most the
    // new device's first fill, 1024-frame buffers at four times the 35 ms latency of 256-frame
    // ones (0.14 s), and a buffer of the old one (5 ms): 0.3 s leaves twice that. A deck that
    // started over or skipped ahead would be seconds off.
    EXPECT_GE(engine.position(0), before);
    EXPECT_LT(engine.position(0), before + switching.count() + 0.3);
    playsOn(quad, "");
    outputs.setSetup(own);
    playsOn(own, "velmor_phones");
    LossListener listener;
    audio::PortAudioOutput card(48000, "velmor_room");
    card.start(listener);
    Shell("pactl exit");
    EXPECT_TRUE(test::WaitFor([&] { return listener.lost.load(); }));
}
