#include "Desktop.h"

#include <commctrl.h>

#include "TestWindows.h"
#include "Utf8.h"
#include "WideText.h"

const int QuickStarts = 20;

namespace {

// A window's text in UTF-8, as the system keeps it.
std::string TextOf(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return WideToUtf8(text);
}

// A control's text as it is drawn and read out: "&" underlines the next
// character and is not shown, "&&" shows one.
std::string Drawn(const std::string& text)
{
    std::string drawn;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '&' && ++at == text.size())
            break;
        drawn += text[at];
    }
    return drawn;
}

HWND FormOf(const TChildProcess& child)
{
    const std::vector<HWND> forms = ProcessWindows(child.Id(), "TFrmMain");
    return forms.empty() || !IsWindowVisible(forms.front()) ? nullptr : forms.front();
}

} // namespace

TBoxSeen WaitForBox(const TChildProcess& child)
{
    TBoxSeen seen;
    const HWND box = WaitForMessageBox(child);
    if (box == nullptr)
        return seen;
    seen.Found = true;
    seen.Caption = TextOf(box);
    // The message box's text control has the identifier 0xFFFF.
    seen.Text = TextOf(GetDlgItem(box, 0xFFFF));
    // The box's icon is the static control 0x440, hidden or empty without one.
    const HWND icon = GetDlgItem(box, 0x0440);
    seen.HasIcon = icon != nullptr && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    return seen;
}

bool PressBoxOk(const TChildProcess& child)
{
    const std::vector<HWND> boxes = ProcessWindows(child.Id(), "#32770");
    return !boxes.empty() && PostMessageA(boxes.front(), WM_COMMAND, IDOK, 0);
}

int BoxCount(const TChildProcess& child)
{
    return static_cast<int>(ProcessWindows(child.Id(), "#32770").size());
}

bool WindowIsOpen(void* handle)
{
    return IsWindow(static_cast<HWND>(handle));
}

TWindowSeen ReadWindow(const TChildProcess& child)
{
    TWindowSeen seen;
    const HWND form = FormOf(child);
    const std::vector<HWND> labels = form != nullptr ? ChildWindows(form, "Static") : std::vector<HWND>{};
    const std::vector<HWND> bars = form != nullptr ? ChildWindows(form, PROGRESS_CLASSA) : std::vector<HWND>{};
    if (labels.size() != 2 || bars.empty())
        return seen;
    DWORD_PTR position = 0;
    SendMessageTimeoutA(bars.front(), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &position);
    const bool fromTheRight = (GetWindowLongW(labels[0], GWL_EXSTYLE) & WS_EX_RTLREADING) != 0 &&
                              (GetWindowLongW(labels[0], GWL_STYLE) & SS_TYPEMASK) == SS_RIGHT;
    return {true, TextOf(form), Drawn(TextOf(labels[0])), Drawn(TextOf(labels[1])), static_cast<int>(position),
            fromTheRight};
}

TWindowFrame ReadFrame(const TChildProcess& child)
{
    TWindowFrame frame;
    const HWND form = FormOf(child);
    if (form == nullptr)
        return frame;
    // No taskbar button: the application's window is a tool window and owns
    // the form.
    const HWND owner = GetWindow(form, GW_OWNER);
    char ownerClass[64] = {};
    GetClassNameA(owner, ownerClass, sizeof ownerClass);
    const LONG ownerStyle = GetWindowLongA(owner, GWL_EXSTYLE);
    frame.TaskbarEntry = owner == nullptr || AnsiString(ownerClass) != "TApplication" ||
                         !(ownerStyle & WS_EX_TOOLWINDOW) || (ownerStyle & WS_EX_APPWINDOW);
    frame.Buttons = (GetWindowLongA(form, GWL_STYLE) & WS_SYSMENU) != 0;
    RECT client{};
    RECT bounds{};
    GetClientRect(form, &client);
    GetWindowRect(form, &bounds);
    frame.Found = true;
    frame.ClientWidth = client.right;
    frame.ClientHeight = client.bottom;
    frame.Centred = std::abs((bounds.left + bounds.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2) <= 1 &&
                    std::abs((bounds.top + bounds.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2) <= 1;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    frame.Column = PlaceAlong(work.left, work.right, bounds.left, bounds.right);
    frame.Row = PlaceAlong(work.top, work.bottom, bounds.top, bounds.bottom);
    frame.TopMost = (GetWindowLongA(form, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    return frame;
}

int ScreenDpi()
{
    return GetDeviceCaps(TWindowDC(nullptr).Get(), LOGPIXELSY);
}

bool RequestClose(const TChildProcess& child)
{
    const HWND form = FormOf(child);
    return form != nullptr && PostMessageA(form, WM_CLOSE, 0, 0);
}
