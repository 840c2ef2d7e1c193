// Reports what ShowMinimizedOnStartup saw and did in this process, one
// record a line. Argument 1 is the phase ("before": before the application
// runs, "running": while it runs), argument 2 the animation setting that a
// stand-in reports. Records: "show=<wShowWindow>", then for "before"
// "showMainForm=<0|1>" and "minimizedStyle=<0|1>" (the application window's
// WS_MINIMIZE), for "running" "iconic=<0|1>", and last "animation=" with the
// calls on the setting and "minimise with <setting>" for the minimise
// command that reached the application's window, joined by ",".
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FakeAnimation.h"
#include "Forms.h"
#include "UtilsKx.h"

namespace {

WNDPROC ApplicationProcedure = nullptr;

LRESULT CALLBACK LogMinimise(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE)
        TFakeAnimation::Calls.push_back(Format("minimise with %d", TFakeAnimation::Value));
    return CallWindowProcA(ApplicationProcedure, window, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    _setmode(_fileno(stdout), _O_BINARY);
    const bool before = std::strcmp(argv[1], "before") == 0;
    TAnimationSeam seam(std::atoi(argv[2]));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    std::printf("show=%d\n", startup.wShowWindow);

    const auto application = static_cast<HWND>(Application->Handle());
    ApplicationProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(application, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LogMinimise)));
    NUtilsKx::ShowMinimizedOnStartup(before);
    if (before) {
        std::printf("showMainForm=%d\n", Application->ShowMainForm);
        std::printf("minimizedStyle=%d\n", (GetWindowLongA(application, GWL_STYLE) & WS_MINIMIZE) != 0);
    } else {
        std::printf("iconic=%d\n", IsIconic(application) != FALSE);
    }
    AnsiString calls;
    for (const AnsiString& call : TFakeAnimation::Calls)
        calls += (calls.empty() ? "" : ",") + call;
    std::printf("animation=%s\n", calls.c_str());
    Application->Shutdown();
    return 0;
}
