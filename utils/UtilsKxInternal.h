#pragma once
// Routines of the utility library that are not part of its exported interface.
#include "Classes.h"
#include "ProcessArgs.h"

namespace NUtilsKx {

// Cuts a NUL-terminated text into fields at `separator` and appends them to
// `list` with its own Add; returns how many were appended. Between two `quote`
// characters (0: none) the separator does not split; quotes are dropped, and a
// field whose quote is still open at the end is dropped as well. Empty fields
// count. A null or empty text appends nothing.
int SplitQuoted(const char* text, char separator, TStrings* list, char quote);

// The command-line switch helpers over a given command line (GetArgPointer:
// the result points into it) or argument list.
char* GetArgPointer(char* commandLine, int index);
int GetCmdLineSwitch(const TArgumentList& arguments, const AnsiString& name, bool ignoreCase);
AnsiString GetCmdLineSwitchVal(const TArgumentList& arguments, const AnsiString& name, bool ignoreCase);

} // namespace NUtilsKx
