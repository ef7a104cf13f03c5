#include "audio/ThreadPriority.h"

#include <dirent.h>
#include <fstream>
#include <sched.h>
#include <string>
#include <sys/resource.h>

namespace velmor::audio {

namespace {

constexpr int kPolicy = SCHED_FIFO | SCHED_RESET_ON_FORK;

// Asks `set` for the role's priority, or for the highest the process's limit allows where
// that is lower (a desktop's limit for its audio users may be).
template <typename Set> ThreadPriority Ask(AudioThread role, Set set) {
    const int wanted = role == AudioThread::Output ? kOutputPriority : kReaderPriority;
    if (set(wanted))
        return {ThreadPriority::RealTime, wanted};
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) == 0 && limit.rlim_cur > 0 &&
        limit.rlim_cur < static_cast<rlim_t>(wanted)) {
        const int allowed = static_cast<int>(limit.rlim_cur);
        if (set(allowed))
            return {ThreadPriority::RealTime, allowed};
    }
    return {ThreadPriority::Normal, 0};
}

class SystemThreadScheduler : public ThreadScheduler {
public:
    ThreadPriority raise(pthread_t thread, AudioThread role) override {
        return Ask(role, [thread](int priority) {
            sched_param parameters{};
            parameters.sched_priority = priority;
            return pthread_setschedparam(thread, kPolicy, &parameters) == 0;
        });
    }
    ThreadPriority raiseTask(pid_t task, AudioThread role) override {
        return Ask(role, [task](int priority) {
            sched_param parameters{};
            parameters.sched_priority = priority;
            return sched_setscheduler(task, kPolicy, &parameters) == 0;
        });
    }
};

} // namespace

ThreadScheduler& SystemScheduler() {
    static SystemThreadScheduler scheduler;
    return scheduler;
}

std::vector<pid_t> SoundServerClientThreads() {
    std::vector<pid_t> found;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return found;
    while (const dirent* entry = readdir(tasks)) {
        const std::string task = entry->d_name;
        if (task.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::string name;
        std::getline(std::ifstream("/proc/self/task/" + task + "/comm"), name);
        if (name == "threaded-ml") // libpulse's threaded main loop
            found.push_back(static_cast<pid_t>(std::stol(task)));
    }
    closedir(tasks);
    return found;
}

} // namespace velmor::audio
