#include "audio/JackServer.h"

#include <cstdarg>
#include <cstdlib>
#include <dirent.h>
#include <dlfcn.h>
#include <jack/jack.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor::audio {

namespace {
bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool IsSocket(const std::string& folder, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_SOCK;
    struct stat info {};
    return lstat((folder + "/" + entry.d_name).c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

// A jackd's socket, not the folder libjack leaves there for its metadata (jack_db-UID).
bool HoldsJackSocket(const std::string& folder) {
    DIR* entries = opendir(folder.c_str());
    if (!entries)
        return false;
    bool found = false;
    while (const dirent* entry = readdir(entries))
        if (std::string_view(entry->d_name).substr(0, 5) == "jack_" && IsSocket(folder, *entry)) {
            found = true;
            break;
        }
    closedir(entries);
    return found;
}
} // namespace

std::string RuntimeFolder() {
    const char* folder = std::getenv("XDG_RUNTIME_DIR");
    return folder ? folder : "";
}

bool JackServerMayRun(const std::string& sharedMemory, const std::string& runtime) {
    if (HoldsJackSocket(sharedMemory) || Exists(sharedMemory + "/jack-" + std::to_string(getuid())))
        return true;
    return !runtime.empty() && Exists(runtime + "/pipewire-0");
}

} // namespace velmor::audio

extern "C" jack_client_t* jack_client_open(const char* name, jack_options_t options,
                                           jack_status_t* status, ...) {
    if (!velmor::audio::JackServerMayRun()) {
        if (status)
            *status = static_cast<jack_status_t>(JackFailure | JackServerFailed);
        return nullptr;
    }
    using Open = jack_client_t* (*)(const char*, jack_options_t, jack_status_t*, ...);
    static const auto libjacks = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "jack_client_open"));
    if (!libjacks) {
        if (status)
            *status = static_cast<jack_status_t>(JackFailure | JackInitFailure);
        return nullptr;
    }
    if ((options & JackServerName) == 0)
        return libjacks(name, options, status);
    va_list rest;
    va_start(rest, status);
    const char* server = va_arg(rest, const char*);
    va_end(rest);
    return libjacks(name, options, status, server);
}
