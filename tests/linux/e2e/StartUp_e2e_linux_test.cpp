// The real deployNotice on Linux: what the shell hands over as it is, in the
// user's locale (UTF-8), and the usage text without a display.
#include <gtest/gtest.h>

#include <filesystem>

#include "StartUp.h"
#include "StartUp_e2e.h"
#include "SysUtils.h"

std::unique_ptr<TChildProcess> StartWindowRunThatNeverGetsGoing(const TTempFolder& folder)
{
    // A process under the program's name that only sleeps.
    const AnsiString standIn = folder.Path() + "deployNotice";
    if (!std::filesystem::exists(standIn))
        std::filesystem::copy_file("/bin/sleep", standIn);
    return std::make_unique<TChildProcess>(standIn, std::vector<std::string>{"60"});
}

namespace {

using namespace std::chrono_literals;

TEST_F(SenderRun, TerminalTextArrivesInUtf8AsTheShellPassedIt)
{
    TChildProcess::TOptions utf8;
    utf8.Environment = {"LC_ALL=C.UTF-8"};
    // Every script whole; the action is lower-cased in the user's locale.
    EXPECT_EQ(Sent({"-package", "B\xC3\xBCro \xE2\x82\xAC \xE6\x97\xA5", "\xC3\x9C" "BER"}, utf8),
              WithNul("ProcessPackage|B\xC3\xBCro \xE2\x82\xAC \xE6\x97\xA5|\xC3\xBC" "ber"));
    // No command line limits the length, and nothing is split or unquoted.
    const AnsiString longName(100000, 'n');
    EXPECT_EQ(Sent({"-package", longName, "remove"}), WithNul("ProcessPackage|" + longName + "|remove"));
    EXPECT_EQ(Sent({"-reboot", "5\x7f\x01\t"}), WithNul("Reboot|5\x7f\x01\t"));
    EXPECT_EQ(Sent({"-package", "\"quoted\""}), WithNul("ProcessPackage|\"quoted\""));
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
