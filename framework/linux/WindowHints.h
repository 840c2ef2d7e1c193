#pragma once
// What the desktop is told of a top-level window, for code outside the
// framework that works on the framework's windows.

// Keeps the window (a form's or the application's Handle()) off the taskbar
// and the pager. The toolkit passes a changed hint on to the desktop at once,
// also while the window is on screen.
void SkipTaskbarAndPager(void* window);
