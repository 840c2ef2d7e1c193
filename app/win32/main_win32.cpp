#include <windows.h>

#include "EntryRoutine.h"
#include "Forms.h"
#include "LibrarySearch.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictLibrarySearch();
    const int exitCode = RunEntryRoutine();
    // The framework shuts down after the entry routine: the forms go last.
    Application->Shutdown();
    return exitCode;
}
