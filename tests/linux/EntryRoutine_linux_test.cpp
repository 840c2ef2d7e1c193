// The whole window run of the entry routine on Linux.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstring>
#include <thread>

#include "EntryRoutine.h"
#include "Frm_main.h"
#include "Mailslot.h"
#include "TestProcess.h"
#include "Unt_settings.h"

namespace {

// Whether a reader holds the name: connecting sends nothing.
bool ChannelExists(const AnsiString& name)
{
    const int probe = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    const bool exists = connect(probe, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    close(probe);
    return exists;
}

// Ended by a Terminate command: the settings object is gone before the
// window object is destroyed.
TEST(EntryRoutine, SettingsAreDestroyedBeforeTheWindow)
{
    std::atomic<bool> sent{false};
    std::thread sender([&sent] {
        WaitUntil([] { return ChannelExists(CommandMailslotName); });
        WriteMailslot(CommandMailslotName, "Terminate");
        sent = true;
    });
    const int exitCode = RunEntryRoutine();
    sender.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Settings, nullptr);
    ASSERT_NE(FrmMain, nullptr) << "the window lives on until the framework shuts down";
    EXPECT_TRUE(FrmMain->HandleAllocated());
    bool settingsGoneFirst = false;
    FrmMain->OnDestroy = [&settingsGoneFirst](TObject*) { settingsGoneFirst = Settings == nullptr; };
    Application->Shutdown();
    EXPECT_TRUE(settingsGoneFirst);
    EXPECT_EQ(FrmMain, nullptr);
    EXPECT_FALSE(ChannelExists(CommandMailslotName)) << "the channel went with the window";
}

} // namespace
