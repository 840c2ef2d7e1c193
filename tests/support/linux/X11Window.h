#pragma once
// A process's top-level window as the desktop sees it: the hints it reads for
// the taskbar, the window type and the frame's buttons; and a close request
// as the frame's close button would send it.
#include <sys/types.h>

#include <string>

#include "AtSpi.h"

struct TWindowHints {
    bool Found = false;
    bool SkipTaskbar = false;
    bool SkipPager = false;
    bool Dialog = false;
    // The frame offers moving only: no window menu, no minimise, maximise
    // or close button, no resizing.
    bool MoveOnly = false;
    bool TitleBar = false;
};

// The mapped top-level window of `process` whose title is `caption` (UTF-8).
TWindowHints ReadHints(pid_t process, const std::string& caption);
// Sends WM_DELETE_WINDOW to that window; false when there is none.
bool RequestClose(pid_t process, const std::string& caption);
// The screen of the display, in pixels.
TScreenRect ScreenRect();
