#include "audio/Engine.h"
#include "common/Error.h"
#include "deck/player/EngineOutputs.h"
#include "support/AudioFixtures.h"
#include "support/RecordingReporter.h"

#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
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

std::string Shell(const std::string& command, int* status = nullptr) {
    std::string output;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        char buffer[512];
        while (fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        const int result = pclose(pipe);
        if (status)
            *status = result;
    }
    return output;
}

pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    return pid;
}

void End(pid_t pid) {
    if (pid > 0) {
        kill(pid, SIGINT);
        waitpid(pid, nullptr, 0);
    }
}

// The channels as ALSA's pulse plugin names them: a four-channel stream is quadraphonic, and
// a sink or a recording of another map would mix its channels together.
std::string MapOf(int channels) {
    return channels == 4 ? "front-left,front-right,rear-left,rear-right" : "front-left,front-right";
}

const char* const kNoServer = "the PulseAudio server did not start";

// A PulseAudio server of the test's own with null sinks, reached through ALSA's pulse plugin:
// ALSA's default device is the server's default sink (the first), and each sink is also an
// ALSA device of its own name. Each sink's monitor can be recorded.
class PrivatePulse {
public:
    // Returns what is missing for it, "" when it runs.
    std::string start(const std::vector<std::pair<std::string, int>>& sinks) {
        int status = -1;
        Shell("which pulseaudio pactl parec sox && ls "
              "/usr/lib/*/alsa-lib/libasound_module_pcm_pulse.so",
              &status);
        if (status != 0)
            return "pulseaudio, pulseaudio-utils, sox or libasound2-plugins is not installed";
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
        server += "set-default-sink " + sinks.front().first + "\n";
        velmor::test::WriteBytes(home + "/.asoundrc", alsa);
        velmor::test::WriteBytes(home + "/server.pa", server);
        server_ = Spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                         "--use-pid-file=no", "--system=false", "-F", home + "/server.pa"});
        status = -1;
        for (int attempt = 0; attempt < 100 && status != 0; ++attempt) {
            std::this_thread::sleep_for(100ms);
            Shell("pactl info", &status);
        }
        if (status != 0)
            return kNoServer;
        // An idle sink starts its monitor late; waking it once first avoids that.
        for (const auto& sink : sinks)
            Shell("pactl suspend-sink " + sink.first + " 1; pactl suspend-sink " + sink.first +
                  " 0");
        return {};
    }
    void record(const std::string& sink, int channels) {
        recorders_.push_back(
            Spawn({"parec", "--latency-msec=20", "-d", sink + ".monitor", "--file-format=wav",
                   "--rate=48000", "--channels=" + std::to_string(channels),
                   "--channel-map=" + MapOf(channels), file(sink)}));
        std::this_thread::sleep_for(300ms);
    }
    void stop() {
        for (pid_t recorder : recorders_)
            End(recorder);
        recorders_.clear();
        End(server_);
        server_ = -1;
    }
    ~PrivatePulse() { stop(); }
    std::string file(const std::string& sink) const { return home + "/" + sink + ".wav"; }
    // Channels `first` and `first + 1` of a recording, without the silence before and after.
    std::vector<float> sounding(const std::string& sink, int first = 1) const {
        const std::string part = home + "/" + sink + std::to_string(first) + ".wav";
        Shell("sox '" + file(sink) + "' '" + part + "' remix " + std::to_string(first) + " " +
              std::to_string(first + 1) + " silence 1 0.005 2% reverse silence 1 0.005 2% reverse");
        return velmor::test::DecodeAll(part);
    }

    QTemporaryDir dir;
    const std::string home = dir.path().toStdString();

private:
    pid_t server_ = -1;
    std::vector<pid_t> recorders_;
};

constexpr double kCued = 440, kRoom = 660; // deck 1 is pre-listened at volume 0, deck 2 plays
constexpr double kPlaySeconds = 4;

// The set-up's devices on an engine, the two decks playing their tones through them, and
// `meanwhile` done halfway.
void PlayTwoDecks(
    const velmor::AudioSetup& setup, const std::string& home,
    const std::function<void(velmor::EngineOutputs&, velmor::audio::Engine&)>& meanwhile) {
    using namespace velmor;
    std::vector<std::string> tones;
    for (double frequency : {kCued, kRoom}) {
        tones.push_back(home + "/" + std::to_string(int(frequency)) + ".wav");
        test::WriteWav(tones.back(), test::Tone(frequency, kPlaySeconds, 48000), 48000, 1);
    }
    audio::Engine engine(MainOpener(setup)(48000), MainOpener(setup));
    test::RecordingReporter reporter;
    EngineOutputs outputs(
        setup, [&engine]() -> audio::Engine& { return engine; }, reporter);
    outputs.attach(engine);
    EXPECT_TRUE(reporter.told.empty()) << reporter.told.front().toStdString();
    std::this_thread::sleep_for(2s); // the server holds a new stream a while before playing it
    for (int d = 0; d < 2; ++d)
        engine.load(d, audio::OpenDecoder(tones[d]));
    engine.setLevel(0, -4500); // the bottom of the deck's volume
    engine.setPrelisten(0, true);
    engine.play(0);
    engine.play(1);
    std::this_thread::sleep_for(std::chrono::duration<double>(kPlaySeconds / 2));
    meanwhile(outputs, engine);
    std::this_thread::sleep_for(std::chrono::duration<double>(kPlaySeconds / 2 + 0.5));
}

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

// The whole path to a sound card, once per kind of output: the engine through PortAudio and
// ALSA into PulseAudio null sinks, whose monitors are recorded and measured. Deck 1 is cued at
// the bottom of its volume, deck 2 plays to the room.
TEST(DeviceTest, EachKindOfOutputCarriesTheRoomAndTheHeadphonesWholeAndInTune) {
    using velmor::AudioSetup, velmor::PhonesRoute, velmor::EngineOutputs, velmor::audio::Engine;
    struct Case {
        std::vector<std::pair<std::string, int>> sinks;
        AudioSetup setup;
        std::pair<std::string, int> phones; // the sink and first channel; "" for none
        std::function<void(EngineOutputs&, Engine&)> meanwhile;
    };
    const AudioSetup stereo{"", PhonesRoute::None, "", 256}; // the default device
    const AudioSetup two{"velmor_room", PhonesRoute::Device, "velmor_phones", 256};
    const AudioSetup quad{"velmor_quad", PhonesRoute::MainChannels, "", 256};
    const Case cases[] = {
        {{{"velmor_room", 2}}, stereo, {}, [](EngineOutputs&, Engine&) {}},
        // A headphone device that cannot be opened leaves both playing.
        {{{"velmor_room", 2}, {"velmor_phones", 2}},
         two,
         {"velmor_phones", 1},
         [&](EngineOutputs& outputs, Engine&) {
             AudioSetup refused = two;
             refused.phonesDevice = "velmor_nowhere";
             EXPECT_THROW(outputs.setSetup(refused), velmor::Error);
             EXPECT_EQ(outputs.Setup(), two);
         }},
        // A new buffer size reopens the stream, and the decks play on from where they were.
        {{{"velmor_quad", 4}},
         quad,
         {"velmor_quad", 3},
         [&](EngineOutputs& outputs, Engine& engine) {
             const double before = engine.position(1);
             AudioSetup larger = quad;
             larger.bufferFrames = 1024;
             outputs.setSetup(larger);
             EXPECT_EQ(outputs.Setup(), larger);
             EXPECT_GE(engine.position(1), before);
             EXPECT_LT(engine.position(1), before + 0.3);
         }},
    };
    for (const Case& c : cases) {
        const std::string room = c.sinks.front().first; // the default sink
        PrivatePulse pulse;
        if (const std::string missing = pulse.start(c.sinks); !missing.empty()) {
            ASSERT_NE(missing, kNoServer);
            GTEST_SKIP() << "skipped: " << missing;
        }
        for (const auto& [sink, channels] : c.sinks)
            pulse.record(sink, channels);
        PlayTwoDecks(c.setup, pulse.home, c.meanwhile);
        pulse.stop();
        const Heard main = Measure(pulse.sounding(room));
        EXPECT_NEAR(main.seconds, kPlaySeconds, 0.15) << room << ": whole, nothing replayed";
        EXPECT_NEAR(main.roomDb, -6, 0.5) << room;
        EXPECT_LT(main.cuedDb, main.roomDb - 35) << room; // 45 dB down, at the law's bottom
        if (c.phones.first.empty())
            continue;
        const Heard phones = Measure(pulse.sounding(c.phones.first, c.phones.second));
        EXPECT_NEAR(phones.seconds, kPlaySeconds, 0.15) << room;
        EXPECT_NEAR(phones.cuedDb, -6 - 9, 0.5) << room; // the headphones' level, 80 on the law
        EXPECT_LT(phones.roomDb, -60) << room;
    }
}
