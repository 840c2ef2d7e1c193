#pragma once
// Test helpers for both platforms: child processes started with an exact
// argument list, the program under test, private channel names.
#include <chrono>
#include <string>
#include <vector>

#include "AnsiString.h"
#include "TempFolder.h"
#include "TestProcessPlatform.h"
#include "WaitUntil.h"

// A child process that is ended on every way out of the test that started it.
class TChildProcess {
public:
    using TOptions = TChildOptions;

    // Starts `program` with exactly these arguments after argument 0. The
    // constructor returns once the child runs the program.
    TChildProcess(const AnsiString& program, const std::vector<std::string>& arguments, const TOptions& options = {});
    explicit TChildProcess(const TChildStart& start, const TOptions& options = {});
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    TProcessId Id() const { return FState.Id; }
    // What the platform holds of it (its handle on Windows).
    const TChildState& State() const { return FState; }
    // The exit code, or false when the child has not ended in time. On Linux a
    // child ended by a signal reports 128 + the signal's number.
    bool WaitForExit(std::chrono::milliseconds timeout, int& exitCode);
    // Everything the child wrote to its standard output and error until it
    // ended or closed them.
    std::string ReadOutput();
    void Kill();

private:
    TChildState FState;
};

// Expects the child to end within 20 seconds with exit code 0.
void ExpectEndsWithZero(TChildProcess& child);

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

// A channel name that no other test process uses.
AnsiString UniqueChannelName();
