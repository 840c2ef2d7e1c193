// Figures of the window run against a minimal window with the same controls:
// time from start to a visible window, CPU time while idle, peak working set.
// Both are started from here; it is a benchmark, not a test.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "TestProcess.h"

namespace {

using namespace std::chrono_literals;

double NowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double CpuMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& time) {
        return static_cast<double>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

struct TFigures {
    double StartMs = 0;
    double IdleCpuPercent = 0;
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
    TChildProcess child(program, line);
    HWND window = nullptr;
    while ((window = VisibleWindow(child.Id(), className)) == nullptr)
        Sleep(1);
    const double elapsed = NowMs() - start;
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    child.WaitForExit(10s, exitCode);
    return elapsed;
}

TFigures Measure(const AnsiString& program, const AnsiString& line, const char* className, int runs, int idleSeconds)
{
    TFigures figures;
    std::vector<double> starts;
    StartToVisibleMs(program, line, className);
    for (int i = 0; i < runs; ++i)
        starts.push_back(StartToVisibleMs(program, line, className));
    std::sort(starts.begin(), starts.end());
    figures.StartMs = starts[starts.size() / 2];

    TChildProcess child(program, line);
    HWND window = nullptr;
    WaitUntil([&] { return (window = VisibleWindow(child.Id(), className)) != nullptr; });
    Sleep(1000);
    const double cpuBefore = CpuMs(child.Handle());
    const double wallBefore = NowMs();
    Sleep(static_cast<DWORD>(idleSeconds) * 1000);
    figures.IdleCpuPercent = 100.0 * (CpuMs(child.Handle()) - cpuBefore) / (NowMs() - wallBefore);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(child.Handle(), &memory, sizeof memory))
        figures.PeakWorkingSetMiB = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    child.WaitForExit(10s, exitCode);
    return figures;
}

void Print(const char* name, const TFigures& figures)
{
    std::printf("  %-22s start to visible %8.1f ms   idle CPU %6.3f %%   peak working set %6.1f MiB\n", name,
                figures.StartMs, figures.IdleCpuPercent, figures.PeakWorkingSetMiB);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const int idleSeconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
    // The program in a folder of its own, with the sample ini beside it.
    TTempFolder folder("bench");
    const AnsiString program = folder.Path() + "deployNotice.exe";
    CopyFileA(ProgramPath().c_str(), program.c_str(), FALSE);
    if (argc > 3)
        CopyFileA(argv[3], (folder.Path() + "deployNotice.ini").c_str(), FALSE);

    const TFigures minimal = Measure(BinaryFolder() + "minimal_window.exe", "minimal_window.exe", "MinimalWindow",
                                     runs, idleSeconds);
    const TFigures window = Measure(program, "deployNotice.exe", "TFrmMain", runs, idleSeconds);
    std::printf("median of %d starts; idle over %d s\n", runs, idleSeconds);
    Print("minimal window:", minimal);
    Print("deployNotice window:", window);
    std::printf("  start-up ratio %.2f\n", window.StartMs / minimal.StartMs);
    return 0;
}
