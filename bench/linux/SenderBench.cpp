// Figures, not a test: start-to-exit time of a sender run of deployNotice,
// without a window and with one reading, against an empty C program.
// Usage: sender_bench [runs]
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Mailslot.h"

extern char** environ;

namespace {

std::string Folder()
{
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string self(path, length > 0 ? static_cast<size_t>(length) : 0);
    return self.substr(0, self.rfind('/') + 1);
}

// Median wall time of `runs` starts, in microseconds.
double Median(const std::vector<std::string>& command, int runs)
{
    std::vector<char*> argv;
    std::vector<std::string> copy = command;
    for (std::string& item : copy)
        argv.push_back(item.data());
    argv.push_back(nullptr);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        pid_t child = 0;
        if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
            std::perror(argv[0]);
            std::exit(1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::string folder = Folder();
    const std::string notice = folder + "deployNotice";
    const std::vector<std::string> sender = {notice, "-package", "Office Tools", "install"};
    // Warm the file cache once.
    Median({folder + "empty_c"}, 5);
    Median(sender, 5);

    const double empty = Median({folder + "empty_c"}, runs);
    const double alone = Median(sender, runs);
    double withWindow = 0;
    {
        // A window's reader that takes each message as it comes.
        TMailslotReader reader(CommandMailslotName);
        bool done = false;
        std::thread drain([&] {
            AnsiString message;
            while (!done) {
                while (reader.ReadMessage(message)) {
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        withWindow = Median(sender, runs);
        done = true;
        drain.join();
    }
    std::printf("sender run, median of %d starts:\n", runs);
    std::printf("  empty C program            %8.0f us\n", empty);
    std::printf("  sender, no window          %8.0f us  (%.2f x empty; goal within 1.5)\n", alone, alone / empty);
    std::printf("  sender, window reading     %8.0f us  (%.2f x empty)\n", withWindow, withWindow / empty);
    return 0;
}
