// Times sender runs of deployNotice.exe against an empty GUI program, both
// started from here with CreateProcessA and timed to their exit, and the time
// from the start of a window run until its channel exists (the span in which
// a sender finds no channel). Prints the medians and their ratio; it is a
// benchmark, not a test.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Channel.h"
#include "TestProcess.h"

namespace {

double RunOnceMs(const AnsiString& program, const AnsiString& commandLine)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    TChildProcess child(TCommandLine{program, commandLine});
    int exitCode = -1;
    child.WaitForExit(std::chrono::seconds(30), exitCode);
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// From the start of a window run until its channel can be opened; the run
// is ended afterwards.
double StartToChannelMs(const AnsiString& program)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    TChildProcess window(TCommandLine{program, "deployNotice.exe"});
    for (;;) {
        const TFileHandle slot(CreateFileA(CommandChannelName, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (slot.Valid())
            break;
        Sleep(0);
    }
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const AnsiString empty = BinaryFolder() + "empty_gui.exe";
    const AnsiString sender = ProgramPath();
    const AnsiString senderLine = "deployNotice.exe -package Foo install";

    std::vector<double> emptyTimes, absentTimes, presentTimes;
    // Warm-up: the first start of each file pays for reading it. Then the
    // two in turns, so that what else the machine does weighs on both alike.
    RunOnceMs(empty, "empty_gui.exe");
    RunOnceMs(sender, senderLine);
    for (int i = 0; i < runs; ++i) {
        emptyTimes.push_back(RunOnceMs(empty, "empty_gui.exe"));
        absentTimes.push_back(RunOnceMs(sender, senderLine));
    }
    {
        // The window's side of the channel, so that each sender really writes.
        TChannelReader window(CommandChannelName);
        AnsiString message;
        for (int i = 0; i < runs; ++i) {
            presentTimes.push_back(RunOnceMs(sender, senderLine));
            while (window.ReadMessage(message)) {
            }
        }
    }
    std::vector<double> channelTimes;
    for (int i = 0; i < std::max(1, runs / 3); ++i)
        channelTimes.push_back(StartToChannelMs(sender));
    const double emptyMs = Median(emptyTimes);
    const double absentMs = Median(absentTimes);
    const double presentMs = Median(presentTimes);
    std::printf("median of %d runs, start to exit\n", runs);
    std::printf("  empty GUI program:              %7.2f ms\n", emptyMs);
    std::printf("  sender run, no window:          %7.2f ms  ratio %.2f\n", absentMs, absentMs / emptyMs);
    std::printf("  sender run, window present:     %7.2f ms  ratio %.2f\n", presentMs, presentMs / emptyMs);
    std::printf("window run, start to channel, median of %zu starts: %7.2f ms\n", channelTimes.size(),
                Median(channelTimes));
    return 0;
}
