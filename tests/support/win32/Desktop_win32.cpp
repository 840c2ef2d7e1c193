#include "Desktop.h"

#include <commctrl.h>

#include "TestWindows.h"
#include "Utf8.h"

const int QuickStarts = 20;

namespace {

// A control's text as it is drawn and read out: "&" underlines the next
// character and is not shown, "&&" shows one.
std::string Drawn(const AnsiString& text)
{
    std::string drawn;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '&' && ++at == text.size())
            break;
        drawn += text[at];
    }
    return AnsiToUtf8(drawn);
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
    seen.Caption = AnsiToUtf8(WindowText(box));
    seen.Text = AnsiToUtf8(MessageBoxText(box));
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
    return {true, AnsiToUtf8(WindowText(form)), Drawn(WindowText(labels[0])), Drawn(WindowText(labels[1])),
            static_cast<int>(position)};
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
