// Win32 side of the canvas: text is measured on a device context of the
// form's window, in the font its controls use at the form's scale.
#include <windows.h>

#include "Forms.h"
#include "Graphics.h"
#include "Window_win32.h"

using namespace Win32;

TSize TCanvas::TextExtent(const AnsiString& text)
{
    TWindowDC dc(Hwnd(FForm.Handle()));
    dc.SelectFont(FontFor(Font, FForm.PixelsPerInch()));
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return TSize{size.cx, size.cy};
}
