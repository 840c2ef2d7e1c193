// Win32 side of the application object, forms and timers.
#include <windows.h>

#include <map>

#include "Consts.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "LastError.h"
#include "Station.h"
#include "SysUtils.h"
#include "Utf8.h"
#include "WideText.h"
#include "Window_win32.h"

using namespace Win32;

namespace {

const char ApplicationClass[] = "TApplication";

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        try {
            if (Application->MainForm() != nullptr)
                Application->MainForm()->Close();
            else
                Application->Terminate();
        } catch (const std::exception& error) {
            Application->HandleException(error);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void* TApplication::Handle()
{
    if (FHandle == nullptr) {
        RegisterWindowClass(ApplicationClass, ApplicationWindowProc, nullptr);
        FHandle = CreateWindowExW(0, Utf8ToWide(ApplicationClass).c_str(), WideOf(Title).c_str(),
                                  WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                  GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        if (FHandle == nullptr)
            RaiseLastError(SApplicationWindowNotCreated);
    }
    return FHandle;
}

void TApplication::RunMessageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (OnMessage) {
            TMsg seen{message.hwnd, message.message, message.wParam, message.lParam};
            bool handled = false;
            try {
                OnMessage(seen, handled);
            } catch (const std::exception& error) {
                HandleException(error);
            }
            if (handled)
                continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

void TApplication::DestroyHandle()
{
    DestroyWindow(Hwnd(FHandle));
}

void TApplication::ShowBox(const AnsiString& text, TMessageIcon icon, const AnsiString& detail)
{
    // A box on a window station that nobody sees (a service's) waits for a
    // click that never comes, and one that SYSTEM shows on a user's desktop
    // holds the deployment until someone clicks. Neither is shown: the text
    // goes to standard error, and the run goes on as after the box.
    if (RunsAsLocalSystem() || !WindowStationVisible()) {
        WriteStandardError(Title + ": " + text + (detail.empty() ? AnsiString() : " (" + detail + ")"));
        return;
    }
    // Over the main form while it is on screen; otherwise a box of its own,
    // with its own taskbar button, so that the user can find it.
    HWND owner = nullptr;
    if (FMainForm != nullptr && FMainForm->HandleAllocated() && IsWindowVisible(Hwnd(FMainForm->Handle())))
        owner = Hwnd(FMainForm->Handle());
    UINT flags = MB_OK | MB_SETFOREGROUND | (owner == nullptr ? MB_TASKMODAL : 0);
    if (icon == TMessageIcon::Stop)
        flags |= MB_ICONSTOP;
    if (StartsRightToLeft(TextToUtf8(text)))
        flags |= MB_RTLREADING | MB_RIGHT;
    MessageBoxW(owner, WideOf(text).c_str(), WideOf(Title).c_str(), flags);
}

uint32_t GetTickCount32()
{
    return GetTickCount();
}

struct TFormWindow {
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        }
        auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        try {
            if (form != nullptr && message == WM_CLOSE) {
                form->Close();
                return 0;
            }
            if (form != nullptr && message == WM_DISPLAYCHANGE) {
                // Another resolution, or a monitor gone (a docking station
                // unplugged): the window goes back to its place on screen.
                Place(*form);
            }
            if (form != nullptr && message == WM_DPICHANGED) {
                // Moved to a screen of another scale: lay everything out anew.
                form->FPixelsPerInch = HIWORD(wParam);
                const auto* suggested = reinterpret_cast<const RECT*>(lParam);
                SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                             suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
                Rescale(*form, form->FPixelsPerInch);
                return 0;
            }
        } catch (const std::exception& error) {
            Application->HandleException(error);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static DWORD Style(const TForm& form)
    {
        DWORD style = WS_CLIPCHILDREN | WS_CAPTION;
        style |= form.BorderStyle == TBorderStyle::bsDialog ? WS_POPUP : WS_OVERLAPPEDWINDOW;
        if (!form.SystemMenu)
            style &= ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
        else
            style |= WS_SYSMENU;
        return style;
    }

    static DWORD ExStyle(const TForm& form)
    {
        return (form.BorderStyle == TBorderStyle::bsDialog ? WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE : 0) |
               (form.TopMost ? WS_EX_TOPMOST : 0);
    }

    // Where the form's window of that size goes: the designed place, the
    // middle of the screen, or its place in the work area.
    static POINT Origin(const TForm& form, SIZE size)
    {
        if (form.Position == TPosition::poScreenCenter)
            return {(GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
        if (form.Position == TPosition::poWorkArea)
            return WorkAreaOrigin(form, size);
        return {form.Left(), form.Top()};
    }

    static void Place(const TForm& form)
    {
        if (form.Position == TPosition::poDesigned)
            return;
        RECT bounds{};
        GetWindowRect(Hwnd(form.FHandle), &bounds);
        const POINT origin = Origin(form, SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top});
        SetWindowPos(Hwnd(form.FHandle), nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // Where a poWorkArea form's window goes: the monitor's work area leaves
    // out the taskbar and the desktop's bars.
    static POINT WorkAreaOrigin(const TForm& form, SIZE size)
    {
        POINT pointer{};
        GetCursorPos(&pointer);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& work = monitor.rcWork;
        const int margin = Scale(8, form.FPixelsPerInch);
        const auto along = [margin](LONG low, LONG high, LONG extent, int where) {
            return where < 0 ? low + margin : where > 0 ? high - margin - extent : low + (high - low - extent) / 2;
        };
        return {along(work.left, work.right, size.cx, form.WorkAreaX),
                along(work.top, work.bottom, size.cy, form.WorkAreaY)};
    }

    // The window's size for the form's client size at its scale.
    static SIZE WindowSize(const TForm& form)
    {
        RECT rect{0, 0, Scale(form.Width(), form.FPixelsPerInch), Scale(form.Height(), form.FPixelsPerInch)};
        AdjustWindowRectEx(&rect, Style(form), FALSE, ExStyle(form));
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }
};

void TForm::CreateWnd()
{
    RegisterWindowClass(ClassName(), TFormWindow::Procedure, GetSysColorBrush(COLOR_BTNFACE));
    FPixelsPerInch = ScreenDpi();
    const SIZE size = TFormWindow::WindowSize(*this);
    const POINT origin = TFormWindow::Origin(*this, size);
    const HWND owner = Hwnd(Application->Handle());
    FHandle = CreateWindowExW(TFormWindow::ExStyle(*this), Utf8ToWide(ClassName()).c_str(), WideOf(Caption()).c_str(),
                              TFormWindow::Style(*this) | (Visible() ? WS_VISIBLE : 0), origin.x, origin.y, size.cx, size.cy, owner,
                              nullptr, GetModuleHandleW(nullptr), this);
    if (FHandle == nullptr)
        RaiseLastError([&] { return Format(SWindowNotCreated, ClassName()); });
    SendMessageA(Hwnd(FHandle), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(Font(), FPixelsPerInch)), FALSE);
}

void TForm::BoundsChanged()
{
    if (!HandleAllocated())
        return;
    const SIZE size = TFormWindow::WindowSize(*this);
    SetWindowPos(Hwnd(FHandle), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CaptionChanged()
{
    if (HandleAllocated())
        SetWindowTextW(Hwnd(FHandle), WideOf(Caption()).c_str());
}

void TForm::VisibleChanged()
{
    if (HandleAllocated())
        ShowWindow(Hwnd(FHandle), Visible() ? SW_SHOWNORMAL : SW_HIDE);
}

void TForm::ShowAgain()
{
    if (HandleAllocated() && Visible() && IsIconic(Hwnd(FHandle)))
        ShowWindow(Hwnd(FHandle), SW_SHOWNOACTIVATE);
}

namespace {

std::map<UINT_PTR, TTimer*>& Timers()
{
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto found = Timers().find(id);
    if (found == Timers().end())
        return;
    try {
        found->second->Tick();
    } catch (...) {
        // Tick hands its own exceptions to the application; nothing may
        // cross into the system's code.
    }
}

} // namespace

void TTimer::Restart()
{
    Stop();
    if (!FEnabled || FInterval == 0)
        return;
    FId = SetTimer(nullptr, 0, FInterval, TimerProc);
    if (FId == 0)
        RaiseLastError(SOutOfTimers);
    Timers()[FId] = this;
}

void TTimer::Stop()
{
    if (FId == 0)
        return;
    KillTimer(nullptr, FId);
    Timers().erase(FId);
    FId = 0;
}
