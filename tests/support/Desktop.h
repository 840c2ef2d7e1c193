#pragma once
// What the user sees of a process, read the way the platform lets assistive
// tools read it (Win32 windows; the accessibility bus on Linux).
#include <cstdlib>
#include <string>

#include "TestProcess.h"

// A message box on screen: its caption, its text (UTF-8) and whether it
// shows an icon.
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
// How many message boxes the process shows.
int BoxCount(const TChildProcess& child);

// The message window of a process as a screen reader reads it: its caption,
// its upper and lower line (UTF-8, an "&" resolved as it is drawn) and the
// bar's position; Found is false while none is on screen.
struct TWindowSeen {
    bool Found = false;
    std::string Caption;
    std::string Upper;
    std::string Lower;
    int Bar = -1;
    // The upper line is read from the right and aligned there.
    bool UpperFromTheRight = false;
};
TWindowSeen ReadWindow(const TChildProcess& child);

// What the desktop makes of the window: whether it has an entry in the
// taskbar (or a pager), whether its frame offers anything but moving it,
// its client area in pixels and whether it stands in the middle of the
// screen.
struct TWindowFrame {
    bool Found = false;
    bool TaskbarEntry = true;
    bool Buttons = true;
    int ClientWidth = 0;
    int ClientHeight = 0;
    bool Centred = false;
    // Where the frame stands in the work area, across and down: -1 near the
    // left (top) edge, 0 in the middle, 1 near the right (bottom) edge, 2
    // elsewhere. Whether it stays above other windows.
    int Column = 2;
    int Row = 2;
    bool TopMost = false;
};
// That place for a frame from `start` to `end` in an area from `low` to `high`.
inline int PlaceAlong(int low, int high, int start, int end)
{
    if (start >= low && start - low <= 40)
        return -1;
    if (end <= high && high - end <= 40)
        return 1;
    return std::abs((start + end) / 2 - (low + high) / 2) <= 1 ? 0 : 2;
}
TWindowFrame ReadFrame(const TChildProcess& child);
// The screen's scale: the window's 96-dpi layout is this many dots per inch.
int ScreenDpi();

// Asks the window to close as the close button of a frame would; false when
// it has no window.
bool RequestClose(const TChildProcess& child);

// How many quick starts a test of start-up races makes: Wine starts a
// process several times as slowly as Linux does.
extern const int QuickStarts;
// Whether the window behind a form's Handle() is there.
bool WindowIsOpen(void* handle);
