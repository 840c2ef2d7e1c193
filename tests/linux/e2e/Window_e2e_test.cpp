// The real window run on Linux: deployNotice copied into a folder of its own
// with a test ini file, read back through the accessibility bus as a screen
// reader would and through the display as the desktop would, and driven by
// sender runs and by commands written straight into the channel.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "AtSpi.h"
#include "ChannelProbe.h"
#include "Channel.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "Utf8.h"
#include "X11Window.h"

namespace {

using namespace std::chrono_literals;

const char TestIni[] = "[Strings]\r\n"
                       "WindowsCaption=Software deployment\r\n"
                       "InspectMessage=Inspecting\r\n"
                       "WaitCloseMessage=Please wait\r\n"
                       "FinishInstallationMessage=Finished &now\r\n"
                       "InstallMessage=Installing %s\r\n"
                       "UpgradeMessage=Upgrading %s\r\n"
                       "RemoveMessage=Removing %s\r\n"
                       "RebootMessageTime=Reboot in %s s\r\n"
                       "RebootMessage=Reboot now\r\n";

// Whether `seen` holds only texts of `expected`, each once, in its order.
bool InOrder(const std::vector<std::string>& seen, const std::vector<std::string>& expected)
{
    auto next = expected.begin();
    for (const std::string& text : seen) {
        next = std::find(next, expected.end(), text);
        if (next == expected.end())
            return false;
        ++next;
    }
    return true;
}

class WindowRun : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartAtSpi()) << "no accessibility bus: run the tests through scripts/with-desktop.sh";
        Program = Folder.Path() + "deployNotice";
        std::filesystem::copy_file(ProgramPath(), Program);
    }

    void WriteIni(const char* text) { Folder.Write("deployNotice.ini", text); }

    std::unique_ptr<TChildProcess> Start(const std::vector<std::string>& arguments = {})
    {
        return std::make_unique<TChildProcess>(Program, arguments);
    }

    static TWindowView WaitForWindow(const TChildProcess& child)
    {
        TWindowView view;
        WaitUntil([&] { return (view = ReadWindow(child.Id())).Found; }, 20s);
        return view;
    }

    void Send(const std::vector<std::string>& arguments, const TChildProcess::TOptions& options = {})
    {
        EXPECT_EQ(RunToEnd(Program, arguments, options), 0);
    }

    static bool UpperBecomes(const TChildProcess& child, const std::string& text,
                             std::chrono::milliseconds timeout = 10s)
    {
        return WaitUntil([&] { return ReadWindow(child.Id()).Upper == text; }, timeout);
    }

    // Starts a window run and at once sends a package command for each name,
    // one sender run after the other, as a script does; returns the upper
    // line's texts after "Inspecting" as they came.
    std::vector<std::string> StartAndSendAtOnce(const std::vector<std::string>& names)
    {
        auto window = Start();
        for (const std::string& name : names)
            Send({"-package", name, "install"});
        std::vector<std::string> texts;
        bool found = false;
        WaitUntil([&] {
            const TWindowView view = ReadWindow(window->Id());
            found = found || view.Found;
            if (view.Found && view.Upper != "Inspecting" && (texts.empty() || texts.back() != view.Upper))
                texts.push_back(view.Upper);
            return view.Upper == "Installing " + names.back();
        }, 20s);
        int exitCode = -1;
        EXPECT_TRUE(found) << "no window appeared; the window run "
                           << (window->WaitForExit(0ms, exitCode) ? "ended with " + std::to_string(exitCode) : "lives");
        return texts;
    }

    TTempFolder Folder{"window"};
    AnsiString Program;
};

TEST_F(WindowRun, OpensWithTheIniTextsWithoutTaskbarEntryAndAppliesEachCommand)
{
    WriteIni(TestIni);
    // An argument that is no switch starts the window run as well.
    auto window = Start({"hello"});
    const TWindowView view = WaitForWindow(*window);
    ASSERT_TRUE(view.Found);
    EXPECT_FALSE(ReadBox(window->Id()).Found) << "no usage box";
    EXPECT_EQ(view.Caption, "Software deployment");
    EXPECT_EQ(view.Upper, "Inspecting");
    EXPECT_EQ(view.Lower, "Please wait");

    // A dialog that only moves: no taskbar or pager entry, no buttons.
    const TWindowHints hints = ReadHints(window->Id(), "Software deployment");
    ASSERT_TRUE(hints.Found);
    EXPECT_TRUE(hints.SkipTaskbar);
    EXPECT_TRUE(hints.SkipPager);
    EXPECT_TRUE(hints.Dialog);
    EXPECT_TRUE(hints.MoveOnly);
    EXPECT_TRUE(hints.TitleBar);

    // 368 by 195 pixels at 96 dpi (the test display's scale), centred on the
    // 1280 by 1024 screen.
    EXPECT_EQ(view.Client.Width, 368);
    EXPECT_EQ(view.Client.Height, 195);
    EXPECT_NEAR(view.Frame.X + view.Frame.Width / 2, 1280 / 2, 1);
    EXPECT_NEAR(view.Frame.Y + view.Frame.Height / 2, 1024 / 2, 1);

    const struct {
        std::vector<std::string> Arguments;
        std::string Upper;
    } steps[] = {
        {{"-package", "Foo", "install"}, "Installing Foo"},
        {{"-package", "Office Tools", "UPGRADE"}, "Upgrading Office Tools"},
        {{"/package", "Foo", "remove"}, "Removing Foo"},
        {{"-package", "Foo", "bogus"}, ""},
        {{"-package", ""}, "Installing %s"},
        {{"-package", "B\xC3\xBCro_&_Co"}, "Installing B\xC3\xBCro__Co"},
        {{"-finish"}, "Finished now"},
    };
    for (const auto& step : steps) {
        Send(step.Arguments);
        EXPECT_TRUE(UpperBecomes(*window, step.Upper)) << step.Upper << ": " << ReadWindow(window->Id()).Upper;
        const TWindowView now = ReadWindow(window->Id());
        EXPECT_EQ(now.Lower, "Please wait");
        EXPECT_EQ(now.Caption, "Software deployment");
    }

    Send({"-terminate"});
    ExpectEndsWithZero(*window);
}

// A script that starts the window and sends at once is faster than the new
// window run: its senders wait for the channel, and nothing is lost.
TEST_F(WindowRun, CommandsSentRightAfterTheStartAreAllShownInOrder)
{
    WriteIni(TestIni);
    EXPECT_EQ(StartAndSendAtOnce({"A", "B", "C", "D", "E"}),
              (std::vector<std::string>{"Installing A", "Installing B", "Installing C", "Installing D", "Installing E"}));
    for (int start = 0; start < 10; ++start) {
        const std::string name = Format("P%02d", start);
        EXPECT_EQ(StartAndSendAtOnce({name}), std::vector<std::string>{"Installing " + name}) << "start " << start;
    }
}

TEST_F(WindowRun, BarMovesInTensAndCommandsArriveInOrder)
{
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    std::vector<int> seen;
    // A read that comes while the bus is busy may find no window: skipped.
    EXPECT_TRUE(WaitUntil([&] {
        const TWindowView view = ReadWindow(window->Id());
        if (view.Found && (seen.empty() || seen.back() != view.Bar))
            seen.push_back(view.Bar);
        return seen.size() >= 2 && seen[seen.size() - 2] == 100 && seen.back() == 0;
    }, 30s));
    for (int position : seen)
        EXPECT_EQ(position % 10, 0) << position;

    std::vector<std::string> texts;
    WriteMailslot(CommandChannelName, "ProcessPackage|A|install");
    WriteMailslot(CommandChannelName, "ProcessPackage|B|install");
    WriteMailslot(CommandChannelName, "ProcessPackage|C|install");
    WaitUntil([&] {
        const TWindowView view = ReadWindow(window->Id());
        if (view.Found && (texts.empty() || texts.back() != view.Upper))
            texts.push_back(view.Upper);
        return view.Upper == "Installing C";
    });
    texts.erase(std::remove(texts.begin(), texts.end(), "Inspecting"), texts.end());
    EXPECT_TRUE(InOrder(texts, {"Installing A", "Installing B", "Installing C"})) << testing::PrintToString(texts);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "Installing C");

    WriteMailslot(CommandChannelName, "Terminate");
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, RebootCountdownRunsDownAndTheWindowStaysOpen)
{
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    Send({"-reboot", "3"});
    std::vector<std::string> texts;
    EXPECT_TRUE(WaitUntil([&] {
        const TWindowView view = ReadWindow(window->Id());
        if (view.Found && (texts.empty() || texts.back() != view.Upper))
            texts.push_back(view.Upper);
        return view.Upper == "Reboot now";
    }));
    texts.erase(std::remove(texts.begin(), texts.end(), "Inspecting"), texts.end());
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts.front(), "Reboot in 3 s");
    EXPECT_TRUE(InOrder(texts, {"Reboot in 3 s", "Reboot in 2 s", "Reboot in 1 s", "Reboot now"}));
    Send({"-package", "Foo", "install"});
    int exitCode = -1;
    EXPECT_FALSE(window->WaitForExit(1500ms, exitCode)) << "the window must stay open";
    EXPECT_EQ(ReadWindow(window->Id()).Upper, "Reboot now");
    Send({"-terminate"});
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, SecondStartIsRefusedWithAnErrorBoxAndAKilledWindowBlocksNothing)
{
    WriteIni(TestIni);
    auto first = Start();
    ASSERT_TRUE(WaitForWindow(*first).Found);

    auto second = Start();
    TBoxView box;
    ASSERT_TRUE(WaitUntil([&] { return (box = ReadBox(second->Id())).Found; }, 20s));
    EXPECT_EQ(box.Caption, "deployNotice");
    EXPECT_EQ(box.Text, "Unable to create Mailslot.");
    EXPECT_TRUE(box.HasIcon) << "the error box shows the stop icon";
    EXPECT_FALSE(ReadWindow(second->Id()).Found) << "no second window";
    ASSERT_TRUE(PressOk(second->Id()));
    ExpectEndsWithZero(*second);

    Send({"-finish"});
    EXPECT_TRUE(UpperBecomes(*first, "Finished now"));

    // A window that dies without closing its channel leaves nothing behind:
    // the next one starts at once.
    kill(first->Id(), SIGKILL);
    int exitCode = -1;
    ASSERT_TRUE(first->WaitForExit(10s, exitCode));
    auto next = Start();
    ASSERT_TRUE(WaitForWindow(*next).Found);
    Send({"-terminate"});
    ExpectEndsWithZero(*next);
}

TEST_F(WindowRun, WithoutIniFileTheTextsAreEmptyAndTheBarMoves)
{
    auto window = Start();
    const TWindowView view = WaitForWindow(*window);
    ASSERT_TRUE(view.Found);
    EXPECT_EQ(view.Caption, "");
    EXPECT_EQ(view.Upper, "");
    EXPECT_EQ(view.Lower, "");
    EXPECT_TRUE(WaitUntil([&] { return ReadWindow(window->Id()).Bar != view.Bar; }));
    Send({"-terminate"});
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, MalformedCommandShowsOneErrorBoxWhileTheWindowGoesOn)
{
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    WriteMailslot(CommandChannelName, "ProcessPackage");
    WriteMailslot(CommandChannelName, "ProcessPackage");
    WriteMailslot(CommandChannelName, "FinishInstallation");

    TBoxView box;
    ASSERT_TRUE(WaitUntil([&] { return (box = ReadBox(window->Id())).Found; }));
    EXPECT_EQ(box.Caption, "deployNotice");
    // ")" ends the message: no full stop is added.
    EXPECT_EQ(box.Text, AnsiToUtf8("Der Index der Liste \xFC" "berschreitet das Maximum (1)"));

    // Nobody closes the box: the window goes on, and the second failure does
    // not open a second box.
    EXPECT_TRUE(UpperBecomes(*window, "Finished now"));
    const int position = ReadWindow(window->Id()).Bar;
    EXPECT_TRUE(WaitUntil([&] { return ReadWindow(window->Id()).Bar != position; }));
    EXPECT_EQ(ReadBox(window->Id()).Count, 1);

    // Terminate still ends the program with the box open.
    WriteMailslot(CommandChannelName, "Terminate");
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, CloseRequestFromOutsideEndsTheProgram)
{
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    ASSERT_TRUE(RequestClose(window->Id(), "Software deployment"));
    ExpectEndsWithZero(*window);
    auto next = Start();
    EXPECT_TRUE(WaitForWindow(*next).Found);
    Send({"-terminate"});
    ExpectEndsWithZero(*next);
}

TEST_F(WindowRun, ShowsTheTextsOfTheUsersLanguage)
{
    WriteIni("[Strings]\r\n"
             "WindowsCaption=Software deployment\r\n"
             "InspectMessage=Inspecting\r\n"
             "WaitCloseMessage=Please wait\r\n"
             "InstallMessage=Installing %s\r\n"
             "[Strings.fr]\r\n"
             "WindowsCaption=D\xE9ploiement\r\n"
             "InspectMessage=Inspection\r\n"
             "WaitCloseMessage=Patientez\r\n"
             "InstallMessage=Installation de %s\r\n"
             "[Strings.de]\r\n"
             "WindowsCaption=Softwareverteilung\r\n"
             "InspectMessage=Ben\xF6tigte Software wird ermittelt\r\n"
             "InstallMessage=%s wird installiert\r\n");
    // LANGUAGE counts even in the C locale.
    TChildProcess window(Program, {}, {.Environment = {"LANGUAGE=de", "LC_ALL=C.UTF-8"}});
    const TWindowView view = WaitForWindow(window);
    ASSERT_TRUE(view.Found);
    EXPECT_EQ(view.Caption, "Softwareverteilung");
    EXPECT_EQ(view.Upper, "Ben\xC3\xB6tigte Software wird ermittelt");
    // The German section lacks this key.
    EXPECT_EQ(view.Lower, "Please wait");
    Send({"-package", "Foo", "install"});
    EXPECT_TRUE(UpperBecomes(window, "Foo wird installiert")) << ReadWindow(window.Id()).Upper;
    Send({"-terminate"});
    ExpectEndsWithZero(window);
}

TEST_F(WindowRun, MessagesFromAnotherUserNeverChangeTheWindowAsRoot)
{
    if (OtherUser() == static_cast<uid_t>(-1))
        GTEST_SKIP() << "sending as another user needs root";
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    TChildProcess::TOptions stranger;
    stranger.User = OtherUser();
    Send({"-package", "Intruder", "install"}, stranger);
    Send({"-terminate"}, stranger);
    Send({"-package", "Own", "install"});
    EXPECT_TRUE(UpperBecomes(*window, "Installing Own"));
    int exitCode = -1;
    EXPECT_FALSE(window->WaitForExit(1s, exitCode)) << "another user's Terminate ended the window";
    EXPECT_EQ(ReadWindow(window->Id()).Upper, "Installing Own");
    Send({"-terminate"});
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, FloodsLargeAndMalformedMessagesNeverBlockTheWindow)
{
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    // As many as the queue takes without waiting, of every kind.
    const AnsiString kinds[] = {"", AnsiString(1, '\0'), "ProcessPackage|" + AnsiString(300000, 'x') + "|install",
                                AnsiString(60000, '|'), "FinishInstallation|\xFF\xFE", "terminate", "ProcessPackage|a|b|c|d"};
    int sent = 0;
    for (int i = 0; i < 2000; ++i)
        sent += WriteRaw(CommandChannelName, kinds[i % 7]) ? 1 : 0;
    EXPECT_GT(sent, 0);
    // Senders keep their bounded wait; the window works through the queue
    // and applies the commands behind it.
    Send({"-package", "Last", "install"});
    EXPECT_TRUE(UpperBecomes(*window, "Installing Last", 60s));
    const TWindowView view = ReadWindow(window->Id());
    EXPECT_TRUE(WaitUntil([&] { return ReadWindow(window->Id()).Bar != view.Bar; }));
    Send({"-terminate"});
    ExpectEndsWithZero(*window);
}

} // namespace
