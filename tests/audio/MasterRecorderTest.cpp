#include "audio/MasterRecorder.h"
#include "audio/Decoder.h"
#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "support/AudioFixtures.h"
#include "support/FakeCards.h"

#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 48000;
// Two steps of 16 bits: libsndfile writes full scale as 2^15 - 1 and reads it as 2^15.
constexpr double kTwoSteps16 = 2.0 / (1 << 15);

// Every frame of a sound file up to where it can be read, interleaved stereo; also of a file
// whose header gives no length.
std::vector<float> ReadFrames(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return {};
    std::vector<float> all, block(2 * 1024);
    for (sf_count_t n; (n = sf_readf_float(file, block.data(), 1024)) > 0;)
        all.insert(all.end(), block.begin(), block.begin() + 2 * n);
    sf_close(file);
    return all;
}

// Takes frames, and fails as a full disk does once it holds `room` of them.
class FullDisk : public audio::RecordingSink {
public:
    explicit FullDisk(int64_t room) : room_(room) {}
    bool write(const float*, int64_t frames) override {
        room_ -= frames;
        return room_ >= 0;
    }
    bool sync() override { return true; }
    bool finish() override { return true; }
    std::string error() const override { return "No space left on device"; }
    uint64_t bytes() const override { return 0; }

private:
    int64_t room_;
};

class MasterRecorderTest : public ::testing::Test {
protected:
    std::unique_ptr<audio::Engine> playingEngine(audio::OfflineOutput*& driver) {
        auto output = std::make_unique<audio::OfflineOutput>(kRate, 256);
        driver = output.get();
        auto engine = std::make_unique<audio::Engine>(std::move(output));
        engine->load(0, audio::OpenDecoder(tone));
        engine->play(0);
        return engine;
    }
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    std::string tone = [this] {
        WriteWav(path("tone.wav"), Tone(440, 6, kRate, 1.0f), kRate, 1);
        return path("tone.wav");
    }();
};

} // namespace

// The file holds the master as the output was given it, after the limiter (turning a tone at
// full scale down), to the 16-bit step, from the first buffer after the start to the last
// before the stop.
TEST_F(MasterRecorderTest, TheRecordingHoldsTheSamplesTheOutputWasGiven) {
    audio::OfflineOutput* driver = nullptr;
    auto engine = playingEngine(driver);
    driver->render(kRate / 2);
    engine->recorder().start(audio::OpenFlacRecording(path("evening.flac"), kRate));
    const std::vector<float> heard = driver->render(2 * kRate);
    EXPECT_EQ(engine->recorder().stop(), "");
    driver->render(kRate / 2);

    const std::vector<float> recorded = ReadFrames(path("evening.flac"));
    ASSERT_EQ(recorded.size(), heard.size());
    for (size_t i = 0; i < heard.size(); ++i)
        ASSERT_NEAR(recorded[i], heard[i], kTwoSteps16) << "sample " << i;
}

// A disk that fills ends the recording with its reason; the output goes on as it would
// without a recording, sample for sample.
TEST_F(MasterRecorderTest, AFullDiskEndsTheRecordingAndTheMusicPlaysOnUntouched) {
    audio::OfflineOutput *recorded = nullptr, *alone = nullptr;
    auto engine = playingEngine(recorded);
    auto without = playingEngine(alone);
    engine->recorder().start(std::make_unique<FullDisk>(kRate));

    const std::vector<float> first = recorded->render(2 * kRate);
    WaitFor([&] { return !engine->recorder().status().recording; });
    const std::vector<float> after = recorded->render(2 * kRate);

    EXPECT_EQ(engine->recorder().status().failure, "No space left on device");
    EXPECT_EQ(first, alone->render(2 * kRate));
    EXPECT_EQ(after, alone->render(2 * kRate));
    EXPECT_EQ(engine->recorder().stop(), "No space left on device");
}

// The file's own failure on a full disk carries the system's reason.
TEST_F(MasterRecorderTest, AFlacFileOnAFullDiskFailsWithTheSystemsReason) {
    auto sink = audio::OpenFlacRecording("/dev/full", kRate);
    const std::vector<float> block(2 * 4096, 0.25f);
    bool written = true;
    for (int i = 0; i < 100 && written; ++i)
        written = sink->write(block.data(), 4096);
    EXPECT_FALSE(written);
    EXPECT_EQ(sink->error(), "No space left on device");
}

// A disk that stalls never holds up the audio thread: what the ring cannot hold is dropped
// and counted, and every frame taken is either written or counted as dropped.
TEST_F(MasterRecorderTest, AStalledDiskDropsWhatTheRingCannotHold) {
    class StalledDisk : public FullDisk {
    public:
        StalledDisk(std::atomic<bool>& go) : FullDisk(1 << 30), go_(go) {}
        bool write(const float* stereo, int64_t frames) override {
            WaitFor([this] { return go_.load(); });
            return FullDisk::write(stereo, frames);
        }

    private:
        std::atomic<bool>& go_;
    };
    std::atomic<bool> go{false};
    audio::MasterRecorder recorder(kRate);
    recorder.start(std::make_unique<StalledDisk>(go));
    const std::vector<float> buffer(2 * 480, 0.25f);
    const int buffers = 12 * 100; // 12 s
    for (int i = 0; i < buffers; ++i)
        recorder.take(buffer.data(), 480);
    go = true;
    recorder.stop();

    const audio::MasterRecorder::Status status = recorder.status();
    EXPECT_GT(status.droppedFrames, 0);
    EXPECT_EQ(status.frames + status.droppedFrames, buffers * 480);
}

// A recording whose program is killed reads up to the last block its encoder finished, and
// that is the length it plays for.
TEST_F(MasterRecorderTest, AKilledRecordingReadsUpToWhereItWasWritten) {
    const std::string file = path("killed.flac");
    const std::vector<float> sound = Stereo(Tone(330, 3, kRate));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        audio::MasterRecorder recorder(kRate);
        recorder.start(audio::OpenFlacRecording(file, kRate));
        for (size_t at = 0; at < sound.size(); at += 2 * 256)
            recorder.take(sound.data() + at, int(std::min<size_t>(256, (sound.size() - at) / 2)));
        WaitFor([&] { return recorder.status().frames == 3 * kRate; });
        (void)!write(ready[1], "w", 1);
        pause(); // until killed, the file unfinished
        _exit(1);
    }
    char written = 0;
    ASSERT_EQ(read(ready[0], &written, 1), 1);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::vector<float> read = ReadFrames(file);
    const size_t encoderBlock = 2 * 4096; // the encoder's block still in its hands
    ASSERT_GE(read.size() + encoderBlock, sound.size());
    for (size_t i = 0; i < read.size(); ++i)
        ASSERT_NEAR(read[i], sound[i], kTwoSteps16) << "sample " << i;
    EXPECT_EQ(audio::OpenDecoder(file)->lengthFrames(), int64_t(read.size() / 2))
        << "played back, its length is what can be read, though its header gives none";
}
