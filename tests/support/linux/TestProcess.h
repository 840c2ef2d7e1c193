#pragma once
// Test helpers for Linux: child processes started with an exact argument
// list (optionally as another user), polling waits, temporary folders and
// private channel names.
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "AnsiString.h"
#include "WaitUntil.h"

// A child process that is ended on every way out of the test that started it.
class TChildProcess {
public:
    struct TOptions {
        // Run as this user and group instead of the test's own (needs root).
        uid_t User = static_cast<uid_t>(-1);
        // Environment entries, NAME=value, in place of the test's own.
        std::vector<std::string> Environment;
        bool CaptureOutput = false;
    };

    // Starts `program` with exactly these arguments after argument 0.
    TChildProcess(const AnsiString& program, const std::vector<std::string>& arguments);
    TChildProcess(const AnsiString& program, const std::vector<std::string>& arguments, const TOptions& options);
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    pid_t Id() const { return FId; }
    // The exit code, or false when the child has not ended in time. A child
    // ended by a signal reports 128 + the signal's number.
    bool WaitForExit(std::chrono::milliseconds timeout, int& exitCode);
    // Everything the child wrote to its standard output and error until it
    // closed them.
    std::string ReadOutput();
    void Kill();

private:
    pid_t FId = -1;
    int FOutput = -1;
    bool FEnded = false;
    int FExitCode = 0;
};

// Runs the program to its end and returns its exit code (-1 when it did not end in time).
int RunToEnd(const AnsiString& program, const std::vector<std::string>& arguments,
             const TChildProcess::TOptions& options = {});

// The folder of the running test executable, with a trailing slash; the
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
    const AnsiString& Path() const { return FPath; } // with a trailing slash
    // Writes `bytes` into the file `name` in the folder.
    void Write(const AnsiString& name, const AnsiString& bytes) const;

private:
    AnsiString FPath;
};

// A channel name that no other test process uses.
AnsiString UniqueMailslotName();

// An unprivileged user other than the test's own, for messages from
// "another user" (nobody when the test runs as root).
uid_t OtherUser();
