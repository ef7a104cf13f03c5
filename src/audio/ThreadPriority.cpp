#include "audio/ThreadPriority.h"

#include <sched.h>
#include <sys/resource.h>

namespace velmor::audio {

namespace {

class SystemThreadScheduler : public ThreadScheduler {
public:
    ThreadPriority raise(pthread_t thread, AudioThread role) override {
        const int wanted = role == AudioThread::Output ? kOutputPriority : kReaderPriority;
        if (Set(thread, wanted))
            return {ThreadPriority::RealTime, wanted};
        // A desktop's limit for its audio users may lie below our priority.
        rlimit limit{};
        if (getrlimit(RLIMIT_RTPRIO, &limit) == 0 && limit.rlim_cur > 0 &&
            limit.rlim_cur < static_cast<rlim_t>(wanted)) {
            const int allowed = static_cast<int>(limit.rlim_cur);
            if (Set(thread, allowed))
                return {ThreadPriority::RealTime, allowed};
        }
        return {ThreadPriority::Normal, 0};
    }

private:
    static bool Set(pthread_t thread, int priority) {
        sched_param parameters{};
        parameters.sched_priority = priority;
        return pthread_setschedparam(thread, SCHED_FIFO | SCHED_RESET_ON_FORK, &parameters) == 0;
    }
};

} // namespace

ThreadScheduler& SystemScheduler() {
    static SystemThreadScheduler scheduler;
    return scheduler;
}

} // namespace velmor::audio
