#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "support/AudioFixtures.h"
#include "support/FakeCards.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <mutex>
#include <sched.h>
#include <thread>
#include <vector>

using namespace velmor;
using namespace velmor::test;
using audio::AudioThread;
using audio::ThreadPriority;

namespace {

// Grants or refuses every request as told, and notes which threads asked for what.
class RecordingScheduler : public audio::ThreadScheduler {
public:
    explicit RecordingScheduler(ThreadPriority answer) : answer_(answer) {}

    ThreadPriority raise(pthread_t thread, AudioThread role) override {
        std::lock_guard lock(mutex_);
        asked_.push_back({thread, role});
        return answer_;
    }
    ThreadPriority raiseTask(pid_t task, AudioThread role) override {
        std::lock_guard lock(mutex_);
        tasks_.push_back({task, role});
        return answer_;
    }
    std::vector<std::pair<pid_t, AudioThread>> tasks() const {
        std::lock_guard lock(mutex_);
        return tasks_;
    }
    // The distinct threads asked for `role`.
    std::vector<pthread_t> threads(AudioThread role) const {
        std::lock_guard lock(mutex_);
        std::vector<pthread_t> found;
        for (const Asked& a : asked_)
            if (a.role == role && std::none_of(found.begin(), found.end(), [&](pthread_t t) {
                    return pthread_equal(t, a.thread);
                }))
                found.push_back(a.thread);
        return found;
    }

private:
    struct Asked {
        pthread_t thread;
        AudioThread role;
    };
    const ThreadPriority answer_;
    mutable std::mutex mutex_;
    std::vector<Asked> asked_;
    std::vector<std::pair<pid_t, AudioThread>> tasks_;
};

} // namespace

// A desktop may refuse real-time scheduling: the engine then plays on at normal priority,
// and says it was refused.
TEST(ThreadPriorityTest, ARefusedRequestLeavesTheEnginePlaying) {
    QTemporaryDir dir;
    WriteWav(dir.filePath("tone.wav").toStdString(), Tone(440, 10, 48000), 48000, 1);
    RecordingScheduler refusing({ThreadPriority::Normal, 0});
    FakeCards cards;
    audio::Engine engine(cards.open(48000), cards.opener(), audio::Engine::MasterBus::Limited,
                         refusing);
    engine.load(0, audio::OpenDecoder(dir.filePath("tone.wav").toStdString()));
    engine.play(0);
    ASSERT_TRUE(WaitFor([&] { return engine.position(0) > 0.5; }));
    ASSERT_TRUE(WaitFor([&] { return cards.card(0).lastSample.load() != 0.0f; }));
    EXPECT_EQ(engine.underruns(), 0u);
    ASSERT_TRUE(WaitFor([&] { return !refusing.threads(AudioThread::Output).empty(); }));
    EXPECT_EQ(engine.threadPriority().kind, ThreadPriority::Normal);
}

// Each deck's reader asks from its own thread; the card's thread is asked for by the keeper
// once it has called back, and so are a sound server's client thread that carries the card's
// audio on, a headphone device's thread and the silent stand-in's when the card is lost. The
// engine tells the main output's grant.
TEST(ThreadPriorityTest, TheReadersAndEveryOutputsThreadAreRaised) {
    RecordingScheduler granting({ThreadPriority::RealTime, 7});
    FakeCards cards;
    cards.carrier = 4242;
    audio::Engine engine(cards.open(48000), cards.opener(), audio::Engine::MasterBus::Limited,
                         granting);
    ASSERT_TRUE(WaitFor([&] { return granting.threads(AudioThread::Output).size() == 1; }));
    ASSERT_TRUE(WaitFor([&] { return granting.threads(AudioThread::Reader).size() == 4; }));
    EXPECT_FALSE(pthread_equal(granting.threads(AudioThread::Output).front(), pthread_self()));
    EXPECT_EQ(engine.threadPriority(), (ThreadPriority{ThreadPriority::RealTime, 7}));
    ASSERT_TRUE(WaitFor([&] { return !granting.tasks().empty(); }));
    const std::vector<std::pair<pid_t, AudioThread>> carriers{{4242, AudioThread::Output}};
    EXPECT_EQ(granting.tasks(), carriers);

    EXPECT_EQ(engine.routeHeadphones(audio::HeadphoneRoute::SecondDevice, cards.opener()), "");
    ASSERT_TRUE(WaitFor([&] { return granting.threads(AudioThread::Output).size() == 2; }));
    cards.available = false;
    cards.fail(0);
    EXPECT_TRUE(WaitFor([&] { return granting.threads(AudioThread::Output).size() == 3; }));
}

// An engine that renders on demand has no threads of its own to raise.
TEST(ThreadPriorityTest, AnOfflineEngineAsksForNothing) {
    RecordingScheduler granting({ThreadPriority::RealTime, 7});
    {
        audio::Engine engine(std::make_unique<audio::OfflineOutput>(48000, 256), {},
                             audio::Engine::MasterBus::Limited, granting);
        EXPECT_EQ(engine.threadPriority().kind, ThreadPriority::NotAsked);
    }
    EXPECT_TRUE(granting.threads(AudioThread::Reader).empty());
}

// The system's answer is what the thread got: first-in-first-out at the output's priority
// where the system allows it (as root it does), else the thread as it was.
TEST(ThreadPriorityTest, TheSystemSchedulerTellsWhatTheThreadGot) {
    ThreadPriority granted;
    int policy = -1;
    sched_param parameters{};
    std::thread thread([&] {
        granted = audio::SystemScheduler().raise(pthread_self(), AudioThread::Output);
        pthread_getschedparam(pthread_self(), &policy, &parameters);
    });
    thread.join();
    if (granted.kind == ThreadPriority::RealTime) {
        EXPECT_EQ(policy & ~SCHED_RESET_ON_FORK, SCHED_FIFO);
        EXPECT_EQ(parameters.sched_priority, granted.priority);
    } else {
        EXPECT_EQ(granted.kind, ThreadPriority::Normal);
        EXPECT_EQ(policy, SCHED_OTHER);
    }
}
