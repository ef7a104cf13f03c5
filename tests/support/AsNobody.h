#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace velmor::test {

// Whether `check` holds when run as the nobody user, in a child process: as root every file
// can be read and written, so refusals are seen only as someone else.
inline bool HoldsAsNobody(const std::function<bool()>& check) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace velmor::test
