#include <windows.h>

#include <commctrl.h>

#include "FormView.h"
#include "TestWindows.h"
#include "Utf8.h"
#include "WideText.h"

namespace {

HWND Window(TWinControl& control)
{
    return static_cast<HWND>(control.Handle());
}

LRESULT CALLBACK CountSetText(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR counter)
{
    if (message == WM_SETTEXT)
        ++*reinterpret_cast<int*>(counter);
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

TFormSeen ReadForm(TForm& form)
{
    const HWND window = Window(form);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    RECT client{};
    RECT bounds{};
    GetClientRect(window, &client);
    GetWindowRect(window, &bounds);
    return {IsWindowVisible(window) != FALSE,
            AnsiToUtf8(WindowText(window)),
            (style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0,
            (style & WS_THICKFRAME) != 0,
            std::abs((bounds.left + bounds.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2) <= 1 &&
                std::abs((bounds.top + bounds.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2) <= 1,
            client.right,
            client.bottom};
}

TBounds BoundsOnForm(TWinControl& control)
{
    TWinControl* form = &control;
    while (form->Parent() != nullptr)
        form = form->Parent();
    RECT rect;
    GetWindowRect(Window(control), &rect);
    MapWindowPoints(HWND_DESKTOP, Window(*form), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::string ShownText(TLabel& label)
{
    // "&" underlines the next character and is not drawn, "&&" draws one.
    const AnsiString text = WindowText(Window(label));
    std::string drawn;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '&' && ++at == text.size())
            break;
        drawn += text[at];
    }
    return AnsiToUtf8(drawn);
}

TTextLayout LayOut(TLabel& label, const std::string& text, int width)
{
    // The static control draws with DrawText and breaks at words; its lines
    // are as high as its own font's, whichever linked font draws a glyph.
    const HWND window = Window(label);
    const HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const std::wstring wide = Utf8ToWide(text);
    RECT bounds{0, 0, width, 0};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &bounds, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return {static_cast<int>(bounds.bottom / metrics.tmHeight), static_cast<int>(bounds.right), static_cast<int>(bounds.bottom)};
}

int BarPercent(TProgressBar& bar)
{
    return static_cast<int>(SendMessageA(Window(bar), PBM_GETPOS, 0, 0));
}

void PumpEvents()
{
    PumpMessages();
}

void AskToClose(TForm& form)
{
    PostMessageA(Window(form), WM_CLOSE, 0, 0);
}

TTextWrites::TTextWrites(TLabel& label) : FWindow(Window(label))
{
    SetWindowSubclass(static_cast<HWND>(FWindow), CountSetText, 1, reinterpret_cast<DWORD_PTR>(&FCount));
}

TTextWrites::~TTextWrites()
{
    RemoveWindowSubclass(static_cast<HWND>(FWindow), CountSetText, 1);
}
