// The real program, started by this driver with exact argument lists: the
// bytes that sender runs write, how long they wait, and the usage box. The
// same cases run on every platform; each adds its own beside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "ChannelProbe.h"
#include "Desktop.h"
#include "Channel.h"
#include "StartUp.h"
#include "StartUp_e2e.h"
#include "SysUtils.h"
#include "TestProcess.h"

using namespace std::chrono_literals;

std::vector<AnsiString> SenderRun::Messages()
{
    return ReadAll(Reader);
}

AnsiString SenderRun::Sent(const std::vector<std::string>& arguments, const TChildProcess::TOptions& options)
{
    EXPECT_EQ(RunToEnd(ProgramPath(), arguments, options), 0);
    const std::vector<AnsiString> messages = Messages();
    EXPECT_EQ(messages.size(), 1u);
    return messages.empty() ? AnsiString("<none>") : messages.front();
}

namespace {

TEST_F(SenderRun, WritesExactlyTheCommandBytes)
{
    EXPECT_EQ(Sent({"-terminate"}), WithNul("Terminate"));
    EXPECT_EQ(Sent({"/FINISH"}), WithNul("FinishInstallation"));
    EXPECT_EQ(Sent({"-reboot", "120"}), WithNul("Reboot|120"));
    EXPECT_EQ(Sent({"-reboot"}), WithNul("Reboot"));
    EXPECT_EQ(Sent({"-progress", " 40"}), WithNul("Progress| 40"));
    EXPECT_EQ(Sent({"-progress"}), WithNul("Progress"));
    EXPECT_EQ(Sent({"-package", "Office Tools", "INSTALL"}), WithNul("ProcessPackage|Office Tools|install"));
    EXPECT_EQ(Sent({"-package", "", "install"}), WithNul("ProcessPackage|install"));
    EXPECT_EQ(Sent({"-package"}), WithNul("ProcessPackage|"));
    EXPECT_EQ(Sent({"x", "-reboot", "30"}), WithNul("Reboot|-reboot"));
    EXPECT_EQ(Sent({"-package", "foo", "install", "-terminate"}), WithNul("Terminate"));
}

TEST_F(SenderRun, BadInputIsPassedOnWithoutHarm)
{
    const AnsiString longName(5000, 'n');
    EXPECT_EQ(Sent({"-package", longName, "remove"}), WithNul("ProcessPackage|" + longName + "|remove"));
    EXPECT_EQ(Sent({"-package", "a|b|c", "install"}), WithNul("ProcessPackage|a|b|c|install"));
    const AnsiString pipes(3000, '|');
    EXPECT_EQ(Sent({"-reboot", pipes}), WithNul("Reboot|" + pipes));
}

// On Linux the kernel keeps only a few messages for the reader; a reader that
// takes them one per tick, like the window, still lets many concurrent
// senders through.
TEST_F(SenderRun, ConcurrentSenderProcessesAllGetThrough)
{
    const int senders = 40;
    std::vector<std::unique_ptr<TChildProcess>> children;
    for (int i = 0; i < senders; ++i)
        children.push_back(std::make_unique<TChildProcess>(
            ProgramPath(), std::vector<std::string>{"-package", Format("pkg%02d", i), "install"}));
    std::vector<AnsiString> messages;
    WaitUntil([&] {
        AnsiString message;
        if (Reader.ReadMessage(message))
            messages.push_back(message);
        std::this_thread::sleep_for(250ms);
        return messages.size() >= static_cast<size_t>(senders);
    }, 60s);
    for (auto& child : children) {
        int exitCode = -1;
        EXPECT_TRUE(child->WaitForExit(30s, exitCode));
        EXPECT_EQ(exitCode, 0);
    }
    std::sort(messages.begin(), messages.end());
    std::vector<AnsiString> expected;
    for (int i = 0; i < senders; ++i)
        expected.push_back(WithNul(Format("ProcessPackage|pkg%02d|install", i)));
    EXPECT_EQ(messages, expected);
}

TEST(SenderWithoutWindow, EndsAtOnceAndLeavesNothingBehind)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunToEnd(ProgramPath(), {"-terminate"}), 0);
    EXPECT_EQ(RunToEnd(ProgramPath(), {"-package", "Foo", "install"}), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "a sender waited with no window run anywhere";
    TChannelReader laterWindow(CommandChannelName);
    AnsiString message;
    EXPECT_FALSE(laterWindow.ReadMessage(message));
}

// A window run that has not created its channel yet holds a sender only while
// it lives, and at most for the sender's bound.
TEST(SenderWithoutWindow, WaitsForAStartingWindowRunOnlyWhileItLives)
{
    const TTempFolder folder("starting");
    int exitCode = -1;
    {
        const auto starting = StartWindowRunThatNeverGetsGoing(folder);
        TChildProcess sender(ProgramPath(), {"-finish"});
        EXPECT_FALSE(sender.WaitForExit(500ms, exitCode)) << "the sender did not wait for the starting window run";
        starting->Kill();
        EXPECT_TRUE(sender.WaitForExit(3s, exitCode)) << "the sender went on waiting for a dead window run";
        EXPECT_EQ(exitCode, 0);
    }
    const auto stuck = StartWindowRunThatNeverGetsGoing(folder);
    EXPECT_EQ(RunToEnd(ProgramPath(), {"-finish"}), 0) << "the sender waited past its bound";
}

TEST(UsageRun, ShowsTheUsageTextUntilClosed)
{
    for (const char* line : {"/?", "-HELP"}) {
        TChannelReader reader(CommandChannelName);
        TChildProcess child(ProgramPath(), {line});
        const TBoxSeen box = WaitForBox(child);
        ASSERT_TRUE(box.Found) << line;
        EXPECT_EQ(box.Caption, "deployNotice");
        EXPECT_EQ(box.Text, UsageText);
        EXPECT_FALSE(box.HasIcon) << "the usage box shows no icon";
        // Still open: the process waits for the user.
        int exitCode = -1;
        EXPECT_FALSE(child.WaitForExit(200ms, exitCode));
        ASSERT_TRUE(PressBoxOk(child));
        ASSERT_TRUE(child.WaitForExit(10s, exitCode));
        EXPECT_EQ(exitCode, 0);
        AnsiString message;
        EXPECT_FALSE(reader.ReadMessage(message)) << "a usage run wrote a command";
    }
}

} // namespace
