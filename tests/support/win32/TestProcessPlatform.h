#pragma once
// What a test can ask of a child process on Windows, and what it keeps of
// one.
#include <windows.h>

#include <string>
#include <vector>

#include "AnsiString.h"
#include "Handle.h"

using TProcessId = DWORD;

// A program and its command line, passed on exactly as written, for what an
// argument list cannot say (tabs, quotes inside words, control characters).
struct TCommandLine {
    AnsiString Program;
    AnsiString Text;
};
// What a child process starts with: an argument list becomes a command line
// in which each argument that is empty or holds a blank is put in quotes.
using TChildStart = TCommandLine;

struct TChildOptions {
    // Environment entries, NAME=value, in place of the test's own of that
    // name.
    std::vector<std::string> Environment{};
    // Standard output and error go to a pipe that ReadOutput reads.
    bool CaptureOutput = false;
    // The start-up information's show command; < 0 leaves it alone.
    int ShowWindow = -1;
    // The process exists but runs none of its code until it is ended.
    bool Suspended = false;
    // The start-up information's window station and desktop
    // ("station\\desktop"); empty: the test's own.
    std::string Desktop{};
};

struct TChildState {
    TKernelHandle Process;
    TFileHandle Output;
    DWORD Id = 0;
};
