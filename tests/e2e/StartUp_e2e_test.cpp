// The real deployNotice.exe, started with exact command lines by this driver.
#include <gtest/gtest.h>

#include "Mailslot.h"
#include "StartUp.h"
#include "SysUtils.h"
#include "TestProcess.h"

namespace {

using namespace std::chrono_literals;

DWORD RunToEnd(const AnsiString& commandLine, const AnsiString& program = ProgramPath())
{
    TChildProcess child(program, commandLine);
    DWORD exitCode = STILL_ACTIVE;
    EXPECT_TRUE(child.WaitForExit(20s, exitCode)) << commandLine;
    return exitCode;
}

class SenderRun : public testing::Test {
protected:
    // The window's side of the mailslot, under its real name.
    TMailslotReader Reader{CommandMailslotName};

    std::vector<AnsiString> Messages()
    {
        std::vector<AnsiString> messages;
        AnsiString message;
        while (Reader.ReadMessage(message))
            messages.push_back(message);
        return messages;
    }

    // Runs one sender and returns the one message it wrote.
    AnsiString Sent(const AnsiString& commandLine)
    {
        EXPECT_EQ(RunToEnd(commandLine), 0u) << commandLine;
        const std::vector<AnsiString> messages = Messages();
        EXPECT_EQ(messages.size(), 1u) << commandLine;
        return messages.empty() ? AnsiString("<none>") : messages.front();
    }
};

AnsiString WithNul(const char* text)
{
    return AnsiString(text) + '\0';
}

TEST_F(SenderRun, WritesExactlyTheCommandBytes)
{
    EXPECT_EQ(Sent("deployNotice.exe -terminate"), WithNul("Terminate"));
    EXPECT_EQ(Sent("deployNotice.exe /FINISH"), WithNul("FinishInstallation"));
    EXPECT_EQ(Sent("deployNotice.exe -reboot 120"), WithNul("Reboot|120"));
    EXPECT_EQ(Sent("deployNotice.exe -reboot"), WithNul("Reboot"));
    EXPECT_EQ(Sent("deployNotice.exe -reboot\t120"), WithNul("Reboot|120"));
    EXPECT_EQ(Sent("deployNotice.exe -package \"Office Tools\" INSTALL"),
              WithNul("ProcessPackage|Office Tools|install"));
    EXPECT_EQ(Sent("deployNotice.exe -package \"\" install"), WithNul("ProcessPackage|install"));
    EXPECT_EQ(Sent("deployNotice.exe -package"), WithNul("ProcessPackage|"));
    EXPECT_EQ(Sent("\"C:\\Program Files\\x\\deployNotice.exe\" x -reboot 30"), WithNul("Reboot|-reboot"));
    EXPECT_EQ(Sent("deployNotice.exe -package foo install -terminate"), WithNul("Terminate"));
}

TEST_F(SenderRun, BadInputIsPassedOnWithoutHarm)
{
    const AnsiString longName(5000, 'n');
    EXPECT_EQ(Sent("deployNotice.exe -package " + longName + " remove"),
              WithNul(("ProcessPackage|" + longName + "|remove").c_str()));
    EXPECT_EQ(Sent("deployNotice.exe -package \"a|b|c\" install"), WithNul("ProcessPackage|a|b|c|install"));
    const AnsiString pipes(3000, '|');
    EXPECT_EQ(Sent("deployNotice.exe -reboot " + pipes), WithNul(("Reboot|" + pipes).c_str()));
    EXPECT_EQ(Sent("deployNotice.exe -package \"open quote to the end"),
              WithNul("ProcessPackage|open quote to the end"));
    EXPECT_EQ(Sent("deployNotice.exe \x01-reboot\x02\x1f" "5\x7f"), WithNul("Reboot|5\x7f"));
}

TEST_F(SenderRun, ConcurrentSenderProcessesAllGetThrough)
{
    const int senders = 40;
    std::vector<std::unique_ptr<TChildProcess>> children;
    for (int i = 0; i < senders; ++i)
        children.push_back(std::make_unique<TChildProcess>(
            ProgramPath(), Format("deployNotice.exe -package pkg%02d install", i)));
    for (auto& child : children) {
        DWORD exitCode = STILL_ACTIVE;
        EXPECT_TRUE(child->WaitForExit(30s, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    std::vector<AnsiString> messages = Messages();
    std::sort(messages.begin(), messages.end());
    std::vector<AnsiString> expected;
    for (int i = 0; i < senders; ++i)
        expected.push_back(Format("ProcessPackage|pkg%02d|install", i) + '\0');
    EXPECT_EQ(messages, expected);
}

TEST(SenderWithoutWindow, EndsAtOnceAndLeavesNothingBehind)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunToEnd("deployNotice.exe -terminate"), 0u);
    EXPECT_EQ(RunToEnd("deployNotice.exe -package Foo install"), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "a sender waited with no window run anywhere";
    TMailslotReader laterWindow(CommandMailslotName);
    AnsiString message;
    EXPECT_FALSE(laterWindow.ReadMessage(message));
}

// A window run that has not created its mailslot yet (here: one that runs
// none of its code) holds a sender only while it lives, and at most for the
// sender's bound.
TEST(SenderWithoutWindow, WaitsForAStartingWindowRunOnlyWhileItLives)
{
    DWORD exitCode = STILL_ACTIVE;
    {
        TChildProcess starting(ProgramPath(), "deployNotice.exe", {.Suspended = true});
        TChildProcess sender(ProgramPath(), "deployNotice.exe -finish");
        EXPECT_FALSE(sender.WaitForExit(500ms, exitCode)) << "the sender did not wait for the starting window run";
        starting.Kill();
        EXPECT_TRUE(sender.WaitForExit(3s, exitCode)) << "the sender went on waiting for a dead window run";
        EXPECT_EQ(exitCode, 0u);
    }
    TChildProcess stuck(ProgramPath(), "deployNotice.exe", {.Suspended = true});
    EXPECT_EQ(RunToEnd("deployNotice.exe -finish"), 0u) << "the sender waited past its bound";
}

TEST(UsageRun, ShowsTheUsageTextUntilClosed)
{
    for (const char* line : {"deployNotice.exe /?", "deployNotice.exe -HELP"}) {
        TMailslotReader reader(CommandMailslotName);
        TChildProcess child(ProgramPath(), line);
        const HWND box = WaitForMessageBox(child);
        ASSERT_NE(box, nullptr) << line;
        EXPECT_EQ(WindowText(box), "deployNotice");
        EXPECT_EQ(MessageBoxText(box), UsageText);
        const HWND icon = GetDlgItem(box, 0x0440);
        EXPECT_TRUE(icon == nullptr || !IsWindowVisible(icon) || SendMessageA(icon, STM_GETICON, 0, 0) == 0)
            << "usage box shows an icon";
        // Still open: the process waits for the user.
        DWORD exitCode = STILL_ACTIVE;
        EXPECT_FALSE(child.WaitForExit(200ms, exitCode));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(child.WaitForExit(10s, exitCode));
        EXPECT_EQ(exitCode, 0u);
        AnsiString message;
        EXPECT_FALSE(reader.ReadMessage(message)) << "a usage run wrote a command";
    }
}

} // namespace
