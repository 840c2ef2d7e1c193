// What only the Linux window run has: the language from the environment,
// the kernel's word on each sender's user, and a datagram queue that
// senders can fill.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ChannelProbe.h"
#include "WindowRun.h"
#include "X11Window.h"

namespace {

TEST_F(WindowRun, ShowsTheTextsOfTheUsersLanguage)
{
    WriteIni(LanguagesIni);
    // LANGUAGE counts even in the C locale.
    TChildProcess window(Program, {}, {.Environment = {"LANGUAGE=de", "LC_ALL=C.UTF-8"}});
    const TWindowSeen seen = WaitForWindow(window);
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Caption, "Softwareverteilung");
    EXPECT_EQ(seen.Upper, "Ben\xC3\xB6tigte Software wird ermittelt");
    // The German section lacks this key.
    EXPECT_EQ(seen.Lower, "Please wait");
    Send({"-package", "Foo", "install"});
    EXPECT_TRUE(UpperBecomes(window, "Foo wird installiert")) << ReadWindow(window).Upper;
    Send({"-terminate"});
    ExpectEndsWithZero(window);
}

TEST_F(WindowRun, WithoutAnXDisplayTheWindowRunsThroughWaylandUntilToldToEnd)
{
    WriteIni(TestIni);
    const std::string runtime = Folder.Path() + "runtime";
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    const TChildProcess compositor("/usr/bin/weston", {"--backend=headless-backend.so", "--socket=dn-wayland"},
                                   {.Environment = {"XDG_RUNTIME_DIR=" + runtime}, .CaptureOutput = true});
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(runtime + "/dn-wayland"); }));
    // No DISPLAY at all, as in a session without XWayland (an empty one
    // would name the Wayland display too).
    TChildProcess window("/usr/bin/env", {"-u", "DISPLAY", Program},
                         {.Environment = {"WAYLAND_DISPLAY=dn-wayland", "XDG_RUNTIME_DIR=" + runtime},
                          .CaptureOutput = true});
    // The window lives until told to end (the tests' screen-reader view does
    // not find windows on the headless compositor, so its texts go unread).
    int exitCode = -1;
    EXPECT_FALSE(window.WaitForExit(2s, exitCode)) << window.ReadOutput();
    Send({"-terminate"});
    ExpectEndsWithZero(window);
    EXPECT_EQ(window.ReadOutput().find("display"), std::string::npos);
}

TEST_F(WindowRun, AnotherScreenSizePutsTheWindowBackInTheMiddle)
{
    // A display of the test's own, whose size it may change.
    const std::string number = Folder.Path() + "display";
    const TChildProcess server("/bin/sh", {"-c",
                                           "exec Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 "
                                           "3>\"$1\" >/dev/null 2>&1",
                                           "sh", number});
    std::string written;
    ASSERT_TRUE(WaitUntil([&] {
        std::getline(std::ifstream(number), written);
        return !written.empty();
    }));
    const std::string ours = getenv("DISPLAY");
    setenv("DISPLAY", (":" + written).c_str(), 1);
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    EXPECT_TRUE(WaitUntil([&] { return ReadFrame(*window).Centred; }));
    EXPECT_EQ(RunToEnd("/bin/sh", {"-c", "xrandr --newmode small 63.5 1024 1072 1176 1328 768 771 775 798 && "
                                         "xrandr --addmode screen small && xrandr --output screen --mode small"}),
              0);
    EXPECT_EQ(ScreenRect().Width, 1024);
    EXPECT_TRUE(WaitUntil([&] { return ReadFrame(*window).Centred; }));
    Send({"-terminate"});
    ExpectEndsWithZero(*window);
    setenv("DISPLAY", ours.c_str(), 1);
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
    EXPECT_EQ(RunToEnd(Program, {"-package", "Intruder", "install"}, stranger), 0);
    EXPECT_EQ(RunToEnd(Program, {"-terminate"}, stranger), 0);
    Send({"-package", "Own", "install"});
    EXPECT_TRUE(UpperBecomes(*window, "Installing Own"));
    int exitCode = -1;
    EXPECT_FALSE(window->WaitForExit(1s, exitCode)) << "another user's Terminate ended the window";
    EXPECT_EQ(ReadWindow(*window).Upper, "Installing Own");
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
    const TWindowSeen seen = ReadWindow(*window);
    EXPECT_TRUE(WaitUntil([&] { return ReadWindow(*window).Bar != seen.Bar; }));
    Send({"-terminate"});
    ExpectEndsWithZero(*window);
}

} // namespace
