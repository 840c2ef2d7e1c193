// The real window run under Wine: deployNotice.exe copied into a folder of its
// own with a test ini file, read back through Win32 like a screen reader or
// automation tool would, and driven by sender runs and by commands written
// straight into the channel.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "Channel.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "TestWindows.h"

namespace {

using namespace std::chrono_literals;

const char TestIni[] = "[Strings]\r\n"
                       "WindowsCaption=Software deployment\r\n"
                       "InspectMessage=Inspecting\r\n"
                       "WaitCloseMessage=Please wait\r\n"
                       "FinishInstallationMessage=Finished\r\n"
                       "InstallMessage=Installing %s\r\n"
                       "UpgradeMessage=Upgrading %s\r\n"
                       "RemoveMessage=Removing %s\r\n"
                       "RebootMessageTime=Reboot in %s s\r\n"
                       "RebootMessage=Reboot now\r\n";

// The window as seen from outside the process.
struct TWindowView {
    HWND Form = nullptr;
    HWND Upper = nullptr;
    HWND Lower = nullptr;
    HWND Bar = nullptr;
};

AnsiString Joined(const std::vector<AnsiString>& texts)
{
    AnsiString joined;
    for (const AnsiString& text : texts)
        joined += "[" + text + "]";
    return joined;
}

// Whether `seen` holds only texts of `expected`, each once, in its order.
bool InOrder(const std::vector<AnsiString>& seen, const std::vector<AnsiString>& expected)
{
    auto next = expected.begin();
    for (const AnsiString& text : seen) {
        next = std::find(next, expected.end(), text);
        if (next == expected.end())
            return false;
        ++next;
    }
    return true;
}

AnsiString ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

class WindowRun : public testing::Test {
protected:
    void SetUp() override
    {
        Program = Folder.Path() + "deployNotice.exe";
        ASSERT_TRUE(CopyFileA(ProgramPath().c_str(), Program.c_str(), FALSE));
    }

    void WriteIni(const char* text)
    {
        const TFileHandle file(CreateFileA((Folder.Path() + "deployNotice.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(file.Get(), text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    }

    std::unique_ptr<TChildProcess> Start(const AnsiString& arguments = "")
    {
        return std::make_unique<TChildProcess>(TCommandLine{Program, "deployNotice.exe" + arguments});
    }

    TWindowView WaitForWindow(const TChildProcess& child)
    {
        TWindowView view;
        WaitUntil([&] {
            const std::vector<HWND> forms = ProcessWindows(child.Id(), "TFrmMain");
            if (forms.empty() || !IsWindowVisible(forms.front()))
                return false;
            view.Form = forms.front();
            return true;
        }, 30s);
        if (view.Form == nullptr)
            return view;
        const std::vector<HWND> bars = ChildWindows(view.Form, PROGRESS_CLASSA);
        if (!bars.empty())
            view.Bar = bars.front();
        const std::vector<HWND> labels = ChildWindows(view.Form, "Static");
        if (labels.size() == 2) {
            view.Upper = labels[0];
            view.Lower = labels[1];
        }
        return view;
    }

    void Send(const AnsiString& arguments)
    {
        TChildProcess sender(TCommandLine{Program, "deployNotice.exe " + arguments});
        int exitCode = -1;
        ASSERT_TRUE(sender.WaitForExit(20s, exitCode));
        EXPECT_EQ(exitCode, 0);
    }

    static int BarPosition(const TWindowView& view)
    {
        DWORD_PTR position = 0;
        SendMessageTimeoutA(view.Bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &position);
        return static_cast<int>(position);
    }

    static bool UpperBecomes(const TWindowView& view, const AnsiString& text,
                             std::chrono::milliseconds timeout = 10s)
    {
        return WaitUntil([&] { return WindowText(view.Upper) == text; }, timeout);
    }

    // Starts a window run and at once sends a package command for each name,
    // one sender run after the other, as a script does; returns the upper
    // line's texts after "Inspecting" as they came. Nothing when Wine ended
    // the window run or a sender before its main ran: the start is repeated.
    std::optional<std::vector<AnsiString>> StartAndSendAtOnce(const std::vector<AnsiString>& names)
    {
        auto window = Start();
        for (const AnsiString& name : names) {
            TChildProcess sender(Program, {"-package", name, "install"});
            int exitCode = -1;
            EXPECT_TRUE(sender.WaitForExit(20s, exitCode)) << "a sender hangs";
            if (exitCode != 0)
                return std::nullopt;
        }
        const TWindowView view = WaitForWindow(*window);
        int exitCode = -1;
        if (view.Upper == nullptr && window->WaitForExit(0ms, exitCode))
            return std::nullopt;
        std::vector<AnsiString> texts;
        WaitUntil([&] {
            const AnsiString text = WindowText(view.Upper);
            if (text != "Inspecting" && (texts.empty() || texts.back() != text))
                texts.push_back(text);
            return text == "Installing " + names.back();
        }, 5s);
        return texts;
    }

    TTempFolder Folder{"window"};
    AnsiString Program;
};

TEST_F(WindowRun, OpensWithTheIniTextsWithoutTaskbarButtonAndAppliesEachCommand)
{
    WriteIni(TestIni);
    // An argument that is no switch starts the window run as well.
    auto window = Start(" hello");
    const TWindowView view = WaitForWindow(*window);
    ASSERT_NE(view.Form, nullptr);
    ASSERT_NE(view.Upper, nullptr);
    ASSERT_NE(view.Bar, nullptr);
    EXPECT_TRUE(ProcessWindows(window->Id(), "#32770").empty()) << "no usage box";
    EXPECT_EQ(WindowText(view.Form), "Software deployment");
    EXPECT_EQ(WindowText(view.Upper), "Inspecting");
    EXPECT_EQ(WindowText(view.Lower), "Please wait");

    // No taskbar button: the application window is a tool window and owns the form.
    const HWND owner = GetWindow(view.Form, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(ClassOf(owner), "TApplication");
    EXPECT_TRUE(GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_FALSE(GetWindowLongA(view.Form, GWL_STYLE) & WS_SYSMENU);

    // 368 by 195 client pixels at 96 dpi, centred.
    RECT client;
    GetClientRect(view.Form, &client);
    const int dpi = GetDeviceCaps(TWindowDC(nullptr).Get(), LOGPIXELSY);
    EXPECT_EQ(client.right, MulDiv(368, dpi, 96));
    EXPECT_EQ(client.bottom, MulDiv(195, dpi, 96));

    const struct {
        const char* Arguments;
        const char* Upper;
    } steps[] = {
        {"-package Foo install", "Installing Foo"},
        {"-package \"Office Tools\" UPGRADE", "Upgrading Office Tools"},
        {"/package Foo remove", "Removing Foo"},
        {"-package Foo bogus", ""},
        {"-package \"\"", "Installing %s"},
        {"-finish", "Finished"},
    };
    for (const auto& step : steps) {
        Send(step.Arguments);
        EXPECT_TRUE(UpperBecomes(view, step.Upper)) << step.Arguments << ": " << WindowText(view.Upper);
        EXPECT_EQ(WindowText(view.Lower), "Please wait");
        EXPECT_EQ(WindowText(view.Form), "Software deployment");
    }

    Send("-terminate");
    ExpectEndsWithZero(*window);
}

// A script that starts the window and sends at once is faster than the new
// window run: its senders wait for the channel, and nothing is lost.
TEST_F(WindowRun, CommandsSentRightAfterTheStartAreAllShownInOrder)
{
    WriteIni(TestIni);
    int repeated = 0;
    const auto seen = [&](const std::vector<AnsiString>& names) {
        for (;;) {
            if (auto texts = StartAndSendAtOnce(names))
                return *texts;
            if (++repeated > 5)
                return std::vector<AnsiString>{"<Wine ended too many processes early>"};
        }
    };
    EXPECT_EQ(seen({"A", "B", "C", "D", "E"}), (std::vector<AnsiString>{"Installing A", "Installing B", "Installing C",
                                                                       "Installing D", "Installing E"}));
    for (int start = 0; start < 20; ++start) {
        const AnsiString name = Format("P%02d", start);
        EXPECT_EQ(seen({name}), std::vector<AnsiString>{"Installing " + name}) << "start " << start;
    }
    std::printf("starts repeated because Wine ended a process before its main: %d\n", repeated);
}

TEST_F(WindowRun, BarMovesInTensAndCommandsArriveInOrder)
{
    WriteIni(TestIni);
    auto window = Start();
    const TWindowView view = WaitForWindow(*window);
    ASSERT_NE(view.Bar, nullptr);
    // Polled from outside, a slow moment may hide a step; what is seen must
    // still be steps of ten, and the full bar is followed by the empty one.
    std::vector<int> seen;
    EXPECT_TRUE(WaitUntil([&] {
        const int position = BarPosition(view);
        if (seen.empty() || seen.back() != position)
            seen.push_back(position);
        return seen.size() >= 2 && seen[seen.size() - 2] == 100 && seen.back() == 0;
    }, 30s));
    for (int position : seen)
        EXPECT_EQ(position % 10, 0) << position;

    // Written at once, applied one per tick, in order.
    std::vector<AnsiString> texts;
    WriteMailslot(CommandChannelName, "ProcessPackage|A|install");
    WriteMailslot(CommandChannelName, "ProcessPackage|B|install");
    WriteMailslot(CommandChannelName, "ProcessPackage|C|install");
    WaitUntil([&] {
        const AnsiString text = WindowText(view.Upper);
        if (texts.empty() || texts.back() != text)
            texts.push_back(text);
        return text == "Installing C";
    });
    // In order; a slow moment of this poller may hide the middle one.
    texts.erase(std::remove(texts.begin(), texts.end(), "Inspecting"), texts.end());
    const std::vector<AnsiString> all = {"Installing A", "Installing B", "Installing C"};
    EXPECT_TRUE(InOrder(texts, all)) << Joined(texts);
    EXPECT_EQ(texts.back(), "Installing C");

    WriteMailslot(CommandChannelName, "Terminate");
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, RebootCountdownRunsDownAndTheWindowStaysOpen)
{
    WriteIni(TestIni);
    auto window = Start();
    const TWindowView view = WaitForWindow(*window);
    ASSERT_NE(view.Upper, nullptr);
    Send("-reboot 3");
    // The seconds count down to the text without time.
    std::vector<AnsiString> texts;
    EXPECT_TRUE(WaitUntil([&] {
        const AnsiString text = WindowText(view.Upper);
        if (texts.empty() || texts.back() != text)
            texts.push_back(text);
        return text == "Reboot now";
    }));
    texts.erase(std::remove(texts.begin(), texts.end(), "Inspecting"), texts.end());
    const std::vector<AnsiString> countdown = {"Reboot in 3 s", "Reboot in 2 s", "Reboot in 1 s", "Reboot now"};
    EXPECT_GE(texts.size(), 3u);
    EXPECT_EQ(texts.front(), "Reboot in 3 s");
    EXPECT_TRUE(InOrder(texts, countdown)) << Joined(texts);
    // A later package command is read, but the countdown text stays.
    Send("-package Foo install");
    int exitCode = -1;
    EXPECT_FALSE(window->WaitForExit(1500ms, exitCode)) << "the window must stay open";
    EXPECT_EQ(WindowText(view.Upper), "Reboot now");
    // Terminate during the countdown ends the program; nothing is restarted.
    Send("-terminate");
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, SecondStartIsRefusedWithAnErrorBoxAndTheFirstGoesOn)
{
    WriteIni(TestIni);
    auto first = Start();
    const TWindowView view = WaitForWindow(*first);
    ASSERT_NE(view.Upper, nullptr);

    auto second = Start();
    const HWND box = WaitForMessageBox(*second);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "deployNotice");
    EXPECT_EQ(MessageBoxText(box), "Unable to create Mailslot.");
    EXPECT_TRUE(ProcessWindows(second->Id(), "TFrmMain").empty()) << "no second window";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ExpectEndsWithZero(*second);

    Send("-finish");
    EXPECT_TRUE(UpperBecomes(view, "Finished"));
    Send("-terminate");
    ExpectEndsWithZero(*first);
}

TEST_F(WindowRun, WithoutIniFileTheTextsAreEmptyAndTheBarMoves)
{
    auto window = Start();
    const TWindowView view = WaitForWindow(*window);
    ASSERT_NE(view.Bar, nullptr);
    EXPECT_EQ(WindowText(view.Form), "");
    EXPECT_EQ(WindowText(view.Upper), "");
    EXPECT_EQ(WindowText(view.Lower), "");
    const int start = BarPosition(view);
    EXPECT_TRUE(WaitUntil([&] { return BarPosition(view) != start; }));
    Send("-terminate");
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, MalformedCommandShowsOneErrorBoxWhileTheWindowGoesOn)
{
    WriteIni(TestIni);
    auto window = Start();
    const TWindowView view = WaitForWindow(*window);
    ASSERT_NE(view.Upper, nullptr);
    WriteMailslot(CommandChannelName, "ProcessPackage");
    WriteMailslot(CommandChannelName, "ProcessPackage");
    WriteMailslot(CommandChannelName, "FinishInstallation");

    const HWND box = WaitForMessageBox(*window);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "deployNotice");
    // ")" ends the message: no full stop is added.
    EXPECT_EQ(MessageBoxText(box), "Der Index der Liste \xFC" "berschreitet das Maximum (1)");

    // Nobody closes the box: the window goes on, and the second failure does
    // not open a second box.
    EXPECT_TRUE(UpperBecomes(view, "Finished"));
    const int position = BarPosition(view);
    EXPECT_TRUE(WaitUntil([&] { return BarPosition(view) != position; }));
    EXPECT_EQ(ProcessWindows(window->Id(), "#32770").size(), 1u);

    // Terminate still ends the program with the box open.
    WriteMailslot(CommandChannelName, "Terminate");
    ExpectEndsWithZero(*window);
}

// Wine gives a process the display language of its LC_ALL, which the window
// run inherits from this test's process: CTest runs this test once as it is
// and once more with LC_ALL=de_DE.UTF-8.
TEST_F(WindowRun, ShowsTheTextsOfTheUsersDisplayLanguage)
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
             "InstallMessage=%s wird installiert\r\n"
             "[Strings.de-DE]\r\n"
             "WindowsCaption=Softwareverteilung in Deutschland\r\n");
    const char* locale = std::getenv("LC_ALL");
    const bool german = locale != nullptr && AnsiString(locale).starts_with("de_DE");
    auto window = Start();
    const TWindowView view = WaitForWindow(*window);
    ASSERT_NE(view.Upper, nullptr);
    EXPECT_EQ(WindowText(view.Form), german ? "Softwareverteilung in Deutschland" : "Software deployment");
    EXPECT_EQ(WindowText(view.Upper), german ? "Ben\xF6tigte Software wird ermittelt" : "Inspecting");
    // The German sections lack this key.
    EXPECT_EQ(WindowText(view.Lower), "Please wait");
    Send("-package Foo install");
    EXPECT_TRUE(UpperBecomes(view, german ? "Foo wird installiert" : "Installing Foo")) << WindowText(view.Upper);
    Send("-terminate");
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, CloseRequestFromOutsideEndsTheProgram)
{
    WriteIni(TestIni);
    auto window = Start();
    const TWindowView view = WaitForWindow(*window);
    ASSERT_NE(view.Form, nullptr);
    PostMessageA(view.Form, WM_CLOSE, 0, 0);
    ExpectEndsWithZero(*window);
    // The channel went with the window: a new window can start.
    auto next = Start();
    EXPECT_NE(WaitForWindow(*next).Form, nullptr);
    Send("-terminate");
    ExpectEndsWithZero(*next);
}

} // namespace
