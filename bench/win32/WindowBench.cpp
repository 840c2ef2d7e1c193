// Figures of the window run against a minimal window with the same controls:
// time from start to a visible window and peak working set. Both are started
// from here; it is a benchmark, not a test. (Wine's GetProcessTimes does not
// count another process's CPU time faithfully, so the idle CPU is measured
// from the Linux side by scripts/bench-window.sh.)
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "TestProcess.h"
#include "TestWindows.h"

namespace {

using namespace std::chrono_literals;

double NowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct TFigures {
    double StartMs = 0;
    double PeakWorkingSetMiB = 0;
};

HWND VisibleWindow(DWORD process, const char* className)
{
    for (HWND window : ProcessWindows(process, className))
        if (IsWindowVisible(window))
            return window;
    return nullptr;
}

double StartToVisibleMs(const AnsiString& program, const AnsiString& line, const char* className)
{
    const double start = NowMs();
    TChildProcess child(TCommandLine{program, line});
    HWND window = nullptr;
    while ((window = VisibleWindow(child.Id(), className)) == nullptr)
        Sleep(1);
    const double elapsed = NowMs() - start;
    PostMessageA(window, WM_CLOSE, 0, 0);
    int exitCode = -1;
    child.WaitForExit(10s, exitCode);
    return elapsed;
}

TFigures Measure(const AnsiString& program, const AnsiString& line, const char* className, int runs)
{
    TFigures figures;
    std::vector<double> starts;
    StartToVisibleMs(program, line, className);
    for (int i = 0; i < runs; ++i)
        starts.push_back(StartToVisibleMs(program, line, className));
    std::sort(starts.begin(), starts.end());
    figures.StartMs = starts[starts.size() / 2];

    TChildProcess child(TCommandLine{program, line});
    HWND window = nullptr;
    WaitUntil([&] { return (window = VisibleWindow(child.Id(), className)) != nullptr; });
    // A few ticks of the timer, so that the working set holds what a running window needs.
    Sleep(2000);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(child.State().Process.Get(), &memory, sizeof memory))
        figures.PeakWorkingSetMiB = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    int exitCode = -1;
    child.WaitForExit(10s, exitCode);
    return figures;
}

void Print(const char* name, const TFigures& figures)
{
    std::printf("  %-22s start to visible %8.1f ms   peak working set %6.1f MiB\n", name, figures.StartMs,
                figures.PeakWorkingSetMiB);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    // The program in a folder of its own, with the sample ini beside it.
    TTempFolder folder("bench");
    const AnsiString program = folder.Path() + "deployNotice.exe";
    CopyFileA(ProgramPath().c_str(), program.c_str(), FALSE);
    if (argc > 2)
        CopyFileA(argv[2], (folder.Path() + "deployNotice.ini").c_str(), FALSE);

    const TFigures minimal = Measure(BinaryFolder() + "minimal_window.exe", "minimal_window.exe", "MinimalWindow",
                                     runs);
    const TFigures window = Measure(program, "deployNotice.exe", "TFrmMain", runs);
    std::printf("median of %d starts\n", runs);
    Print("minimal window:", minimal);
    Print("deployNotice window:", window);
    std::printf("  start-up ratio %.2f\n", window.StartMs / minimal.StartMs);
    return 0;
}
