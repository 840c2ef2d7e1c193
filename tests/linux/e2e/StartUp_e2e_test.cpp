// The real deployNotice on Linux, started with exact argument lists: what
// sender runs write, and the usage box as a screen reader reads it.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "AtSpi.h"
#include "Mailslot.h"
#include "StartUp.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "Utf8.h"

namespace {

using namespace std::chrono_literals;

class SenderRun : public testing::Test {
protected:
    // The window's side of the channel, under its real name.
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
    AnsiString Sent(const std::vector<std::string>& arguments)
    {
        TChildProcess::TOptions options;
        options.Environment = {"LC_ALL=C.UTF-8"};
        EXPECT_EQ(RunToEnd(ProgramPath(), arguments, options), 0);
        const std::vector<AnsiString> messages = Messages();
        EXPECT_EQ(messages.size(), 1u);
        return messages.empty() ? AnsiString("<none>") : messages.front();
    }
};

AnsiString WithNul(const AnsiString& text)
{
    return text + '\0';
}

TEST_F(SenderRun, WritesExactlyTheCommandBytes)
{
    EXPECT_EQ(Sent({"-terminate"}), WithNul("Terminate"));
    EXPECT_EQ(Sent({"/FINISH"}), WithNul("FinishInstallation"));
    EXPECT_EQ(Sent({"-reboot", "120"}), WithNul("Reboot|120"));
    EXPECT_EQ(Sent({"-reboot"}), WithNul("Reboot"));
    EXPECT_EQ(Sent({"-package", "Office Tools", "INSTALL"}), WithNul("ProcessPackage|Office Tools|install"));
    EXPECT_EQ(Sent({"-package", "", "install"}), WithNul("ProcessPackage|install"));
    EXPECT_EQ(Sent({"-package"}), WithNul("ProcessPackage|"));
    EXPECT_EQ(Sent({"x", "-reboot", "30"}), WithNul("Reboot|-reboot"));
    EXPECT_EQ(Sent({"-package", "foo", "install", "-terminate"}), WithNul("Terminate"));
    // The terminal's UTF-8 arrives in code page 1252, the action lower-cased
    // in the user's locale; what the code page cannot hold is a "?".
    EXPECT_EQ(Sent({"-package", "B\xC3\xBCro \xE2\x82\xAC \xE6\x97\xA5", "\xC3\x9C" "BER"}),
              WithNul("ProcessPackage|B\xFCro \x80 ?|\xFC" "ber"));
}

TEST_F(SenderRun, BadInputIsPassedOnWithoutHarm)
{
    const AnsiString longName(100000, 'n');
    EXPECT_EQ(Sent({"-package", longName, "remove"}), WithNul("ProcessPackage|" + longName + "|remove"));
    EXPECT_EQ(Sent({"-package", "a|b|c", "install"}), WithNul("ProcessPackage|a|b|c|install"));
    const AnsiString pipes(3000, '|');
    EXPECT_EQ(Sent({"-reboot", pipes}), WithNul("Reboot|" + pipes));
    EXPECT_EQ(Sent({"-reboot", "5\x7f\x01\t"}), WithNul("Reboot|5\x7f\x01\t"));
    EXPECT_EQ(Sent({"-package", "\"quoted\""}), WithNul("ProcessPackage|\"quoted\""));
}

// The kernel keeps only a few messages for the reader; a reader that takes
// them one per tick, like the window, still lets many concurrent senders through.
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
    TMailslotReader laterWindow(CommandMailslotName);
    AnsiString message;
    EXPECT_FALSE(laterWindow.ReadMessage(message));
}

// A window run that has not bound its channel yet (here: a process under the
// program's name that never will) holds a sender only while it lives, and at
// most for the sender's bound.
TEST(SenderWithoutWindow, WaitsForAStartingWindowRunOnlyWhileItLives)
{
    const TTempFolder folder("starting");
    const AnsiString standIn = folder.Path() + "deployNotice";
    std::filesystem::copy_file("/bin/sleep", standIn);
    int exitCode = -1;
    {
        TChildProcess starting(standIn, {"60"});
        TChildProcess sender(ProgramPath(), {"-finish"});
        EXPECT_FALSE(sender.WaitForExit(500ms, exitCode)) << "the sender did not wait for the starting window run";
        starting.Kill();
        EXPECT_TRUE(sender.WaitForExit(3s, exitCode)) << "the sender went on waiting for a dead window run";
        EXPECT_EQ(exitCode, 0);
    }
    TChildProcess stuck(standIn, {"60"});
    EXPECT_EQ(RunToEnd(ProgramPath(), {"-finish"}), 0) << "the sender waited past its bound";
}

TEST(UsageRun, ShowsTheUsageTextUntilClosed)
{
    ASSERT_TRUE(StartAtSpi());
    for (const char* line : {"/?", "-HELP"}) {
        TMailslotReader reader(CommandMailslotName);
        TChildProcess child(ProgramPath(), {line});
        TBoxView box;
        ASSERT_TRUE(WaitUntil([&] { return (box = ReadBox(child.Id())).Found; }, 20s)) << line;
        EXPECT_EQ(box.Caption, "deployNotice");
        EXPECT_EQ(box.Text, UsageText);
        EXPECT_FALSE(box.HasIcon) << "the usage box shows no icon";
        // Still open: the process waits for the user.
        int exitCode = -1;
        EXPECT_FALSE(child.WaitForExit(200ms, exitCode));
        ASSERT_TRUE(PressOk(child.Id()));
        ASSERT_TRUE(child.WaitForExit(10s, exitCode));
        EXPECT_EQ(exitCode, 0);
        AnsiString message;
        EXPECT_FALSE(reader.ReadMessage(message)) << "a usage run wrote a command";
    }
}

TEST(UsageRun, WithoutADisplayTheTextGoesToTheTerminal)
{
    TChildProcess::TOptions options;
    options.CaptureOutput = true;
    options.Environment = {"DISPLAY=", "WAYLAND_DISPLAY="};
    TChildProcess child(ProgramPath(), {"-help"}, options);
    const std::string output = child.ReadOutput();
    int exitCode = -1;
    ASSERT_TRUE(child.WaitForExit(20s, exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_NE(output.find("deployNotice: " + std::string(UsageText)), std::string::npos) << output;
}

} // namespace
