// Times a program from its start to its first top-level window on the X display, then ends it.
//
//   bench_window_shown TITLE_PREFIX PROGRAM [ARGUMENTS...]
//
// Prints the milliseconds from the spawn to the MapNotify of a top-level window whose title
// starts with TITLE_PREFIX. The display is watched before the spawn, so nothing but the
// program's own work lies in between; every program measured pays the same overhead.

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string WindowTitle(xcb_connection_t* x, xcb_window_t window) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(x, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(x, cookie, nullptr), &std::free);
    if (!reply)
        return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<size_t>(xcb_get_property_value_length(reply.get())));
}

void End(pid_t child) {
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE_PREFIX PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string prefix = argv[1];
    int screenNumber = 0;
    xcb_connection_t* x = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screens.data->root, XCB_CW_EVENT_MASK, &mask);
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); // the mask is in place

    pid_t child = 0;
    const auto start = Clock::now();
    if (posix_spawn(&child, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[2]);
        return 1;
    }
    pollfd display{xcb_get_file_descriptor(x), POLLIN, 0};
    while (Clock::now() - start < std::chrono::seconds(60)) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const xcb_window_t window =
                mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
            std::free(event);
            if (!mapped)
                continue;
            const double ms =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            if (WindowTitle(x, window).rfind(prefix, 0) == 0) {
                std::printf("%.1f\n", ms);
                End(child);
                xcb_disconnect(x);
                return 0;
            }
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "%s ended before showing its window\n", argv[2]);
            return 1;
        }
        poll(&display, 1, 50);
    }
    std::fprintf(stderr, "no window of %s was shown\n", argv[2]);
    End(child);
    return 1;
}
