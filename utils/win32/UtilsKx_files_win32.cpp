// Directories and temporary files under Win32.
#include <windows.h>

#include "ConstKx.h"
#include "LastError.h"
#include "SysUtils.h"
#include "UtilsKx.h"
#include "UtilsKxInternal.h"

namespace NUtilsKx {

bool DirExists(const AnsiString& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

AnsiString GetTempPathA()
{
    return QueryTempPath([](unsigned size, char* buffer) { return ::GetTempPathA(size, buffer); });
}

AnsiString CreateTempFile(AnsiString prefix)
{
    const AnsiString folder = GetTempPathA();
    char name[MAX_PATH + 1] = {};
    if (GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, name) == 0)
        RaiseLastError([] { return LoadResString(SErrorTempFile); });
    return name;
}

} // namespace NUtilsKx
