#pragma once
// What a test can ask of a child process on Linux, and what it keeps of one.
#include <sys/types.h>

#include <string>
#include <vector>

#include "AnsiString.h"
#include "Handle.h"

using TProcessId = pid_t;

// What a child process starts with: the program and its arguments after
// argument 0, exactly.
struct TChildStart {
    AnsiString Program;
    std::vector<std::string> Arguments;
};

struct TChildOptions {
    // Environment entries, NAME=value, in place of the test's own of that
    // name.
    std::vector<std::string> Environment{};
    // Standard output and error go to a pipe that ReadOutput reads.
    bool CaptureOutput = false;
    // Run as this user and group instead of the test's own (needs root).
    uid_t User = static_cast<uid_t>(-1);
};

struct TChildState {
    pid_t Id = -1;
    TFileDescriptor Output;
    bool Ended = false;
    int ExitCode = 0;
};

// The program as it is packaged, with its own session look-up.
AnsiString PackagedProgramPath();
// An unprivileged user other than the test's own, for messages from "another
// user" (nobody when the test runs as root; none otherwise).
uid_t OtherUser();
