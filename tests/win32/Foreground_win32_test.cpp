// ForceForegroundWindow on real windows. The foreground is shared by every
// program on the display, so this runs alone (see CMakeLists.txt).
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TestProcess.h"
#include "TestWindows.h"
#include "UtilsKx.h"

using namespace NUtilsKx;

namespace {

// A second thread with a window of its own that it makes the foreground
// window; it runs its message loop until it is destroyed.
class TForegroundThread {
public:
    TForegroundThread()
        : FThread([this] {
              FThreadId = GetCurrentThreadId();
              const TWindowHandle window(CreateWindowExA(0, "Static", "other thread", WS_POPUP | WS_VISIBLE, 0, 0,
                                                         50, 50, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
              SetForegroundWindow(window.Get());
              FWindow = window.Get();
              MSG message;
              while (GetMessageA(&message, nullptr, 0, 0) > 0)
                  DispatchMessageA(&message);
          })
    {
    }
    ~TForegroundThread()
    {
        // The thread takes posted messages once it has made its window.
        WaitUntil([this] { return FWindow != nullptr && PostThreadMessageA(FThreadId, WM_QUIT, 0, 0); });
        FThread.join();
    }
    TForegroundThread(const TForegroundThread&) = delete;
    TForegroundThread& operator=(const TForegroundThread&) = delete;

    HWND Window() const { return FWindow; }

private:
    std::atomic<DWORD> FThreadId{0};
    std::atomic<HWND> FWindow{nullptr};
    std::thread FThread;
};

TEST(ForceForegroundWindow, FromThisThreadAndFromAnotherThreadsForeground)
{
    TPopupWindow mine(WS_VISIBLE);
    TPopupWindow second(WS_VISIBLE);
    SetForegroundWindow(mine.Get());
    ASSERT_EQ(GetForegroundWindow(), mine.Get());
    EXPECT_TRUE(ForceForegroundWindow(second.Get()));
    EXPECT_EQ(GetForegroundWindow(), second.Get());

    TForegroundThread other;
    ASSERT_TRUE(WaitUntil([&] {
        PumpMessages();
        return other.Window() != nullptr && GetForegroundWindow() == other.Window();
    }));
    EXPECT_TRUE(ForceForegroundWindow(mine.Get()));
    EXPECT_EQ(GetActiveWindow(), mine.Get());
    // Windows keeps the foreground with the window once the threads' input
    // is detached again; Wine leaves it with the other thread's input, which
    // no longer has an active window. Either way the other thread lost it.
    EXPECT_NE(GetForegroundWindow(), other.Window());
    PumpMessages();
}

} // namespace
