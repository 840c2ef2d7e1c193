#include <windows.h>

#include "SysUtils.h"

AnsiString SysErrorMessage(unsigned long errorCode)
{
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(errorCode), 0, text, sizeof text, nullptr);
    // The system's texts end in a full stop and a line end.
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == '.'))
        --length;
    return AnsiString(text, length);
}
