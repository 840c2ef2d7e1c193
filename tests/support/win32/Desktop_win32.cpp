#include "Desktop.h"

#include "TestWindows.h"

TBoxSeen WaitForBox(const TChildProcess& child)
{
    TBoxSeen seen;
    const HWND box = WaitForMessageBox(child);
    if (box == nullptr)
        return seen;
    seen.Found = true;
    seen.Caption = WindowText(box);
    seen.Text = MessageBoxText(box);
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

bool WindowIsOpen(void* handle)
{
    return IsWindow(static_cast<HWND>(handle));
}
