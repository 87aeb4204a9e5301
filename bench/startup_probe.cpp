// Starts a program and prints the milliseconds until its first top-level
// window is both mapped and drawn into (the first X Damage event on it),
// then ends the program. Usage: startup_probe PROGRAM [ARGS...]
// With --exit first, the milliseconds until the program has ended by itself
// (its output thrown away), for a command that opens no window:
// startup_probe --exit PROGRAM [ARGS...]

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <string_view>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int timeToExit(char* argv[])
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int nothing = open("/dev/null", O_WRONLY);
        dup2(nothing, STDOUT_FILENO);
        execvp(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const double elapsedMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "startup_probe: the program failed\n");
        return 1;
    }
    std::printf("%.1f\n", elapsedMs);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2 || (argc < 3 && std::string_view(argv[1]) == "--exit")) {
        std::fprintf(stderr, "usage: startup_probe [--exit] PROGRAM [ARGS...]\n");
        return 2;
    }
    if (std::string_view(argv[1]) == "--exit")
        return timeToExit(argv + 2);
    Display* display = XOpenDisplay(nullptr);
    int damageEvent = 0, damageError = 0;
    if (!display || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "startup_probe: no X display with the DAMAGE extension\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }

    std::set<Window> mapped;
    double elapsedMs = -1;
    const int fd = ConnectionNumber(display);
    while (elapsedMs < 0) {
        if (!XPending(display)) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(fd, &readable);
            timeval timeout{10, 0};
            if (select(fd + 1, &readable, nullptr, nullptr, &timeout) <= 0)
                break;  // nothing drawn within ten seconds
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify) {
            // Watch every new top-level window from birth, before it can draw.
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (event.type == MapNotify) {
            mapped.insert(event.xmap.window);
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto* damage = reinterpret_cast<XDamageNotifyEvent*>(&event);
            if (mapped.count(damage->drawable)) {
                elapsedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            }
        }
    }

    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (elapsedMs < 0) {
        std::fprintf(stderr, "startup_probe: no window was drawn\n");
        return 1;
    }
    std::printf("%.1f\n", elapsedMs);
    return 0;
}
