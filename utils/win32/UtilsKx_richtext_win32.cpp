// Rich-text copy between two rich-edit controls, through memory.
#include <windows.h>

#include <richedit.h>

#include "Consts.h"
#include "Streams.h"
#include "SysUtils.h"
#include "UtilsKx.h"
#include "UtilsKxInternal_win32.h"

namespace NUtilsKx {

// The controls call these from inside SendMessageA; nothing may be thrown
// back into them.
DWORD CALLBACK RichTextStreamOut(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    *done = 0;
    try {
        *done = reinterpret_cast<TStream*>(cookie)->Write(buffer, count);
        return 0;
    } catch (...) {
        return 1;
    }
}

DWORD CALLBACK RichTextStreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    *done = 0;
    try {
        *done = reinterpret_cast<TStream*>(cookie)->Read(buffer, count);
        return 0;
    } catch (...) {
        return 1;
    }
}

void CopyRichText(void* destination, void* source, int format)
{
    TMemoryStream content;
    EDITSTREAM transfer{};
    transfer.dwCookie = reinterpret_cast<DWORD_PTR>(static_cast<TStream*>(&content));
    transfer.pfnCallback = RichTextStreamOut;
    SendMessageA(static_cast<HWND>(source), EM_STREAMOUT, static_cast<WPARAM>(format),
                 reinterpret_cast<LPARAM>(&transfer));
    if (transfer.dwError != 0)
        throw EOutOfResources(SStreamLoadFailed);
    transfer.pfnCallback = RichTextStreamIn;
    content.SetPosition(0);
    SendMessageA(static_cast<HWND>(destination), EM_STREAMIN, static_cast<WPARAM>(format),
                 reinterpret_cast<LPARAM>(&transfer));
    if (transfer.dwError != 0)
        throw EOutOfResources(SStreamLoadFailed);
}

} // namespace NUtilsKx
