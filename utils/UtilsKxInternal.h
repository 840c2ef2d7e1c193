#pragma once
// Routines of the utility library that are not part of its exported interface.
#include <functional>

#include "Classes.h"
#include "ConstKx.h"
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

// ---- Messages ---------------------------------------------------------------

namespace NUtilsKx {

// The message's compiled-in text, where the string table has none.
AnsiString BuiltInResString(TResourceString message);

} // namespace NUtilsKx

// ---- File version ----------------------------------------------------------

namespace NUtilsKx {

// GetFileVersion for any file: the version text of its version resource, or
// the empty string.
AnsiString ReadFileVersion(const AnsiString& fileName);

} // namespace NUtilsKx

// ---- Temporary directory ---------------------------------------------------

namespace NUtilsKx {

// The system's temporary-directory call: given a buffer of `size` bytes it
// writes the path and answers its length without the NUL, or answers the size
// that the path needs (NUL included) when the buffer is too small, or 0 when
// it fails.
using TTempPathQuery = std::function<unsigned(unsigned size, char* buffer)>;

// GetTempPathA over any such call: the path with a trailing backslash, or
// Exception (SErrorTempDir).
AnsiString QueryTempPath(const TTempPathQuery& query);

} // namespace NUtilsKx
