#pragma once
// A process's top-level window as the desktop sees it: the hints it reads for
// the taskbar, the window type and the frame's buttons; and a close request
// as the frame's close button would send it.
#include <sys/types.h>

#include <string>

#include "AtSpi.h"

struct TWindowHints {
    bool Found = false;
    // The window's state as its window manager keeps it (or, without one,
    // as the program asked).
    bool SkipTaskbar = false;
    bool SkipPager = false;
    bool KeptAbove = false;
    // What the program asked of the frame: moving only (no window menu, no
    // minimise, maximise or close button, no resizing), a title bar.
    bool MoveOnly = false;
    bool TitleBar = false;
    // Whether a window manager runs; if so, whether it offers to close,
    // minimise, maximise or resize the window, and where its frame lies.
    bool Managed = false;
    bool ManagerOffersButtons = false;
    TScreenRect Frame;
};

// The mapped top-level window of `process` whose title is `caption` (UTF-8).
TWindowHints ReadHints(pid_t process, const std::string& caption);
// Sends WM_DELETE_WINDOW to that window; false when there is none.
bool RequestClose(pid_t process, const std::string& caption);
// The screen of the display, in pixels.
TScreenRect ScreenRect();
// The part of the screen that the window manager leaves to windows (the
// screen without one).
TScreenRect WorkArea();
