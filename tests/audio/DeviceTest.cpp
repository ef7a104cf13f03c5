#include "audio/Engine.h"
#include "audio/PortAudioOutput.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <regex>
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

bool OnPath(const char* program) {
    int status = -1;
    Shell(std::string("command -v ") + program, &status);
    return status == 0;
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

double Stat(const std::string& stats, const char* name) {
    std::smatch match;
    if (std::regex_search(stats, match, std::regex(std::string(name) + ":\\s*(-?[0-9.]+)")))
        return std::stod(match[1]);
    return -1;
}

} // namespace

// The whole path to a sound card: the engine through PortAudio and ALSA into a PulseAudio
// null sink, whose monitor is recorded and measured.
TEST(DeviceTest, ToneReachesTheSoundCardWholeAndInTune) {
    for (const char* program : {"pulseaudio", "pactl", "parec", "sox"})
        if (!OnPath(program))
            GTEST_SKIP() << "skipped: " << program
                         << " is not installed (packages pulseaudio, pulseaudio-utils, sox)";
    if (Shell("ls /usr/lib/*/alsa-lib/libasound_module_pcm_pulse.so").find("pulse") ==
        std::string::npos)
        GTEST_SKIP() << "skipped: the ALSA pulse plugin (libasound2-plugins) is not installed";

    velmor::test::KeepSoundPluginsLoaded();
    QTemporaryDir dir;
    const std::string home = dir.path().toStdString();
    const std::string socket = home + "/pulse.sock";
    setenv("HOME", home.c_str(), 1); // ALSA reads ~/.asoundrc: its default device is pulse
    setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
    setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    velmor::test::WriteBytes(home + "/.asoundrc",
                             "pcm.!default { type pulse }\nctl.!default { type pulse }\n");
    velmor::test::WriteBytes(
        home + "/server.pa",
        "load-module module-native-protocol-unix auth-anonymous=1 socket=" + socket +
            "\nload-module module-null-sink sink_name=velmor_test\n"
            "set-default-sink velmor_test\n");
    const pid_t server = Spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                "--use-pid-file=no", "--system=false", "-F", home + "/server.pa"});
    ASSERT_GT(server, 0);
    int status = -1;
    for (int attempt = 0; attempt < 100 && status != 0; ++attempt) {
        std::this_thread::sleep_for(100ms);
        Shell("pactl info", &status);
    }
    ASSERT_EQ(status, 0) << "the PulseAudio server did not start";
    // An idle sink starts its monitor late; waking it once first avoids that.
    Shell("pactl suspend-sink velmor_test 1; pactl suspend-sink velmor_test 0");

    const std::string tone = home + "/tone.wav", recording = home + "/recording.wav";
    velmor::test::WriteWav(tone, velmor::test::Tone(440, 2.0, 44100, 0.5f), 44100, 1);
    const pid_t recorder = Spawn({"parec", "--latency-msec=20", "-d", "velmor_test.monitor",
                                  "--file-format=wav", recording});
    std::this_thread::sleep_for(300ms);
    {
        std::unique_ptr<velmor::audio::PortAudioOutput> output;
        try {
            output = std::make_unique<velmor::audio::PortAudioOutput>();
        } catch (const std::exception& e) {
            End(recorder);
            End(server);
            FAIL() << "no device through the pulse plugin: " << e.what();
        }
        velmor::audio::Engine engine(std::move(output));
        // The server holds a new stream for a second or more before it plays it, and the
        // monitor gives nothing until the sink plays: a tone started at once lost its first
        // tens of milliseconds in the recording, now and then.
        std::this_thread::sleep_for(2s);
        std::atomic<bool> ended{false};
        engine.setTrackEndListener(0, [&ended](uint64_t) { ended = true; });
        engine.load(0, velmor::audio::OpenDecoder(tone));
        engine.play(0);
        const auto giveUp = std::chrono::steady_clock::now() + 30s; // a hang, not a timing
        while (!ended && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(20ms);
        EXPECT_TRUE(ended);
        std::this_thread::sleep_for(400ms); // the device's own latency
    }
    End(recorder);
    End(server);

    // The tone alone, without the silence before and after it.
    const std::string trimmed = home + "/trimmed.wav";
    Shell("sox '" + recording + "' '" + trimmed +
          "' remix 1 silence 1 0.005 2% reverse silence 1 0.005 2% reverse");
    const std::string stats = Shell("sox '" + trimmed + "' -n stat");
    std::printf("The recorded tone:\n%s", stats.c_str());
    EXPECT_NEAR(Stat(stats, "Length \\(seconds\\)"), 2.0, 0.05) << stats;
    EXPECT_NEAR(Stat(stats, "Rough\\s+frequency"), 440, 5) << stats;
    EXPECT_NEAR(Stat(stats, "RMS\\s+amplitude"), 0.5 / std::sqrt(2.0), 0.02) << stats;
    EXPECT_NEAR(Stat(stats, "Maximum amplitude"), 0.5, 0.02) << stats;
}
