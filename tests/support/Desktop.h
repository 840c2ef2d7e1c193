#pragma once
// What the user sees of a process, read the way the platform lets assistive
// tools read it (Win32 windows; the accessibility bus on Linux).
#include <string>

#include "TestProcess.h"

// A message box on screen: its caption, its text (the program's code page on
// Windows, UTF-8 on Linux) and whether it shows an icon.
struct TBoxSeen {
    bool Found = false;
    std::string Caption;
    std::string Text;
    bool HasIcon = false;
};

// The process's message box, once it shows one (Found is false if none comes
// within 30 seconds).
TBoxSeen WaitForBox(const TChildProcess& child);
// Presses its OK button; false when there is none.
bool PressBoxOk(const TChildProcess& child);
// Whether the window behind a form's Handle() is there.
bool WindowIsOpen(void* handle);
