#pragma once
// Test helpers for Windows: windows of the test's own and of other
// processes, read as a screen reader or automation tool would.
#include <windows.h>

#include <vector>

#include "AnsiString.h"
#include "Handle.h"
#include "TestProcess.h"

// A top-level window without a caption (Wine hides and destroys those at
// once; windows with a caption wait for a window manager first).
class TPopupWindow : public TWindowHandle {
public:
    explicit TPopupWindow(DWORD style = 0)
        : TWindowHandle(CreateWindowExA(0, "Static", "", WS_POPUP | style, 0, 0, 50, 50, nullptr, nullptr,
                                        GetModuleHandleA(nullptr), nullptr))
    {
    }
};

// Dispatches what waits in this thread's queue.
void PumpMessages();

// Top-level windows of the given process, optionally of one window class.
std::vector<HWND> ProcessWindows(DWORD processId, const char* className = nullptr);
// A window's child windows of one class, from the top of the screen down.
std::vector<HWND> ChildWindows(HWND parent, const char* className);
AnsiString WindowText(HWND window);
// The process's visible message box, once it shows one (null if none comes),
// and the text of a message box.
HWND WaitForMessageBox(const TChildProcess& child);
AnsiString MessageBoxText(HWND box);
