#pragma once
// What the Win32 control files share: scaling, fonts and window classes.
#include <windows.h>

#include "Controls.h"
#include "Handle.h"
#include "Hwnd.h"

namespace Win32 {

// 96-dpi pixels to the window's pixels.
inline int Scale(int pixels, int dpi)
{
    return MulDiv(pixels, dpi, 96);
}

// The screen's scale for windows that are about to be created.
int ScreenDpi();

// A font for the given scale, kept for the life of the program (there are
// only a few).
HFONT FontFor(const TFont& font, int dpi);

// Registers a window class once; the window procedure gets the control from
// the creation parameter.
void RegisterWindowClass(const char* className, WNDPROC procedure, HBRUSH background);

// Creates a child window for `control` under its parent's window, with its
// bounds, text and font.
HWND CreateChildWindow(TWinControl& control, const char* className, DWORD style, int dpi, DWORD exStyle = 0);

// Moves a control's window to its bounds at the given scale.
void PlaceWindow(TControl& control, HWND window, int dpi);

// Lays the windows of `root`'s children out again at the given scale, fonts
// included: after the form has moved to a screen of another scale.
void Rescale(TWinControl& root, int dpi);

} // namespace Win32
