#include "audio/Engine.h"
#include "common/Error.h"
#include "deck/player/EngineOutputs.h"
#include "support/AudioFixtures.h"
#include "support/RecordingReporter.h"

#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

// ALSA and PulseAudio keep their configuration caches for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libasound\nleak:libasound_module\nleak:libpulse\nleak:libportaudio\nleak:"
           "libdbus\n";
}

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Sinks = std::vector<std::pair<std::string, int>>; // names and channels, the default first

int Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

// The channels as ALSA's pulse plugin names them: a four-channel stream is quadraphonic, and
// a sink or a recording of another map would mix its channels together.
std::string MapOf(int channels) {
    return channels == 4 ? "front-left,front-right,rear-left,rear-right" : "front-left,front-right";
}

// A PulseAudio server of the test's own with null sinks, reached through ALSA's pulse plugin:
// ALSA's default device is the server's default sink, and each sink is also an ALSA device of
// its own name. Each sink's monitor is recorded from the start.
class PrivatePulse {
public:
    bool start(const Sinks& sinks) {
        velmor::test::KeepSoundPluginsLoaded();
        const std::string socket = home + "/pulse.sock";
        setenv("HOME", home.c_str(), 1); // ALSA reads ~/.asoundrc
        setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
        setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
        std::string alsa = "pcm.!default { type pulse }\nctl.!default { type pulse }\n";
        std::string server =
            "load-module module-native-protocol-unix auth-anonymous=1 socket=" + socket + "\n";
        for (const auto& [name, channels] : sinks) {
            alsa += "pcm." + name + " { type pulse device " + name + " }\n";
            server += "load-module module-null-sink sink_name=" + name +
                      " channels=" + std::to_string(channels) + " channel_map=" + MapOf(channels) +
                      "\n";
        }
        velmor::test::WriteBytes(home + "/.asoundrc", alsa);
        velmor::test::WriteBytes(home + "/server.pa",
                                 server + "set-default-sink " + sinks.front().first + "\n");
        spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
               "--system=false", "-F", home + "/server.pa"});
        for (int attempt = 0; attempt < 100 && Shell("pactl info") != 0; ++attempt)
            std::this_thread::sleep_for(100ms);
        if (Shell("pactl info") != 0)
            return false;
        for (const auto& [sink, channels] : sinks) {
            // An idle sink starts its monitor late; waking it once first avoids that.
            Shell("pactl suspend-sink " + sink + " 1; pactl suspend-sink " + sink + " 0");
            spawn({"parec", "--latency-msec=20", "-d", sink + ".monitor", "--file-format=wav",
                   "--rate=48000", "--channels=" + std::to_string(channels),
                   "--channel-map=" + MapOf(channels), home + "/" + sink + ".wav"});
        }
        std::this_thread::sleep_for(300ms);
        return true;
    }
    // The recorders, then the server (the first spawned).
    void stop() {
        for (; !pids_.empty(); pids_.pop_back()) {
            kill(pids_.back(), SIGINT);
            waitpid(pids_.back(), nullptr, 0);
        }
    }
    ~PrivatePulse() { stop(); }
    // Channels `first` and `first + 1` of a recording, without the silence before and after.
    std::vector<float> sounding(const std::string& sink, int first) const {
        const std::string part = home + "/" + sink + std::to_string(first) + ".wav";
        Shell("sox '" + home + "/" + sink + ".wav' '" + part + "' remix " + std::to_string(first) +
              " " + std::to_string(first + 1) +
              " silence 1 0.005 2% reverse silence 1 0.005 2% reverse");
        return velmor::test::DecodeAll(part);
    }

    QTemporaryDir dir;
    const std::string home = dir.path().toStdString();

private:
    void spawn(std::vector<std::string> args) {
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        pid_t pid = -1;
        if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0)
            pids_.push_back(pid);
    }
    std::vector<pid_t> pids_;
};

constexpr double kCued = 440, kRoom = 660; // deck 1 is pre-listened at volume 0, deck 2 plays
constexpr double kPlaySeconds = 4;

// Of a recording's sounding part, its length and how loud each deck's tone is in its middle.
struct Heard {
    double seconds, cuedDb, roomDb;
};
// The level is taken on either side of the middle, where the change made halfway may shift a
// tone's phase (a window across such a shift cancels part of the tone), and averaged.
Heard Measure(const std::vector<float>& stereo) {
    const long frames = static_cast<long>(stereo.size() / 2);
    auto level = [&](double tone) {
        double power = 0;
        for (long from : {frames / 8, 5 * frames / 8})
            power +=
                std::pow(10.0,
                         velmor::test::ToneDb(stereo, from, from + frames / 4, tone, 48000) / 10) /
                2;
        return 10 * std::log10(power);
    };
    return {frames / 48000.0, level(kCued), level(kRoom)};
}

} // namespace

// The whole path to a sound card, for headphones on a device of their own and on channels 3-4
// of the main one: the engine through PortAudio and ALSA into PulseAudio null sinks, whose
// monitors are recorded and measured. Deck 1 is cued at the bottom of its volume, deck 2 plays
// to the room. Halfway, a headphone device that cannot be opened leaves both playing, and a
// new buffer size reopens the streams: the decks play on from where they were, whole and in
// tune.
TEST(DeviceTest, EachKindOfOutputCarriesTheRoomAndTheHeadphonesWholeAndInTune) {
    using namespace velmor;
    if (Shell("which pulseaudio pactl parec sox && "
              "ls /usr/lib/*/alsa-lib/libasound_module_pcm_pulse.so") != 0)
        GTEST_SKIP() << "pulseaudio, pulseaudio-utils, sox or libasound2-plugins is missing";
    struct Case {
        Sinks sinks;
        AudioSetup setup;
        std::pair<std::string, int> phones; // the sink and its first channel
    } cases[] = {
        {{{"velmor_room", 2}, {"velmor_phones", 2}},
         {"", PhonesRoute::Device, "velmor_phones", 256}, // the default device for the room
         {"velmor_phones", 1}},
        {{{"velmor_quad", 4}},
         {"velmor_quad", PhonesRoute::MainChannels, "", 256},
         {"velmor_quad", 3}},
    };
    for (const Case& c : cases) {
        const std::string room = c.sinks.front().first;
        PrivatePulse pulse;
        ASSERT_TRUE(pulse.start(c.sinks)) << "the PulseAudio server did not start";
        std::vector<std::string> tones;
        for (double frequency : {kCued, kRoom}) {
            tones.push_back(pulse.home + "/" + std::to_string(int(frequency)) + ".wav");
            test::WriteWav(tones.back(), test::Tone(frequency, kPlaySeconds, 48000), 48000, 1);
        }
        {
            audio::Engine engine(MainOpener(c.setup)(48000), MainOpener(c.setup));
            test::RecordingReporter reporter;
            EngineOutputs outputs(
                c.setup, [&engine]() -> audio::Engine& { return engine; }, reporter);
            outputs.attach(engine);
            EXPECT_TRUE(reporter.told.empty()) << reporter.told.front().toStdString();
            const OutputsState state = outputs.State();
            EXPECT_EQ(state.phones, c.setup.phonesDevice);
            EXPECT_FALSE(state.mainSilent || state.phonesSilent);
            std::this_thread::sleep_for(2s); // the server holds a new stream before playing it
            for (int d = 0; d < 2; ++d)
                engine.load(d, audio::OpenDecoder(tones[d]));
            engine.setLevel(0, -4500); // the bottom of the deck's volume
            engine.setPrelisten(0, true);
            engine.play(0);
            engine.play(1);
            std::this_thread::sleep_for(std::chrono::duration<double>(kPlaySeconds / 2));
            if (c.setup.phones == PhonesRoute::Device) { // one that cannot be opened
                AudioSetup refused = c.setup;
                refused.phonesDevice = "velmor_nowhere";
                EXPECT_THROW(outputs.setSetup(refused), Error);
                EXPECT_EQ(outputs.Setup(), c.setup);
            }
            const double before = engine.position(1);
            AudioSetup larger = c.setup; // reopens the streams
            larger.bufferFrames = 1024;
            outputs.setSetup(larger);
            EXPECT_EQ(outputs.Setup(), larger);
            EXPECT_GE(engine.position(1), before);
            EXPECT_LT(engine.position(1), before + 0.3);
            std::this_thread::sleep_for(std::chrono::duration<double>(kPlaySeconds / 2 + 0.5));
        }
        pulse.stop();
        const Heard main = Measure(pulse.sounding(room, 1));
        EXPECT_NEAR(main.seconds, kPlaySeconds, 0.15) << room << ": whole, nothing replayed";
        EXPECT_NEAR(main.roomDb, -6, 0.5) << room;
        EXPECT_LT(main.cuedDb, main.roomDb - 35) << room; // 45 dB down, at the law's bottom
        const Heard phones = Measure(pulse.sounding(c.phones.first, c.phones.second));
        EXPECT_NEAR(phones.seconds, kPlaySeconds, 0.15) << room;
        EXPECT_NEAR(phones.cuedDb, -6 - 9, 0.5) << room; // the headphones' level, 80 on the law
        EXPECT_LT(phones.roomDb, -60) << room;
    }
}
