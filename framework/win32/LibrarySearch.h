#pragma once
// Where the program's libraries come from. A deployment runs the program as
// SYSTEM from wherever its package was staged, often a folder where users
// may create files: a library that Windows looks for beside the executable
// first (every one that is not a KnownDLL, such as version.dll, wtsapi32.dll
// and userenv.dll) would run a user's code as SYSTEM.

// Restricts the search for every library loaded from here on to the system
// folder. Called first thing in the program, before any delay-loaded library
// is asked for; the delay-load helper asks the system folder alone as well.
void RestrictLibrarySearch();
