// The real deployNotice.exe: command lines as only Windows passes them, exactly
// as typed, which no argument list can say.
#include <gtest/gtest.h>

#include "StartUp_e2e.h"
#include "SysUtils.h"

std::unique_ptr<TChildProcess> StartWindowRunThatNeverGetsGoing(const TTempFolder&)
{
    return std::make_unique<TChildProcess>(ProgramPath(), std::vector<std::string>{},
                                           TChildProcess::TOptions{.Suspended = true});
}

namespace {

using namespace std::chrono_literals;

class SenderRunAsTyped : public SenderRun {
protected:
    AnsiString SentAsTyped(const AnsiString& commandLine)
    {
        TChildProcess child(TCommandLine{ProgramPath(), commandLine});
        int exitCode = -1;
        EXPECT_TRUE(child.WaitForExit(20s, exitCode)) << commandLine;
        EXPECT_EQ(exitCode, 0) << commandLine;
        const std::vector<AnsiString> messages = Messages();
        EXPECT_EQ(messages.size(), 1u) << commandLine;
        return messages.empty() ? AnsiString("<none>") : messages.front();
    }
};

TEST_F(SenderRunAsTyped, TabsQuotesAndControlCharactersSeparateAsTheProgramSplits)
{
    EXPECT_EQ(SentAsTyped("deployNotice.exe -reboot\t120"), WithNul("Reboot|120"));
    EXPECT_EQ(SentAsTyped("\"C:\\Program Files\\x\\deployNotice.exe\" x -reboot 30"), WithNul("Reboot|-reboot"));
    EXPECT_EQ(SentAsTyped("deployNotice.exe -package \"open quote to the end"),
              WithNul("ProcessPackage|open quote to the end"));
    EXPECT_EQ(SentAsTyped("deployNotice.exe \x01-reboot\x02\x1f" "5\x7f"), WithNul("Reboot|5\x7f"));
}

} // namespace
