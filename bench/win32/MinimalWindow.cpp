// The yardstick for the window's figures: one window with two static texts
// and a standard progress bar (the same controls, so the same libraries),
// built with the program's own flags. Closes on WM_CLOSE. Built a second time
// with DN_ANIMATE, its bar moves every 500 ms like the message window's: the
// yardstick for the idle CPU of a window whose bar moves.
#include <windows.h>

#include <commctrl.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        static int position = 0;
        position = position > 90 ? 0 : position + 10;
        SendMessageA(FindWindowExA(window, nullptr, PROGRESS_CLASSA, nullptr), PBM_SETPOS, position, 0);
        return 0;
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = "MinimalWindow";
    RegisterClassExA(&windowClass);
    const HWND window = CreateWindowExA(WS_EX_DLGMODALFRAME, "MinimalWindow", "Minimal", WS_POPUP | WS_CAPTION, 100,
                                        100, 380, 230, nullptr, nullptr, instance, nullptr);
    CreateWindowExA(0, "Static", "First line", WS_CHILD | WS_VISIBLE | SS_LEFT, 50, 32, 265, 35, window, nullptr,
                    instance, nullptr);
    CreateWindowExA(0, "Static", "Second line", WS_CHILD | WS_VISIBLE | SS_LEFT, 50, 80, 265, 35, window, nullptr,
                    instance, nullptr);
    const HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 16, 160, 337, 16, window, nullptr,
                                     instance, nullptr);
    SendMessageA(bar, PBM_SETPOS, 10, 0);
#ifdef DN_ANIMATE
    SetTimer(window, 1, 500, nullptr);
#endif
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
