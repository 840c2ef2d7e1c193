// Window helpers of the utility library.
#include <windows.h>

#include "UtilsKx.h"

namespace NUtilsKx {

void RemoveWindowTaskbar(void* window)
{
    const auto handle = static_cast<HWND>(window);
    const LONG style = GetWindowLongA(handle, GWL_EXSTYLE);
    ShowWindow(handle, SW_HIDE);
    // The taskbar re-reads the style only when the window is shown again.
    SetWindowLongA(handle, GWL_EXSTYLE, (style | WS_EX_TOOLWINDOW) & ~WS_EX_APPWINDOW);
    ShowWindow(handle, SW_SHOW);
}

} // namespace NUtilsKx
