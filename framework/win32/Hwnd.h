#pragma once
// The framework keeps a control's window as the void* of its Handle(); on
// Windows that is its window handle.
#include <windows.h>

inline HWND Hwnd(void* handle)
{
    return static_cast<HWND>(handle);
}
