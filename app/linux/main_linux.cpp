#include "EntryRoutine.h"
#include "Forms.h"

int main()
{
    const int exitCode = RunEntryRoutine();
    // The framework shuts down after the entry routine: the forms go last.
    Application->Shutdown();
    return exitCode;
}
