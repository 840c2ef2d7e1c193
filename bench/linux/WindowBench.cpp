// Figures, not a test: time from starting the window run of deployNotice to
// its window being mapped on the display, against a minimal GTK window with
// the same widgets. Usage: window_bench [starts] [ini file]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::string Folder()
{
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string self(path, length > 0 ? static_cast<size_t>(length) : 0);
    return self.substr(0, self.rfind('/') + 1);
}

pid_t WindowProcess(Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    pid_t pid = -1;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL,
                           &type, &format, &count, &after, &data) == Success &&
        data != nullptr) {
        if (count == 1)
            pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    return pid;
}

// Milliseconds from the start of `program` to the mapping of its window;
// the program is ended afterwards.
double StartToVisible(Display* display, const std::string& program)
{
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);
    std::string copy = program;
    char* argv[] = {copy.data(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv, environ) != 0) {
        std::perror(argv[0]);
        std::exit(1);
    }
    double elapsed = -1;
    while (elapsed < 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && WindowProcess(display, event.xmap.window) == child)
            elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int starts = argc > 1 ? std::atoi(argv[1]) : 15;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    // deployNotice in a folder of its own, beside the sample ini file. As
    // root the program would hand its window to the user logged on at the
    // machine, and the bench's display has none: its test build, which takes
    // the display as root's own session, is timed instead.
    const std::string folder = Folder();
    const std::filesystem::path run = std::filesystem::temp_directory_path() / ("dn-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(run);
    std::filesystem::copy_file(folder + (geteuid() == 0 ? "tested/deployNotice" : "deployNotice"), run / "deployNotice");
    if (argc > 2)
        std::filesystem::copy_file(argv[2], run / "deployNotice.ini");
    const std::string notice = (run / "deployNotice").string();
    const std::string minimal = folder + "minimal_window_gtk";

    StartToVisible(display, minimal);
    StartToVisible(display, notice);
    std::vector<double> minimalTimes;
    std::vector<double> noticeTimes;
    for (int i = 0; i < starts; ++i) {
        minimalTimes.push_back(StartToVisible(display, minimal));
        noticeTimes.push_back(StartToVisible(display, notice));
    }
    std::filesystem::remove_all(run);
    XCloseDisplay(display);
    const double base = Median(minimalTimes);
    const double window = Median(noticeTimes);
    std::printf("window start to visible (mapped), median of %d starts:\n", starts);
    std::printf("  minimal GTK window         %8.1f ms\n", base);
    std::printf("  deployNotice window run    %8.1f ms  (%.2f x minimal; goal within 1.2)\n", window, window / base);
    return 0;
}
