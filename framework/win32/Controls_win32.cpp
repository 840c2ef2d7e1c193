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
#include "Utf8.h"
#include "WideText.h"
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
        LOGFONTW description{};
        description.lfHeight = -Scale(font.Height, dpi);
        description.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
        // Any character set: the system's font linking fills in the scripts
        // that the face lacks.
        description.lfCharSet = DEFAULT_CHARSET;
        WideOf(font.Name).copy(description.lfFaceName, LF_FACESIZE - 1);
        slot.Reset(CreateFontIndirectW(&description));
    }
    return slot.Get();
}

void RegisterWindowClass(const char* className, WNDPROC procedure, HBRUSH background)
{
    // Unicode windows: their texts hold every script, not only the ANSI
    // code page's.
    const std::wstring name = Utf8ToWide(className);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, name.c_str(), &windowClass))
        return;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name.c_str();
    if (!RegisterClassExW(&windowClass))
        RaiseLastError([&] { return Format(SWindowClassNotRegistered, className); });
}

HWND CreateChildWindow(TWinControl& control, const char* className, DWORD style, int dpi, DWORD exStyle)
{
    static int nextId = 100;
    if (control.Parent() == nullptr)
        throw Exception(SParentRequired);
    const HWND window = CreateWindowExW(
        exStyle, Utf8ToWide(className).c_str(), WideOf(control.Caption()).c_str(),
        WS_CHILD | WS_CLIPSIBLINGS | (control.Visible() ? WS_VISIBLE : 0) | style, Scale(control.Left(), dpi),
        Scale(control.Top(), dpi), Scale(control.Width(), dpi), Scale(control.Height(), dpi),
        Hwnd(control.Parent()->Handle()), reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)),
        GetModuleHandleW(nullptr), &control);
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
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    } else if (message == WM_PAINT) {
        const auto* panel = reinterpret_cast<const TPanel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
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
    return DefWindowProcW(window, message, wParam, lParam);
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

namespace {

// A text that starts in a script written from the right is read and aligned
// from the right; every other stays as it always was.
DWORD LabelStyle(const TLabel& label)
{
    if (StartsRightToLeft(TextToUtf8(label.Caption())))
        return SS_RIGHT;
    return label.WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
}

DWORD LabelExStyle(const TLabel& label)
{
    return StartsRightToLeft(TextToUtf8(label.Caption())) ? WS_EX_RTLREADING : 0;
}

} // namespace

void TLabel::CreateWnd()
{
    FHandle = CreateChildWindow(*this, "Static", LabelStyle(*this), Dpi(), LabelExStyle(*this));
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
    const HWND window = Hwnd(FHandle);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    const LONG wanted = static_cast<LONG>((style & ~SS_TYPEMASK) | LabelStyle(*this));
    const LONG wantedEx = static_cast<LONG>((exStyle & ~WS_EX_RTLREADING) | LabelExStyle(*this));
    if (wanted != style || wantedEx != exStyle) {
        SetWindowLongW(window, GWL_STYLE, wanted);
        SetWindowLongW(window, GWL_EXSTYLE, wantedEx);
    }
    SetWindowTextW(window, WideOf(Caption()).c_str());
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
    FHandle = CreateChildWindow(*this, "msctls_progress32", Smooth ? PBS_SMOOTH : 0, Dpi());
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
