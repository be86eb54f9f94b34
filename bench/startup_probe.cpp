// Start-up probe: starts a program, waits until its top-level window with the given name is mapped and
// painted, and prints how long that took and how much memory the program needed.
//
//   bench_startup_probe [--name Menu] [--cwd DIR] [--settle-ms 300] [--timeout-ms 20000] -- PROGRAM ARGS...
//
// Run it on an X server without a window manager, so that the program's window is a child of the root
// window. "Painted" means the sampled pixels inside the window are no longer black (start the server with a
// black root, e.g. Xvfb -br). Prints one line: startup_us=N map_us=N vmhwm_kb=N vmrss_kb=N.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long Micros(Clock::time_point from) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - from).count());
}

std::optional<std::string> Utf8Property(Display* d, Window w, Atom property, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, property, 0, 256, False, type, &actualType, &format, &items, &after,
                           &data) != Success ||
        data == nullptr) {
        return std::nullopt;
    }
    std::string value(reinterpret_cast<char*>(data), items);
    XFree(data);
    return value;
}

bool HasName(Display* d, Window w, const std::string& name) {
    const Atom netWmName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    if (const auto v = Utf8Property(d, w, netWmName, utf8); v && *v == name) {
        return true;
    }
    const auto v = Utf8Property(d, w, XA_WM_NAME, AnyPropertyType);
    return v && *v == name;
}

// The window itself or, if a window manager reparented it, one of its children.
std::optional<Window> NamedWindow(Display* d, Window w, const std::string& name, int depth = 0) {
    if (HasName(d, w, name)) {
        return w;
    }
    if (depth >= 2) {
        return std::nullopt;
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &count) == 0) {
        return std::nullopt;
    }
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        found = NamedWindow(d, children[i], name, depth + 1);
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

// Painted once every sampled pixel (near two corners and in the middle of the top edge) is not black.
bool Painted(Display* d, Window w) {
    XWindowAttributes a{};
    if (XGetWindowAttributes(d, w, &a) == 0 || a.map_state != IsViewable || a.width < 8 || a.height < 8) {
        return false;
    }
    const int points[][2] = {{3, 3}, {a.width / 2, 3}, {a.width - 4, a.height - 4}};
    for (const auto& p : points) {
        XImage* image = XGetImage(d, w, p[0], p[1], 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr) {
            return false;
        }
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        if ((pixel & 0xFFFFFF) == 0) {
            return false;
        }
    }
    return true;
}

long StatusKb(pid_t pid, const char* key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::size_t len = std::strlen(key);
    while (std::getline(in, line)) {
        if (line.compare(0, len, key) == 0 && line.size() > len && line[len] == ':') {
            return std::strtol(line.c_str() + len + 1, nullptr, 10);
        }
    }
    return -1;
}

void Stop(pid_t pid) {
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: bench_startup_probe [--name N] [--cwd DIR] [--settle-ms MS] [--timeout-ms MS] "
                 "-- PROGRAM ARGS...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string name = "Menu";
    std::string cwd;
    int settleMs = 300;
    int timeoutMs = 20000;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (i + 1 >= argc) {
            return Usage();
        }
        if (arg == "--name") {
            name = argv[++i];
        } else if (arg == "--cwd") {
            cwd = argv[++i];
        } else if (arg == "--settle-ms") {
            settleMs = std::atoi(argv[++i]);
        } else if (arg == "--timeout-ms") {
            timeoutMs = std::atoi(argv[++i]);
        } else {
            return Usage();
        }
    }
    if (i >= argc) {
        return Usage();
    }
    std::vector<char*> command(argv + i, argv + argc);
    command.push_back(nullptr);

    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "bench_startup_probe: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(IgnoreErrors);
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);

    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("fork");
        return 1;
    }
    if (pid == 0) {
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) {
            std::perror("chdir");
            ::_exit(127);
        }
        ::execv(command[0], command.data());
        std::perror("execv");
        ::_exit(127);
    }

    const auto deadline = start + std::chrono::milliseconds(timeoutMs);
    const auto failed = [&](const char* what) {
        std::fprintf(stderr, "bench_startup_probe: %s\n", what);
        Stop(pid);
        XCloseDisplay(d);
        return 1;
    };

    // Mapped: a MapNotify on the root window for a top-level window carrying the name.
    std::optional<Window> window;
    long mapUs = 0;
    while (!window) {
        if (Clock::now() > deadline) {
            return failed("no window was mapped in time");
        }
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            XCloseDisplay(d);
            std::fprintf(stderr, "bench_startup_probe: the program ended before mapping its window\n");
            return 1;
        }
        while (XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapNotify && !window) {
                window = NamedWindow(d, e.xmap.window, name);
                if (window) {
                    mapUs = Micros(start);
                }
            }
        }
        if (!window) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }

    // Painted: poll a few pixels until they turn from the black root into the window's colours.
    while (!Painted(d, *window)) {
        if (Clock::now() > deadline) {
            return failed("the window was not painted in time");
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const long startupUs = Micros(start);

    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long hwm = StatusKb(pid, "VmHWM");
    const long rss = StatusKb(pid, "VmRSS");
    Stop(pid);
    XCloseDisplay(d);
    std::printf("startup_us=%ld map_us=%ld vmhwm_kb=%ld vmrss_kb=%ld\n", startupUs, mapUs, hwm, rss);
    return 0;
}
