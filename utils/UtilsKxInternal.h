#pragma once
// Routines of the utility library that are not part of its exported interface.
#include "Classes.h"

namespace NUtilsKx {

// Cuts a NUL-terminated text into fields at `separator` and appends them to
// `list` with its own Add; returns how many were appended. Between two `quote`
// characters (0: none) the separator does not split; quotes are dropped, and a
// field whose quote is still open at the end is dropped as well. Empty fields
// count. A null or empty text appends nothing.
int SplitQuoted(const char* text, char separator, TStrings* list, char quote);

} // namespace NUtilsKx
