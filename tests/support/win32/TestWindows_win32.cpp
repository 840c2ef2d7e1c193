#include "TestWindows.h"

#include <windows.h>

#include <algorithm>

#include "WaitUntil.h"

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

namespace {

struct TWindowSearch {
    DWORD ProcessId;
    const char* ClassName;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<TWindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.ProcessId)
        return TRUE;
    if (search.ClassName != nullptr) {
        char name[256] = {};
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpiA(name, search.ClassName) != 0)
            return TRUE;
    }
    search.Found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter)
{
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> ProcessWindows(DWORD processId, const char* className)
{
    TWindowSearch search{processId, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::vector<HWND> ChildWindows(HWND parent, const char* className)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::erase_if(children, [className](HWND child) {
        char name[256] = {};
        GetClassNameA(child, name, sizeof name);
        return lstrcmpiA(name, className) != 0;
    });
    std::sort(children.begin(), children.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top < rb.top;
    });
    return children;
}

AnsiString WindowText(HWND window)
{
    // WM_GETTEXT is marshalled across processes; GetWindowTextA would not ask
    // a control of another process for its text. The text may change between
    // asking for its length and for the text, so the buffer has room to spare
    // and a text that fills it is asked for again.
    // A process that a busy machine holds up for a few seconds is not gone:
    // the question is asked again before the answer counts as no text.
    const auto ask = [window](UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
        for (int attempt = 0; attempt < 3; ++attempt)
            if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result))
                return true;
        return false;
    };
    DWORD_PTR length = 0;
    if (!IsWindow(window) || !ask(WM_GETTEXTLENGTH, 0, 0, length))
        return AnsiString();
    for (size_t room = length + 1024;; room *= 2) {
        AnsiString text(room, '\0');
        DWORD_PTR copied = 0;
        if (!ask(WM_GETTEXT, room, reinterpret_cast<LPARAM>(text.data()), copied))
            return AnsiString();
        if (copied + 1 < room) {
            text.resize(copied);
            return text;
        }
    }
}

HWND WaitForMessageBox(const TChildProcess& child)
{
    HWND box = nullptr;
    WaitUntil([&] {
        const std::vector<HWND> boxes = ProcessWindows(child.Id(), "#32770");
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr && IsWindowVisible(box);
    }, std::chrono::seconds(30));
    return box;
}

AnsiString MessageBoxText(HWND box)
{
    // The message box's text control has the identifier 0xFFFF.
    return WindowText(GetDlgItem(box, 0xFFFF));
}
