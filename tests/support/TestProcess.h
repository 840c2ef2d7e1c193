#pragma once
// Test helpers for Windows: child processes started with an exact command
// line, polling waits, temporary folders and private mailslot names.
#include <windows.h>

#include <chrono>
#include <functional>
#include <vector>

#include "AnsiString.h"
#include "WaitUntil.h"
#include "Handle.h"

// A child process that is ended on every way out of the test that started it.
class TChildProcess {
public:
    struct TOptions {
        // The start-up information's show command; < 0 leaves it alone.
        int ShowWindow = -1;
        bool CaptureOutput = false;
        // The process exists but runs none of its code until it is ended.
        bool Suspended = false;
    };

    // Starts `commandLine` exactly as written (CreateProcessA), with the
    // application path given separately so the line may begin with anything.
    TChildProcess(const AnsiString& application, const AnsiString& commandLine);
    TChildProcess(const AnsiString& application, const AnsiString& commandLine, const TOptions& options);
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    DWORD Id() const { return FId; }
    HANDLE Handle() const { return FProcess.Get(); }
    // The exit code, or nothing (STILL_ACTIVE) when it has not ended in time.
    bool WaitForExit(std::chrono::milliseconds timeout, DWORD& exitCode);
    // Everything the child wrote to its standard output until it closed it.
    AnsiString ReadOutput();
    void Kill();

private:
    TKernelHandle FProcess;
    TFileHandle FOutput;
    DWORD FId = 0;
};

// The folder of the running test executable, with a trailing backslash; the
// program under test is built into the same folder.
AnsiString BinaryFolder();
AnsiString ProgramPath();

// A fresh folder below the temporary directory, removed with its files.
class TTempFolder {
public:
    explicit TTempFolder(const AnsiString& tag = "dn");
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    const AnsiString& Path() const { return FPath; } // with a trailing backslash

private:
    AnsiString FPath;
};

// A top-level window without a caption (Wine hides and destroys those at
// once; windows with a caption wait for a window manager first).
class TPopupWindow : public TWindowHandle {
public:
    explicit TPopupWindow(DWORD style = 0)
        : TWindowHandle(CreateWindowExA(0, "Static", "", WS_POPUP | style, 0, 0, 50, 50, nullptr, nullptr,
                                        GetModuleHandleA(nullptr), nullptr))
    {
    }
};

// Dispatches what waits in this thread's queue.
void PumpMessages();

// A mailslot name that no other test process uses.
AnsiString UniqueMailslotName();

// Top-level windows of the given process, optionally of one window class.
std::vector<HWND> ProcessWindows(DWORD processId, const char* className = nullptr);
AnsiString WindowText(HWND window);
// The process's visible message box, once it shows one (null if none comes),
// and the text of a message box.
HWND WaitForMessageBox(const TChildProcess& child);
AnsiString MessageBoxText(HWND box);
