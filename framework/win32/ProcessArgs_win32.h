#pragma once
#include <string>

// The full path of the running executable in the system's own characters,
// which the ANSI code page may not hold: for starting the program again.
std::wstring ExecutableWideFileName();
