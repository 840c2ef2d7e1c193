// The library's text and command-line helpers with the platform's locale and
// real command lines.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>

#include "ProcessArgs.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "UtilsKx.h"
#include "UtilsKxInternal.h"

namespace {

using namespace NUtilsKx;

TEST(SearchTextWin32, LettersAndWordCharactersOfCodePage1252)
{
    EXPECT_EQ(SearchText("\xE4rger", "Der \xC4RGER", false, false), 4);
    EXPECT_EQ(SearchText("\xC4RGER", "Der \xE4rger", false, true), 4);
    EXPECT_EQ(SearchText("\xE4rger", "Der \xC4RGER", true, false), -1);
    // Ä and é are word characters here, § is not.
    EXPECT_EQ(SearchText("rger", "\xC4rger", true, true), -1);
    EXPECT_EQ(SearchText("rger", "\xA7rger", true, true), 1);
    EXPECT_EQ(SearchText("caf", "caf\xE9 caf", true, true), 5);
}

TEST(GetCmdLineSwitchWin32, IgnoresCaseInTheUsersCodePage)
{
    const TArgumentList arguments = SplitCommandLine("p", "p x -\xC4NDERN=1");
    EXPECT_EQ(GetCmdLineSwitch(arguments, "\xE4ndern", true), 2);
    EXPECT_EQ(GetCmdLineSwitchVal(arguments, "\xE4ndern", true), "=1");
    EXPECT_EQ(GetCmdLineSwitch(arguments, "\xE4ndern", false), 0);
}

TEST(GetArgPointerWin32, PointsIntoTheProcesssOwnCommandLine)
{
    const char* line = GetCommandLineA();
    EXPECT_EQ(GetArgPointer(0), line + std::strspn(line, " "));
    EXPECT_EQ(GetArgPointer(100000), nullptr);
}

using TProbeRecords = std::map<AnsiString, std::optional<AnsiString>>;

TProbeRecords RunSwitchProbe(const AnsiString& commandLine)
{
    TChildProcess child(TCommandLine{BinaryFolder() + "switch_probe.exe", commandLine}, {.CaptureOutput = true});
    const AnsiString output = child.ReadOutput();
    int exitCode = -1;
    EXPECT_TRUE(child.WaitForExit(std::chrono::seconds(20), exitCode));
    EXPECT_EQ(exitCode, 0);
    TProbeRecords records;
    for (size_t start = 0; start < output.size();) {
        const size_t equals = output.find('=', start);
        if (equals == AnsiString::npos)
            break;
        const AnsiString key = output.substr(start, equals - start);
        if (output.compare(equals + 1, 5, "null\n") == 0) {
            records[key] = std::nullopt;
            start = equals + 6;
            continue;
        }
        const size_t colon = output.find(':', equals);
        const size_t length = std::stoul(output.substr(equals + 1, colon - equals - 1));
        records[key] = output.substr(colon + 1, length);
        start = colon + 1 + length + 1;
    }
    return records;
}

TEST(CommandLineHelpers, SeeTheRealCommandLineOfAProcess)
{
    // A quoted program path, a tab inside a raw token, a quoted switch with
    // spaces, quotes in the middle of a word and a lone minus sign.
    const AnsiString line = "\"C:\\some where\\x.exe\" -ABC:12\tx \"-abc Office Tools\"  mid\"dle wo\"rd -";
    const TProbeRecords expected = {
        {"P-1", std::nullopt},
        {"P0", line},
        {"P1", "-ABC:12\tx \"-abc Office Tools\"  mid\"dle wo\"rd -"},
        {"P2", "\"-abc Office Tools\"  mid\"dle wo\"rd -"},
        {"P3", "mid\"dle wo\"rd -"},
        {"P4", "-"},
        {"P5", std::nullopt},
        {"abc/1", "1::12"},
        {"abc/0", "3: Office Tools"},
        {"/1", "1:ABC:12"},
        {"/0", "1:ABC:12"},
        {"\xE4ndern/1", "0:"},
        {"\xE4ndern/0", "0:"},
    };
    EXPECT_EQ(RunSwitchProbe(line), expected);
}

TEST(CommandLineHelpers, RealCommandLineInCodePage1252AndOfSpacesOnly)
{
    TProbeRecords records = RunSwitchProbe("x.exe   -\xC4NDERN=1  ");
    EXPECT_EQ(records["P0"], "x.exe   -\xC4NDERN=1  ");
    EXPECT_EQ(records["P1"], "-\xC4NDERN=1  ");
    EXPECT_EQ(records["P2"], std::nullopt);
    EXPECT_EQ(records["\xE4ndern/1"], "1:=1");
    EXPECT_EQ(records["\xE4ndern/0"], "0:");
    EXPECT_EQ(records["/0"], "1:\xC4NDERN=1");

    records = RunSwitchProbe("   ");
    for (int index = -1; index <= 5; ++index)
        EXPECT_EQ(records[Format("P%d", index)], std::nullopt) << index;
    EXPECT_EQ(records["/1"], "0:");
    EXPECT_EQ(records.size(), 13u);
}

} // namespace
