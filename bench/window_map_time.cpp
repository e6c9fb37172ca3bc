// Starts a program and prints the milliseconds from its start to the map of its first
// top-level window on the X display, then kills it: the start-up time a user waits for,
// measured from outside the program, whatever the program.
//
//   window_map_time PROGRAM [ARGUMENTS...]
//
// Meant for a display with no window manager (a bare Xvfb): top-level windows are then
// children of the root window, whose map notifications this program watches. Exits 1,
// after killing the program, when no window appears within 60 seconds.
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>

namespace {

double millisecondsSince(const timespec& start)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1e3 + (now.tv_nsec - start.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_map_time PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "window_map_time: no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("window_map_time: fork");
        return 2;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[1], argv + 1);
        std::perror("window_map_time: exec");
        _exit(127);
    }

    double mapped = -1;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (mapped < 0 && millisecondsSince(start) < 60'000) {
        while (mapped < 0 && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                mapped = millisecondsSince(start);
        }
        if (mapped < 0 && poll(&connection, 1, 100) < 0 && errno != EINTR)
            break;
        int status = 0;
        if (mapped < 0 && waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "window_map_time: %s ended before its window appeared\n", argv[1]);
            return 1;
        }
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (mapped < 0) {
        std::fprintf(stderr, "window_map_time: no window of %s within 60 s\n", argv[1]);
        return 1;
    }
    std::printf("%.1f\n", mapped);
    return 0;
}
