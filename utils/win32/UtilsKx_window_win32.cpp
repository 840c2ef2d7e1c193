// Window and control helpers of the utility library.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <exception>

#include "Classes.h"
#include "Forms.h"
#include "Hwnd.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "UtilsKx.h"
#include "UtilsKxInternal_win32.h"

namespace NUtilsKx {

namespace {

BOOL WINAPI CallSystemParametersInfo(UINT action, UINT size, PVOID parameter, UINT flags)
{
    return SystemParametersInfoA(action, size, parameter, flags);
}

} // namespace

TSystemParametersInfo SystemParametersInfoCall = CallSystemParametersInfo;

void RemoveWindowTaskbar(void* window)
{
    const auto handle = static_cast<HWND>(window);
    const LONG style = GetWindowLongA(handle, GWL_EXSTYLE);
    ShowWindow(handle, SW_HIDE);
    // The taskbar re-reads the style only when the window is shown again.
    SetWindowLongA(handle, GWL_EXSTYLE, (style | WS_EX_TOOLWINDOW) & ~WS_EX_APPWINDOW);
    ShowWindow(handle, SW_SHOW);
}

// ---- Fonts -------------------------------------------------------------------

namespace {

struct TFontListFill {
    TStrings* List;
    std::exception_ptr Error;
};

int CALLBACK AddFontName(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM parameter)
{
    auto& fill = *reinterpret_cast<TFontListFill*>(parameter);
    try {
        const char* face = reinterpret_cast<const ENUMLOGFONTEXA*>(font)->elfLogFont.lfFaceName;
        const AnsiString name(face, strnlen(face, LF_FACESIZE));
        if (fill.List->IndexOf(name) < 0)
            fill.List->Add(name);
        return 1;
    } catch (...) {
        // The list's own failure: stop here and let the caller see it.
        fill.Error = std::current_exception();
        return 0;
    }
}

} // namespace

void LoadFontList(void* dc, TStrings* list)
{
    // Every family of every character set: a face comes once per set.
    LOGFONTA all{};
    all.lfCharSet = DEFAULT_CHARSET;
    TFontListFill fill{list, nullptr};
    EnumFontFamiliesExA(static_cast<HDC>(dc), &all, reinterpret_cast<FONTENUMPROCA>(AddFontName),
                        reinterpret_cast<LPARAM>(&fill), 0);
    if (fill.Error)
        std::rethrow_exception(fill.Error);
}

// ---- Memo caret --------------------------------------------------------------

namespace {

// The control packs a position into two signed 16-bit halves.
POINT DecodePosition(LRESULT packed)
{
    const auto value = static_cast<DWORD>(packed);
    return POINT{static_cast<int16_t>(LOWORD(value)), static_cast<int16_t>(HIWORD(value))};
}

// Sums of the control's coordinates stay within its 16 bits, as it forms them.
LONG Add16(LONG coordinate, int distance)
{
    return static_cast<int16_t>(coordinate + distance);
}

TForm* FormOf(TControl* control)
{
    while (control->Parent() != nullptr)
        control = control->Parent();
    return dynamic_cast<TForm*>(control);
}

// Gives the canvas another font until it goes.
class TCanvasFont {
public:
    TCanvasFont(TCanvas& canvas, const TFont& font) : FCanvas(canvas), FSaved(canvas.Font) { canvas.Font = font; }
    ~TCanvasFont() { FCanvas.Font = FSaved; }
    TCanvasFont(const TCanvasFont&) = delete;
    TCanvasFont& operator=(const TCanvasFont&) = delete;

private:
    TCanvas& FCanvas;
    TFont FSaved;
};

// Where the caret stands behind the last character, which the control gives
// no position for: right of that character, or at the start of the empty
// line behind a final line break.
POINT EndOfTextPosition(TMemo& memo, TForm& form, int caret)
{
    const HWND window = Hwnd(memo.Handle());
    const LRESULT line = SendMessageA(window, EM_LINEFROMCHAR, caret, 0);
    POINT position = DecodePosition(SendMessageA(window, EM_POSFROMCHAR, caret - 1, 0));
    TCanvasFont font(*form.Canvas(), memo.Font());
    if (SendMessageA(window, EM_LINEFROMCHAR, caret - 1, 0) == line) {
        const AnsiString text = memo.Lines()->Get(static_cast<int>(line));
        if (!text.empty())
            position.x = Add16(position.x, form.Canvas()->TextWidth(text.substr(text.size() - 1)));
    } else {
        position.x = DecodePosition(SendMessageA(window, EM_POSFROMCHAR, 0, 0)).x;
        position.y = Add16(position.y, form.Canvas()->TextHeight("X"));
    }
    return position;
}

} // namespace

bool GetMemoCaretPos(TMemo* memo, POINT& position)
{
    position = POINT{-1, -1};
    TForm* form = memo != nullptr ? FormOf(memo) : nullptr;
    if (form == nullptr)
        return false;
    const HWND window = Hwnd(memo->Handle());
    const int caret = memo->SelStart();
    position = DecodePosition(SendMessageA(window, EM_POSFROMCHAR, caret, 0));
    if (position.x == -1 && position.y == -1) {
        const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
        if (length == 0) {
            RECT formatting{};
            SendMessageA(window, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&formatting));
            position = POINT{formatting.left, formatting.top};
        } else if (length != caret) {
            return false;
        } else {
            position = EndOfTextPosition(*memo, *form, caret);
        }
    }
    RECT client{};
    GetClientRect(window, &client);
    if (position.x < 0 || position.y < 0 || position.x >= client.right || position.y >= client.bottom) {
        position = POINT{-1, -1};
        return false;
    }
    return true;
}

// ---- Popup menus and the foreground ------------------------------------------

bool ProcessPopMenuMessage(TPopupMenu* menu)
{
    if (menu == nullptr)
        return false;
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE))
        return false;
    if (message.message != WM_COMMAND || HIWORD(message.wParam) != 0)
        return false;
    if (menu->FindItem(LOWORD(message.wParam)) == nullptr)
        return false;
    if (Application->OnMessage) {
        TMsg seen{message.hwnd, message.message, message.wParam, message.lParam};
        bool handled = false;
        Application->OnMessage(seen, handled);
        if (handled)
            return false;
    }
    PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
    DispatchMessageA(&message);
    return true;
}

bool ForceForegroundWindow(void* window)
{
    const HWND foreground = GetForegroundWindow();
    const DWORD thread = GetCurrentThreadId();
    const DWORD owner = GetWindowThreadProcessId(foreground, nullptr);
    if (owner == thread)
        return SetForegroundWindow(Hwnd(window)) != FALSE;
    AttachThreadInput(thread, owner, TRUE);
    const bool accepted = SetForegroundWindow(Hwnd(window)) != FALSE;
    AttachThreadInput(thread, owner, FALSE);
    return accepted;
}

// ---- Window animation --------------------------------------------------------

namespace {

static_assert(sizeof(ANIMATIONINFO) == 8);

// Switches the animation off for its lifetime, unless it was off already.
class TAnimationOff {
public:
    TAnimationOff() : FAnimation(GetWindowAnimation())
    {
        if (FAnimation != 0)
            SetWindowAnimation(0);
    }
    ~TAnimationOff()
    {
        if (FAnimation != 0)
            SetWindowAnimation(FAnimation);
    }
    TAnimationOff(const TAnimationOff&) = delete;
    TAnimationOff& operator=(const TAnimationOff&) = delete;

private:
    int FAnimation;
};

} // namespace

int GetWindowAnimation()
{
    ANIMATIONINFO info{sizeof info, 0};
    if (!SystemParametersInfoCall(SPI_GETANIMATION, sizeof info, &info, 0))
        return 0;
    return info.iMinAnimate;
}

void SetWindowAnimation(int animation)
{
    ANIMATIONINFO info{sizeof info, animation};
    SystemParametersInfoCall(SPI_SETANIMATION, sizeof info, &info, 0);
}

void ShowWinNoAnimate(void* window, int command)
{
    TAnimationOff off;
    ShowWindow(Hwnd(window), command);
}

void ShowMinimizedOnStartup(bool beforeStart)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    if (startup.wShowWindow != SW_SHOWMINNOACTIVE)
        return;
    const HWND application = Hwnd(Application->Handle());
    if (beforeStart) {
        Application->ShowMainForm = false;
        SetWindowLongA(application, GWL_STYLE, GetWindowLongA(application, GWL_STYLE) | WS_MINIMIZE);
    } else {
        TAnimationOff off;
        SendMessageA(application, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
}

// ---- Control trees -----------------------------------------------------------

namespace {

TWinControl* FindFocusControl(TWinControl& root, HWND focus)
{
    for (int i = 0; i < root.ControlCount(); ++i) {
        if (!root.Controls(i)->IsWindowed())
            continue;
        auto& child = static_cast<TWinControl&>(*root.Controls(i));
        // Asking for the handle creates the window if need be.
        if (Hwnd(child.Handle()) == focus)
            return &child;
        if (TWinControl* found = FindFocusControl(child, focus))
            return found;
    }
    return nullptr;
}

} // namespace

TWinControl* GetFocusControl(TWinControl* root)
{
    return root != nullptr ? FindFocusControl(*root, GetFocus()) : nullptr;
}

bool IsChildControl(TWinControl* root, TControl* control)
{
    if (root == nullptr)
        return false;
    for (int i = 0; i < root->ControlCount(); ++i) {
        TControl* child = root->Controls(i);
        if (child == control)
            return true;
        if (child->IsWindowed() && IsChildControl(static_cast<TWinControl*>(child), control))
            return true;
    }
    return false;
}

} // namespace NUtilsKx
