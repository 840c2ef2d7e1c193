#pragma once
// NUtilsKx: the general utility library.
#include "AnsiString.h"

namespace NUtilsKx {

// Appends a backslash unless the path is empty or already ends with one.
void AddPathDelimiter(AnsiString& path);
// Removes one trailing backslash, except from a path shorter than two
// characters or a drive root such as "C:\".
void RemovePathDelimiter(AnsiString& path);
// Gives a top-level window no taskbar button: hidden, made a tool window
// (not an application window), shown again.
void RemoveWindowTaskbar(void* window);

} // namespace NUtilsKx
