// The real window run, the same cases on every platform (WindowRun.h).
#include "WindowRun.h"

namespace {

TEST_F(WindowRun, OpensWithTheIniTextsWithoutTaskbarEntryAndAppliesEachCommand)
{
    WriteIni(TestIni);
    // An argument that is no switch starts the window run as well.
    auto window = Start({"hello"});
    const TWindowSeen seen = WaitForWindow(*window);
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(BoxCount(*window), 0) << "no usage box";
    EXPECT_EQ(seen.Caption, "Software deployment");
    EXPECT_EQ(seen.Upper, "Inspecting");
    EXPECT_EQ(seen.Lower, "Please wait");

    // A dialog that only moves, without taskbar entry, 368 by 195 client
    // pixels at 96 dpi, centred.
    // A window manager may take a moment to manage the window.
    TWindowFrame frame;
    ASSERT_TRUE(WaitUntil([&] { return (frame = ReadFrame(*window)).Found; }));
    EXPECT_FALSE(frame.TaskbarEntry);
    EXPECT_FALSE(frame.Buttons);
    EXPECT_EQ(frame.ClientWidth, 368 * ScreenDpi() / 96);
    EXPECT_EQ(frame.ClientHeight, 195 * ScreenDpi() / 96);
    EXPECT_TRUE(frame.Centred);

    const struct {
        std::vector<std::string> Arguments;
        std::string Upper;
    } steps[] = {
        {{"-package", "Foo", "install"}, "Installing Foo"},
        {{"-package", "Office Tools", "UPGRADE"}, "Upgrading Office Tools"},
        {{"/package", "Foo", "remove"}, "Removing Foo"},
        {{"-package", "Foo", "bogus"}, ""},
        {{"-package", ""}, "Installing %s"},
        // "&" underlines the next character; GTK cannot underline "_".
        {{"-package", "R&&D_&_Co"}, "Installing R&D__Co"},
        {{"-finish"}, "Finished now"},
    };
    for (const auto& step : steps) {
        Send(step.Arguments);
        EXPECT_TRUE(UpperBecomes(*window, step.Upper)) << step.Upper << ": " << ReadWindow(*window).Upper;
        const TWindowSeen now = ReadWindow(*window);
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
    int repeated = 0;
    const auto seen = [&](const std::vector<std::string>& names) {
        for (;;) {
            if (auto texts = StartAndSendAtOnce(names))
                return *texts;
            if (++repeated > 5)
                return std::vector<std::string>{"<Wine ended too many processes early>"};
        }
    };
    EXPECT_EQ(seen({"A", "B", "C", "D", "E"}),
              (std::vector<std::string>{"Installing A", "Installing B", "Installing C", "Installing D", "Installing E"}));
    for (int start = 0; start < QuickStarts; ++start) {
        const std::string name = Format("P%02d", start);
        EXPECT_EQ(seen({name}), std::vector<std::string>{"Installing " + name}) << "start " << start;
    }
    if (repeated > 0)
        std::printf("starts repeated because Wine ended a process before its main: %d\n", repeated);
}

TEST_F(WindowRun, BarMovesInTensAndCommandsArriveInOrder)
{
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    // Polled from outside, a slow moment may hide a step; what is seen must
    // still be steps of ten, and the full bar is followed by the empty one.
    std::vector<int> seen;
    EXPECT_TRUE(WaitUntil([&] {
        const TWindowSeen now = ReadWindow(*window);
        if (now.Found && (seen.empty() || seen.back() != now.Bar))
            seen.push_back(now.Bar);
        return seen.size() >= 2 && seen[seen.size() - 2] == 100 && seen.back() == 0;
    }, 30s));
    for (int position : seen)
        EXPECT_EQ(position % 10, 0) << position;

    // Written at once, applied one per tick, in order; a slow moment of this
    // poller may hide the middle one.
    WriteMailslot(CommandChannelName, "ProcessPackage|A|install");
    WriteMailslot(CommandChannelName, "ProcessPackage|B|install");
    WriteMailslot(CommandChannelName, "ProcessPackage|C|install");
    const std::vector<std::string> texts = UpperTexts(*window, "Installing C");
    EXPECT_TRUE(InOrder(texts, {"Installing A", "Installing B", "Installing C"})) << testing::PrintToString(texts);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "Installing C");

    WriteMailslot(CommandChannelName, "Terminate");
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, AScriptsPercentageHoldsTheBarAsTheScreenReaderHearsIt)
{
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    // Each holds for several ticks; a text that is no number changes nothing.
    for (const auto& [percent, bar] : {std::pair{"45", 45}, {"abc", 45}, {"250", 100}}) {
        Send({"-progress", percent});
        EXPECT_TRUE(WaitUntil([&, bar = bar] { return ReadWindow(*window).Bar == bar; })) << percent;
        EXPECT_FALSE(WaitUntil([&, bar = bar] { return ReadWindow(*window).Bar != bar; }, 1600ms)) << percent;
    }
    Send({"-progress"});
    EXPECT_TRUE(WaitUntil([&] { return ReadWindow(*window).Bar != 100; }));
    Send({"-terminate"});
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, StandsWhereItsWindowSectionSaysAndAboveOtherWindowsWhenAsked)
{
    const struct {
        const char* Section;
        int Column;
        int Row;
        bool TopMost;
    } cases[] = {
        {"", 0, 0, false}, // as ever: centred on the screen
        {"Position=TopLeft\r\nTopMost=1", -1, -1, true},
        {"Position=Top", 0, -1, false},
        {"Position=topright", 1, -1, false},
        {"Position=Left", -1, 0, false},
        {"Position=Center", 0, 0, false},
        {"Position=Right", 1, 0, false},
        {"Position=BottomLeft", -1, 1, false},
        {"Position=Bottom", 0, 1, false},
        {"Position=BottomRight\r\nTopMost=1", 1, 1, true},
        {"Position=Middle\r\nTopMost=yes", 0, 0, false}, // unknown: the defaults
    };
    for (const auto& c : cases) {
        WriteIni(AnsiString(TestIni) + "[Window]\r\n" + c.Section + "\r\n");
        auto window = Start();
        ASSERT_TRUE(WaitForWindow(*window).Found) << c.Section;
        // The window may be placed once its frame is known.
        TWindowFrame frame;
        EXPECT_TRUE(WaitUntil([&] {
            frame = ReadFrame(*window);
            return frame.Column == c.Column && frame.Row == c.Row;
        }, 5s)) << c.Section << ": " << frame.Column << " " << frame.Row;
        EXPECT_EQ(frame.TopMost, c.TopMost) << c.Section;
        Send({"-terminate"});
        ExpectEndsWithZero(*window);
    }
}

TEST_F(WindowRun, RebootCountdownRunsDownAndTheWindowStaysOpen)
{
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    Send({"-reboot", "3"});
    // The seconds count down to the text without time.
    const std::vector<std::string> texts = UpperTexts(*window, "Reboot now");
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts.front(), "Reboot in 3 s");
    EXPECT_TRUE(InOrder(texts, {"Reboot in 3 s", "Reboot in 2 s", "Reboot in 1 s", "Reboot now"}))
        << testing::PrintToString(texts);
    // A later package command is read, but the countdown text stays.
    Send({"-package", "Foo", "install"});
    int exitCode = -1;
    EXPECT_FALSE(window->WaitForExit(1500ms, exitCode)) << "the window must stay open";
    EXPECT_EQ(ReadWindow(*window).Upper, "Reboot now");
    // Terminate during the countdown ends the program; nothing is restarted.
    Send({"-terminate"});
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, SecondStartIsRefusedWithAnErrorBoxAndAKilledWindowBlocksNothing)
{
    WriteIni(TestIni);
    auto first = Start();
    ASSERT_TRUE(WaitForWindow(*first).Found);

    auto second = Start();
    const TBoxSeen box = WaitForBox(*second);
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Caption, "deployNotice");
    EXPECT_EQ(box.Text, "Unable to create Mailslot.");
    EXPECT_TRUE(box.HasIcon) << "the error box shows the stop icon";
    EXPECT_FALSE(ReadWindow(*second).Found) << "no second window";
    ASSERT_TRUE(PressBoxOk(*second));
    ExpectEndsWithZero(*second);

    Send({"-finish"});
    EXPECT_TRUE(UpperBecomes(*first, "Finished now"));

    // A window that dies without closing its channel leaves nothing behind:
    // the next one starts at once.
    first->Kill();
    auto next = Start();
    ASSERT_TRUE(WaitForWindow(*next).Found);
    Send({"-terminate"});
    ExpectEndsWithZero(*next);
}

TEST_F(WindowRun, WithoutIniFileTheTextsAreEmptyTheBarMovesAndOneLineSaysWhy)
{
    TChildProcess::TOptions options;
    options.CaptureOutput = true;
    auto window = std::make_unique<TChildProcess>(Program, std::vector<std::string>{}, options);
    const TWindowSeen seen = WaitForWindow(*window);
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Caption, "");
    EXPECT_EQ(seen.Upper, "");
    EXPECT_EQ(seen.Lower, "");
    EXPECT_TRUE(WaitUntil([&] { return ReadWindow(*window).Bar != seen.Bar; }));
    Send({"-terminate"});
    ExpectEndsWithZero(*window);
    const std::string output = window->ReadOutput();
    EXPECT_NE(output.find("\"" + Folder.Path() + "deployNotice.ini\" cannot be read: "), std::string::npos) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
}

TEST_F(WindowRun, MalformedCommandShowsOneErrorBoxWhileTheWindowGoesOn)
{
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    WriteMailslot(CommandChannelName, "ProcessPackage");
    WriteMailslot(CommandChannelName, "ProcessPackage");
    WriteMailslot(CommandChannelName, "FinishInstallation");

    const TBoxSeen box = WaitForBox(*window);
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Caption, "deployNotice");
    // ")" ends the message: no full stop is added.
    EXPECT_EQ(box.Text, "Der Index der Liste \xC3\xBC"
                        "berschreitet das Maximum (1)");

    // Nobody closes the box: the window goes on, and the second failure does
    // not open a second box.
    EXPECT_TRUE(UpperBecomes(*window, "Finished now"));
    const int position = ReadWindow(*window).Bar;
    EXPECT_TRUE(WaitUntil([&] { return ReadWindow(*window).Bar != position; }));
    EXPECT_EQ(BoxCount(*window), 1);

    // Terminate still ends the program with the box open.
    WriteMailslot(CommandChannelName, "Terminate");
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, CloseRequestFromOutsideEndsTheProgram)
{
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    ASSERT_TRUE(RequestClose(*window));
    ExpectEndsWithZero(*window);
    // The channel went with the window: a new window can start.
    auto next = Start();
    EXPECT_TRUE(WaitForWindow(*next).Found);
    Send({"-terminate"});
    ExpectEndsWithZero(*next);
}

} // namespace
