#include <clocale>

#include "EntryRoutine.h"
#include "Forms.h"

int main()
{
    // Letters, their order and the toolkit's button texts follow the user's
    // locale; numbers and dates keep the C rules that the program's own
    // conversions expect.
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_COLLATE, "");
    std::setlocale(LC_MESSAGES, "");
    const int exitCode = RunEntryRoutine();
    // The framework shuts down after the entry routine: the forms go last.
    Application->Shutdown();
    return exitCode;
}
