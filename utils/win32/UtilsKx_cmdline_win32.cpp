// The command-line switch helpers over the process's own command line.
#include <windows.h>

#include "UtilsKx.h"
#include "UtilsKxInternal.h"

namespace NUtilsKx {

char* GetArgPointer(int index)
{
    return GetArgPointer(GetCommandLineA(), index);
}

int GetCmdLineSwitch(const AnsiString& name, bool ignoreCase)
{
    return GetCmdLineSwitch(ProcessArguments(), name, ignoreCase);
}

AnsiString GetCmdLineSwitchVal(const AnsiString& name, bool ignoreCase)
{
    return GetCmdLineSwitchVal(ProcessArguments(), name, ignoreCase);
}

} // namespace NUtilsKx
