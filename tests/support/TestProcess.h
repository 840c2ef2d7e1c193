#pragma once
// Test helpers for both platforms: child processes started with an exact
// argument list, the program under test, private channel names.
#include <chrono>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/types.h>
#endif

#include "AnsiString.h"
#include "Handle.h"
#include "TempFolder.h"
#include "WaitUntil.h"

#ifdef _WIN32
// A program and its command line, passed on exactly as written, for what an
// argument list cannot say (tabs, quotes inside words, control characters).
struct TCommandLine {
    AnsiString Program;
    AnsiString Text;
};
#endif

// A child process that is ended on every way out of the test that started it.
class TChildProcess {
public:
    struct TOptions {
        // Environment entries, NAME=value, in place of the test's own of that
        // name.
        std::vector<std::string> Environment{};
        // Standard output and error go to a pipe that ReadOutput reads.
        bool CaptureOutput = false;
#ifdef _WIN32
        // The start-up information's show command; < 0 leaves it alone.
        int ShowWindow = -1;
        // The process exists but runs none of its code until it is ended.
        bool Suspended = false;
        // The start-up information's window station and desktop
        // ("station\\desktop"); empty: the test's own.
        std::string Desktop{};
#else
        // Run as this user and group instead of the test's own (needs root).
        uid_t User = static_cast<uid_t>(-1);
#endif
    };

    // Starts `program` with exactly these arguments after argument 0; on
    // Windows each one that is empty or holds a blank is put in quotes. The
    // constructor returns once the child runs the program.
    TChildProcess(const AnsiString& program, const std::vector<std::string>& arguments);
    TChildProcess(const AnsiString& program, const std::vector<std::string>& arguments, const TOptions& options);
#ifdef _WIN32
    explicit TChildProcess(const TCommandLine& commandLine);
    TChildProcess(const TCommandLine& commandLine, const TOptions& options);
#endif
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

#ifdef _WIN32
    DWORD Id() const { return FId; }
    HANDLE Handle() const { return FProcess.Get(); }
#else
    pid_t Id() const { return FId; }
#endif
    // The exit code, or false when the child has not ended in time. On Linux a
    // child ended by a signal reports 128 + the signal's number.
    bool WaitForExit(std::chrono::milliseconds timeout, int& exitCode);
    // Everything the child wrote to its standard output and error until it
    // ended or closed them.
    std::string ReadOutput();
    void Kill();

private:
#ifdef _WIN32
    TKernelHandle FProcess;
    TFileHandle FOutput;
    DWORD FId = 0;
#else
    pid_t FId = -1;
    TFileDescriptor FOutput;
    bool FEnded = false;
    int FExitCode = 0;
#endif
};

// Runs the program to its end and returns its exit code (-1 when it does not
// end within 20 seconds).
int RunToEnd(const AnsiString& program, const std::vector<std::string>& arguments,
             const TChildProcess::TOptions& options = {});

// The folder of the running test executable, with a trailing path delimiter;
// the program under test is built into the same folder.
AnsiString BinaryFolder();
// The program under test. On Linux its test build: it asks no logind for the
// user's session but takes the one that the test names (the test's own user
// on the test's display unless a test says otherwise), so that a window run
// as root shows its window here; in all else it is the packaged program.
AnsiString ProgramPath();
#ifndef _WIN32
// The program as it is packaged, with its own session look-up.
AnsiString PackagedProgramPath();
#endif

// A channel name that no other test process uses.
AnsiString UniqueChannelName();

#ifndef _WIN32
// An unprivileged user other than the test's own, for messages from "another
// user" (nobody when the test runs as root; none otherwise).
uid_t OtherUser();
#endif
