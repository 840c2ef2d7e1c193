// The whole window run of the entry routine, in this process, on every
// platform with windows.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ChannelProbe.h"
#include "Desktop.h"
#include "EntryRoutine.h"
#include "Frm_main.h"
#include "Channel.h"
#include "TestProcess.h"
#include "Unt_settings.h"

namespace {

// Ended by a Terminate command: the settings object is gone before the
// window object is destroyed.
TEST(EntryRoutine, SettingsAreDestroyedBeforeTheWindow)
{
    std::atomic<bool> sent{false};
    std::thread sender([&sent] {
        // The command can only arrive once the window run has its channel.
        WaitUntil([] { return ChannelExists(CommandChannelName); });
        WriteMailslot(CommandChannelName, "Terminate");
        sent = true;
    });
    const int exitCode = RunEntryRoutine();
    sender.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Settings, nullptr);
    ASSERT_NE(FrmMain, nullptr) << "the window lives on until the framework shuts down";
    EXPECT_TRUE(WindowIsOpen(FrmMain->Handle()));
    bool settingsGoneFirst = false;
    FrmMain->OnDestroy = [&settingsGoneFirst](TObject*) { settingsGoneFirst = Settings == nullptr; };
    Application->Shutdown();
    EXPECT_TRUE(settingsGoneFirst);
    EXPECT_EQ(FrmMain, nullptr);
    EXPECT_FALSE(ChannelExists(CommandChannelName)) << "the channel went with the window";
}

} // namespace
