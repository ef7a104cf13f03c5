#include "common/BackgroundWork.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

using namespace velmor;

namespace {
// Notes the thread it is let go on.
struct Witness {
    explicit Witness(std::atomic<std::thread::id>& goneOn) : goneOn(goneOn) {}
    ~Witness() { goneOn = std::this_thread::get_id(); }
    std::atomic<std::thread::id>& goneOn;
};

// Spins the window's event loop until `done` holds (at most five seconds).
bool Await(const std::function<bool()>& done) {
    for (int i = 0; i < 5000 && !done(); ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return done();
}
} // namespace

// Tasks run on the worker one after another; their results run on the window's thread, in
// the order they were handed over.
TEST(BackgroundWork, ResultsReachTheWindowThreadInTheOrderHandedOver) {
    BackgroundWork work{"test work"};
    std::vector<int> results;
    std::atomic<bool> taskOnWindowThread = false;
    bool resultOffWindowThread = false;
    const auto onWindowThread = [] {
        return QThread::currentThread() == QCoreApplication::instance()->thread();
    };
    const auto hand = [&](std::vector<int> values) {
        work.post([&, values](const BackgroundWork::Task& task) {
            taskOnWindowThread = taskOnWindowThread || onWindowThread();
            for (int value : values)
                task.deliver([&, value] {
                    resultOffWindowThread = resultOffWindowThread || !onWindowThread();
                    results.push_back(value);
                });
        });
    };
    hand({1, 2, 3});
    hand({4});
    work.waitUntilDone();
    EXPECT_EQ(results, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(taskOnWindowThread);
    EXPECT_FALSE(resultOffWindowThread);
    EXPECT_FALSE(work.busy());
}

// A cancelled task that waits is never started; one that runs sees its cancel, and none of its
// results arrives after the cancel, even one handed over before it. What such a result holds is
// let go on the worker, never on the window's thread.
TEST(BackgroundWork, ACancelledTaskDeliversNothingAndWhatItHeldGoesOnTheWorker) {
    BackgroundWork work{"test work"};
    std::atomic<bool> handedOver = false;
    std::atomic<bool> sawCancel = false;
    std::atomic<std::thread::id> goneOn;
    int delivered = 0;
    std::atomic<bool> secondStarted = false;
    BackgroundWork::Job first = work.post([&](const BackgroundWork::Task& task) {
        task.deliver([&, witness = std::make_shared<Witness>(goneOn)] { ++delivered; });
        handedOver = true;
        while (!task.cancelled())
            std::this_thread::yield();
        sawCancel = true;
    });
    BackgroundWork::Job second =
        work.post([&](const BackgroundWork::Task&) { secondStarted = true; });
    while (!handedOver) // the window's loop stands still: the result stays on its way
        std::this_thread::yield();
    EXPECT_TRUE(first.active());
    first.cancel();
    second.cancel();
    EXPECT_FALSE(first.active());
    work.waitUntilDone();
    EXPECT_TRUE(sawCancel);
    EXPECT_EQ(delivered, 0);
    EXPECT_FALSE(secondStarted);
    ASSERT_TRUE(Await([&] { return goneOn.load() != std::thread::id(); }));
    EXPECT_NE(goneOn.load(), std::this_thread::get_id());
}

// Going away cancels the task that runs and waits for it; the tasks waiting never start.
TEST(BackgroundWork, GoingAwayCancelsTheRunningTaskAndStartsNoOther) {
    std::atomic<bool> started = false;
    std::atomic<bool> sawCancel = false;
    std::atomic<bool> secondStarted = false;
    {
        BackgroundWork work{"test work"};
        work.post([&](const BackgroundWork::Task& task) {
            started = true;
            while (!task.cancelled())
                std::this_thread::yield();
            sawCancel = true;
        });
        work.post([&](const BackgroundWork::Task&) { secondStarted = true; });
        ASSERT_TRUE(Await([&] { return started.load(); }));
    }
    EXPECT_TRUE(sawCancel);
    EXPECT_FALSE(secondStarted);
}
