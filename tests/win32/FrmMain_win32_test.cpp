// The whole window run of the entry routine under Windows.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "EntryRoutine.h"
#include "Frm_main.h"
#include "Handle.h"
#include "Mailslot.h"
#include "TestProcess.h"
#include "Unt_settings.h"

namespace {

// The whole window run of the entry routine, ended by a Terminate command:
// the settings object is gone before the window object is destroyed.
TEST(EntryRoutine, SettingsAreDestroyedBeforeTheWindow)
{
    std::atomic<bool> sent{false};
    std::thread sender([&sent] {
        // The command can only arrive once the window has created the mailslot.
        WaitUntil([] {
            const TFileHandle slot(CreateFileA(CommandMailslotName, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            return slot.Valid();
        });
        WriteMailslot(CommandMailslotName, "Terminate");
        sent = true;
    });
    const int exitCode = RunEntryRoutine();
    sender.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Settings, nullptr);
    ASSERT_NE(FrmMain, nullptr) << "the window lives on until the framework shuts down";
    EXPECT_TRUE(IsWindow(static_cast<HWND>(FrmMain->Handle())));
    bool settingsGoneFirst = false;
    FrmMain->OnDestroy = [&settingsGoneFirst](TObject*) { settingsGoneFirst = Settings == nullptr; };
    Application->Shutdown();
    EXPECT_TRUE(settingsGoneFirst);
    EXPECT_EQ(FrmMain, nullptr);
}

} // namespace
