// Win32 windows of the framework's controls: panels are windows of our own
// class, labels are static controls, the bar is the standard progress control.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <map>
#include <memory>
#include <tuple>

#include "ComCtrls.h"
#include "Consts.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "LastError.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "Window_win32.h"

namespace Win32 {

int ScreenDpi()
{
    const TWindowDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

namespace {

using TFontKey = std::tuple<AnsiString, int, bool, int>;

std::map<TFontKey, TFontHandle>& FontCache()
{
    static std::map<TFontKey, TFontHandle> cache;
    return cache;
}

} // namespace

HFONT FontFor(const TFont& font, int dpi)
{
    auto& slot = FontCache()[TFontKey{font.Name, font.Height, font.Bold, dpi}];
    if (!slot.Valid()) {
        LOGFONTA description{};
        description.lfHeight = -Scale(font.Height, dpi);
        description.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
        description.lfCharSet = DEFAULT_CHARSET;
        std::strncpy(description.lfFaceName, font.Name.c_str(), LF_FACESIZE - 1);
        slot.Reset(CreateFontIndirectA(&description));
    }
    return slot.Get();
}

void RegisterWindowClass(const char* className, WNDPROC procedure, HBRUSH background)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoExA(instance, className, &windowClass))
        return;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    if (!RegisterClassExA(&windowClass))
        RaiseLastError([&] { return Format(SWindowClassNotRegistered, className); });
}

HWND CreateChildWindow(TWinControl& control, const char* className, DWORD style, int dpi, DWORD exStyle)
{
    static int nextId = 100;
    if (control.Parent() == nullptr)
        throw Exception(SParentRequired);
    const HWND window = CreateWindowExA(
        exStyle, className, control.Caption().c_str(), WS_CHILD | WS_CLIPSIBLINGS | (control.Visible() ? WS_VISIBLE : 0) | style,
        Scale(control.Left(), dpi), Scale(control.Top(), dpi), Scale(control.Width(), dpi),
        Scale(control.Height(), dpi), Hwnd(control.Parent()->Handle()),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)), GetModuleHandleA(nullptr), &control);
    if (window == nullptr)
        RaiseLastError([&] { return Format(SWindowNotCreated, className); });
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control.Font(), dpi)), FALSE);
    return window;
}

void PlaceWindow(TControl& control, HWND window, int dpi)
{
    MoveWindow(window, Scale(control.Left(), dpi), Scale(control.Top(), dpi), Scale(control.Width(), dpi),
               Scale(control.Height(), dpi), TRUE);
}

void Rescale(TWinControl& root, int dpi)
{
    for (int i = 0; i < root.ControlCount(); ++i) {
        if (!root.Controls(i)->IsWindowed())
            continue;
        auto& child = static_cast<TWinControl&>(*root.Controls(i));
        if (!child.HandleAllocated())
            continue;
        const HWND window = Hwnd(child.Handle());
        PlaceWindow(child, window, dpi);
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(child.Font(), dpi)), TRUE);
        Rescale(child, dpi);
    }
}

} // namespace Win32

using namespace Win32;

void TWinControl::DestroyWnd()
{
    if (FHandle == nullptr)
        return;
    const HWND window = Hwnd(FHandle);
    FHandle = nullptr;
    ForgetChildHandles();
    DestroyWindow(window);
}

namespace {

const char PanelClass[] = "TPanel";

LRESULT CALLBACK PanelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    } else if (message == WM_PAINT) {
        const auto* panel = reinterpret_cast<const TPanel*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        if (panel != nullptr && panel->BevelOuter != TBevelCut::bvNone) {
            RECT rect;
            GetClientRect(window, &rect);
            const UINT edge = panel->BevelOuter == TBevelCut::bvRaised ? BDR_RAISEDOUTER : BDR_SUNKENOUTER;
            for (int i = 0; i < panel->BevelWidth; ++i) {
                DrawEdge(dc, &rect, edge, BF_RECT);
                InflateRect(&rect, -1, -1);
            }
        }
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void TPanel::CreateWnd()
{
    RegisterWindowClass(PanelClass, PanelWindowProc, GetSysColorBrush(COLOR_BTNFACE));
    FHandle = CreateChildWindow(*this, PanelClass, WS_CLIPCHILDREN, Dpi());
}

void TPanel::BoundsChanged()
{
    if (HandleAllocated()) {
        PlaceWindow(*this, Hwnd(FHandle), Dpi());
        InvalidateRect(Hwnd(FHandle), nullptr, TRUE);
    }
}

void TLabel::CreateWnd()
{
    FHandle = CreateChildWindow(*this, "Static", WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP, Dpi());
}

void TLabel::BoundsChanged()
{
    if (HandleAllocated())
        PlaceWindow(*this, Hwnd(FHandle), Dpi());
}

void TLabel::CaptionChanged()
{
    if (!HandleAllocated())
        return;
    SetWindowTextA(Hwnd(FHandle), Caption().c_str());
    // Screen readers learn of the new text from this event; not every
    // platform sends it for a static control's text on its own.
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Hwnd(FHandle), OBJID_WINDOW, CHILDID_SELF);
}

void TLabel::FontChanged()
{
    if (HandleAllocated())
        SendMessageA(Hwnd(FHandle), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(Font(), Dpi())), TRUE);
}

void TProgressBar::CreateWnd()
{
    [[maybe_unused]] static const bool registered = [] {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    FHandle = CreateChildWindow(*this, PROGRESS_CLASSA, Smooth ? PBS_SMOOTH : 0, Dpi());
    ShowPosition();
}

void TProgressBar::BoundsChanged()
{
    if (HandleAllocated())
        PlaceWindow(*this, Hwnd(FHandle), Dpi());
}

void TProgressBar::ShowPosition()
{
    if (!HandleAllocated())
        return;
    SendMessageA(Hwnd(FHandle), PBM_SETRANGE32, static_cast<WPARAM>(FMin), static_cast<LPARAM>(FMax));
    SendMessageA(Hwnd(FHandle), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}
