#pragma once

#include <array>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velmor::test {

// While it lives, the calling thread meets files' permissions as any user does, also where
// the tests run as root (CI does): root's rights to read, search and write past permissions
// leave the thread's effective capabilities, and come back when it goes. Only this thread:
// work it hands to another thread keeps root's rights. access(2) still answers for root, as
// it asks the real user's rights.
class AsAnyUser {
public:
    AsAnyUser() {
        held_ = Capabilities(SYS_capget, saved_);
        if (!held_)
            return;
        auto without = saved_;
        without[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
        held_ = Capabilities(SYS_capset, without);
    }
    ~AsAnyUser() {
        if (held_)
            Capabilities(SYS_capset, saved_);
    }
    AsAnyUser(const AsAnyUser&) = delete;
    AsAnyUser& operator=(const AsAnyUser&) = delete;

private:
    using Sets = std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3>;

    static bool Capabilities(long call, Sets& sets) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return syscall(call, &header, sets.data()) == 0;
    }

    Sets saved_{};
    bool held_ = false;
};

} // namespace velmor::test
