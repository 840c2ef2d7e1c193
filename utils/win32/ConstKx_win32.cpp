#include <windows.h>

#include "ConstKx.h"
#include "UtilsKxInternal.h"

namespace NUtilsKx {

AnsiString LoadResString(TResourceString message)
{
    // LoadStringA converts the resource's UTF-16 text to the ANSI code page.
    char buffer[1024];
    const int length = LoadStringA(GetModuleHandleA(nullptr), message, buffer, sizeof buffer);
    if (length > 0)
        return AnsiString(buffer, static_cast<size_t>(length));
    return BuiltInResString(message);
}

} // namespace NUtilsKx
