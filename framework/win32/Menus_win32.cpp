// Win32 side of popup menus: the menu is built from the items each time it
// is shown, and its commands go to a hidden window of the framework's own,
// which hands them to the popup menus.
#include <windows.h>

#include <utility>

#include "Consts.h"
#include "Forms.h"
#include "LastError.h"
#include "Menus.h"
#include "SysUtils.h"
#include "Window_win32.h"

using namespace Win32;

namespace {

const char PopupListClass[] = "TPopupList";

LRESULT CALLBACK PopupListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == 0) {
        try {
            if (TPopupMenu::DispatchCommand(LOWORD(wParam)))
                return 0;
        } catch (const std::exception& error) {
            Application->HandleException(error);
            return 0;
        } catch (...) {
            Application->HandleException(Exception(SUnknownException));
            return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND PopupListWindow()
{
    static HWND window = nullptr;
    if (window == nullptr) {
        RegisterWindowClass(PopupListClass, PopupListProc, nullptr);
        window = CreateWindowExA(0, PopupListClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        if (window == nullptr)
            RaiseLastError(SMenuWindowNotCreated);
    }
    return window;
}

TMenuHandle NewPopupMenu()
{
    TMenuHandle menu(CreatePopupMenu());
    if (!menu.Valid())
        RaiseLastError<EOutOfResources>(SMenuNotCreated);
    return menu;
}

void AppendItems(HMENU menu, const TMenuItem& parent)
{
    for (int i = 0; i < parent.Count(); ++i) {
        const TMenuItem& item = *parent.Items(i);
        if (item.Caption == "-") {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else if (item.Count() > 0) {
            TMenuHandle submenu = NewPopupMenu();
            AppendItems(submenu.Get(), item);
            // The submenu then belongs to the menu it was appended to.
            if (AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.Get()), item.Caption.c_str()))
                submenu.Release();
        } else {
            AppendMenuA(menu, MF_STRING, item.Command(), item.Caption.c_str());
        }
    }
    if (parent.Merged() != nullptr)
        AppendItems(menu, *parent.Merged());
}

} // namespace

void TPopupMenu::Popup(int x, int y)
{
    const TMenuHandle menu = NewPopupMenu();
    AppendItems(menu.Get(), *Items());
    TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, PopupListWindow(), nullptr);
}
