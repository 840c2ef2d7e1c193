// Win32 side of the memo: a multi-line "Edit" control that holds the text.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "StdCtrls.h"
#include "Window_win32.h"

using namespace Win32;

namespace {

HWND MemoWindow(TMemo& memo)
{
    return Hwnd(memo.Handle());
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageA(window, message, wParam, lParam);
}

// Replaces the characters from `start` to `end` (exclusive) by `text`.
void ReplaceRange(HWND window, LRESULT start, LRESULT end, const AnsiString& text)
{
    Send(window, EM_SETSEL, static_cast<WPARAM>(start), end);
    Send(window, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace

int TMemoStrings::Count() const
{
    const HWND window = MemoWindow(FMemo);
    auto count = static_cast<int>(Send(window, EM_GETLINECOUNT));
    // The control counts the empty row behind a final line break (and the
    // one row of an empty text); the list does not.
    if (Send(window, EM_LINELENGTH, Send(window, EM_LINEINDEX, count - 1)) == 0)
        --count;
    return count;
}

AnsiString TMemoStrings::Get(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    const HWND window = MemoWindow(FMemo);
    const LRESULT length = Send(window, EM_LINELENGTH, Send(window, EM_LINEINDEX, index));
    if (length == 0)
        return {};
    // The control reads the buffer's size from its first word, so a row is
    // read up to 65535 characters.
    AnsiString line(static_cast<size_t>(std::max<LRESULT>(length, sizeof(WORD))), '\0');
    const auto size = static_cast<WORD>(std::min<LRESULT>(length, 0xFFFF));
    std::memcpy(line.data(), &size, sizeof size);
    line.resize(static_cast<size_t>(Send(window, EM_GETLINE, index, reinterpret_cast<LPARAM>(line.data()))));
    return line;
}

void TMemoStrings::Put(int index, const AnsiString& text)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    const HWND window = MemoWindow(FMemo);
    const LRESULT start = Send(window, EM_LINEINDEX, index);
    ReplaceRange(window, start, start + Send(window, EM_LINELENGTH, start), text);
}

void TMemoStrings::Insert(int index, const AnsiString& text)
{
    if (index < 0 || index > Count())
        ListIndexError(index);
    const HWND window = MemoWindow(FMemo);
    const LRESULT start = Send(window, EM_LINEINDEX, index);
    if (start >= 0) {
        ReplaceRange(window, start, start, text + "\r\n");
    } else {
        // Behind a last line that has no line break yet.
        const LRESULT end = GetWindowTextLengthA(window);
        ReplaceRange(window, end, end, "\r\n" + text);
    }
}

void TMemoStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    const HWND window = MemoWindow(FMemo);
    const LRESULT start = Send(window, EM_LINEINDEX, index);
    LRESULT end = Send(window, EM_LINEINDEX, index + 1);
    if (end < 0)
        end = GetWindowTextLengthA(window);
    ReplaceRange(window, start, end, "");
}

void TMemoStrings::Clear()
{
    SetWindowTextA(MemoWindow(FMemo), "");
}

AnsiString TMemo::Text()
{
    const HWND window = MemoWindow(*this);
    AnsiString text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TMemo::SetText(const AnsiString& text)
{
    SetWindowTextA(MemoWindow(*this), text.c_str());
}

int TMemo::SelStart()
{
    DWORD start = 0;
    Send(MemoWindow(*this), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TMemo::SetSelStart(int start)
{
    Send(MemoWindow(*this), EM_SETSEL, static_cast<WPARAM>(start), start);
}

int TMemo::SelLength()
{
    DWORD start = 0;
    DWORD end = 0;
    Send(MemoWindow(*this), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TMemo::SetSelLength(int length)
{
    const int start = SelStart();
    Send(MemoWindow(*this), EM_SETSEL, static_cast<WPARAM>(start), start + length);
}

void TMemo::CreateWnd()
{
    DWORD style = WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | (WordWrap ? 0 : ES_AUTOHSCROLL);
    if (ScrollBars == TScrollStyle::ssVertical || ScrollBars == TScrollStyle::ssBoth)
        style |= WS_VSCROLL;
    if (ScrollBars == TScrollStyle::ssHorizontal || ScrollBars == TScrollStyle::ssBoth)
        style |= WS_HSCROLL;
    FHandle = CreateChildWindow(*this, "Edit", style, Dpi(), WS_EX_CLIENTEDGE);
}

void TMemo::BoundsChanged()
{
    if (HandleAllocated())
        PlaceWindow(*this, Hwnd(FHandle), Dpi());
}

void TMemo::FontChanged()
{
    if (HandleAllocated())
        SendMessageA(Hwnd(FHandle), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(Font(), Dpi())), TRUE);
}
