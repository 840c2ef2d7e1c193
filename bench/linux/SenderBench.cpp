// Figures, not a test: start-to-exit time of a sender run of deployNotice,
// without a window and with one reading, against an empty C program; and the
// time from the start of a window run until its channel is bound (the span in
// which a sender finds no channel; needs a display). Usage: sender_bench [runs]
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>


#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Handle.h"
#include "Channel.h"
#include "Channel_linux.h"

extern char** environ;

namespace {

std::string Folder()
{
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string self(path, length > 0 ? static_cast<size_t>(length) : 0);
    return self.substr(0, self.rfind('/') + 1);
}

// Wall time of one start to exit, in microseconds.
double TimedRun(const std::vector<std::string>& command)
{
    std::vector<std::string> copy = command;
    std::vector<char*> argv;
    for (std::string& item : copy)
        argv.push_back(item.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        std::perror(argv[0]);
        std::exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Whether a reader has bound the channel's name: connecting sends nothing.
bool ChannelBound()
{
    const std::optional<TChannelAddress> address = ChannelAddress(CommandChannelName);
    const TFileDescriptor probe(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    return address && connect(probe.Get(), address->Get(), address->Length) == 0;
}

// Median time from the start of a window run until its channel is bound, in
// microseconds; each run is ended afterwards.
double MedianStartToChannel(const std::string& program, int runs)
{
    std::string copy = program;
    char* argv[] = {copy.data(), nullptr};
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        pid_t child = 0;
        if (posix_spawn(&child, argv[0], nullptr, nullptr, argv, environ) != 0) {
            std::perror(argv[0]);
            std::exit(1);
        }
        while (!ChannelBound()) {
            if (waitpid(child, nullptr, WNOHANG) == child) {
                std::fprintf(stderr, "the window run ended before it took the channel\n");
                std::exit(1);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
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
    // Warm the file cache once; then the two in turns, so that what else
    // the machine does weighs on both alike.
    TimedRun({folder + "empty_c"});
    TimedRun(sender);
    std::vector<double> emptyTimes, aloneTimes, windowTimes;
    for (int i = 0; i < runs; ++i) {
        emptyTimes.push_back(TimedRun({folder + "empty_c"}));
        aloneTimes.push_back(TimedRun(sender));
    }
    {
        // A window's reader that takes each message as it comes.
        TChannelReader reader(CommandChannelName);
        std::atomic<bool> done{false};
        std::thread drain([&] {
            AnsiString message;
            while (!done) {
                while (reader.ReadMessage(message)) {
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        for (int i = 0; i < runs; ++i)
            windowTimes.push_back(TimedRun(sender));
        done = true;
        drain.join();
    }
    const double empty = Median(emptyTimes);
    const double alone = Median(aloneTimes);
    const double withWindow = Median(windowTimes);
    const int windowRuns = std::max(1, runs / 20);
    // As root the program hands its window to the user at the machine, and
    // the bench's display has none: the test build takes it as root's own.
    const double toChannel =
        MedianStartToChannel(geteuid() == 0 ? folder + "tested/deployNotice" : notice, windowRuns);
    std::printf("sender run, median of %d starts:\n", runs);
    std::printf("  empty C program            %8.0f us\n", empty);
    std::printf("  sender, no window          %8.0f us  (%.2f x empty; goal within 1.5)\n", alone, alone / empty);
    std::printf("  sender, window reading     %8.0f us  (%.2f x empty)\n", withWindow, withWindow / empty);
    std::printf("window run, start to channel bound, median of %d starts: %8.0f us\n", windowRuns, toChannel);
    return 0;
}
