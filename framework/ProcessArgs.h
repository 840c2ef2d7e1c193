#pragma once
// The argument list of a process: argument 0 is the full path of the running
// executable, arguments 1 to n are cut from the command line after its first
// token (the program).
#include <vector>

#include "AnsiString.h"

struct TArgumentList {
    AnsiString Program;
    std::vector<AnsiString> Arguments;

    // n: the number of arguments after the program.
    int Count() const { return static_cast<int>(Arguments.size()); }
    // Argument 0 is Program; an index below 0 or beyond n gives the empty text.
    AnsiString operator[](int index) const;
};

// Splits a command line by the process argument rule: runs of characters with
// codes 1 to 32 separate; a double quote opens a stretch, up to the next double
// quote or the end, in which they do not; quotes are removed; two quotes where
// an argument would begin are passed over like a separator. The first token is
// the program and is dropped; `program` becomes argument 0.
TArgumentList SplitCommandLine(AnsiString program, const char* commandLine);

// The running process's own list in the library's single-byte text: the
// ANSI code page on Windows, 1252 on Linux (platform code).
TArgumentList ProcessArguments();
// The same list in UTF-8, as the front end takes it: on Windows from the
// system's own UTF-16 command line, on Linux as the user's locale wrote it.
TArgumentList ProcessArgumentsUtf8();
// The full path of the running executable, whatever its length, in the ANSI
// code page on Windows, the file system's bytes on Linux (platform code).
AnsiString ExecutableFileName();
// The same in UTF-8 on Windows: a folder whose name the code page cannot
// hold is named right.
AnsiString ExecutableFileNameUtf8();
