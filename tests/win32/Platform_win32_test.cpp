// The framework's and the library's platform routines under the real Win32 API.
#include <gtest/gtest.h>

#include "ProcessArgs.h"
#include "StartUp.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "UtilsKx.h"

namespace {

TEST(Locale, CodePage1252LettersPairUp)
{
    EXPECT_TRUE(AnsiSameText("\xC4rger", "\xE4RGER"));
    EXPECT_EQ(AnsiLowerCase("INSTALL\xC4"), "install\xE4");
    EXPECT_EQ(AnsiUpperCase("\xE4"), "\xC4");
    EXPECT_EQ(AnsiCharLower('\xC4'), '\xE4');
    EXPECT_TRUE(AnsiIsCharAlphaNumeric('\xE4'));
    EXPECT_FALSE(AnsiIsCharAlphaNumeric('\xA7'));
    EXPECT_NE(AnsiCompareStr("a", "A"), 0);
}

TEST(Locale, SwitchTestIgnoresCaseInTheUsersLocale)
{
    EXPECT_TRUE(FindSwitch(SplitCommandLine("p", "p /\xC4NDERN"), "\xE4ndern"));
    EXPECT_EQ(ChooseRun(SplitCommandLine("p", "p -package X \xC4NDERN")).Action, "\xE4ndern");
}

struct TProbeResult {
    AnsiString Program;
    std::vector<AnsiString> Arguments;
};

TProbeResult RunProbe(const AnsiString& probe, const AnsiString& commandLine)
{
    TChildProcess child(TCommandLine{probe, commandLine}, {.CaptureOutput = true});
    const AnsiString output = child.ReadOutput();
    int exitCode = -1;
    EXPECT_TRUE(child.WaitForExit(std::chrono::seconds(20), exitCode));
    EXPECT_EQ(exitCode, 0);
    TProbeResult result;
    size_t line = output.find('\n');
    result.Program = output.substr(0, line);
    for (size_t start = line + 1; start < output.size();) {
        const size_t colon = output.find(':', start);
        const size_t length = std::stoul(output.substr(start, colon - start));
        result.Arguments.push_back(output.substr(colon + 1, length));
        start = colon + 1 + length + 1;
    }
    return result;
}

TEST(ProcessArguments, CutFromTheRealCommandLine)
{
    const AnsiString probe = BinaryFolder() + "command_line_probe.exe";
    const TProbeResult result =
        RunProbe(probe, "\"C:\\some where\\x.exe\" -package\t\"Office Tools\" \"\" mid\"dle wo\"rd \x01 end\"open");
    EXPECT_EQ(result.Program, probe);
    EXPECT_EQ(result.Arguments, (std::vector<AnsiString>{"-package", "Office Tools", "middle word", "endopen"}));
}

TEST(RemoveWindowTaskbar, MakesAToolWindowAndKeepsItVisible)
{
    const TWindowHandle window(CreateWindowExA(WS_EX_APPWINDOW, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                               nullptr, nullptr, nullptr));
    ASSERT_TRUE(window.Valid());
    NUtilsKx::RemoveWindowTaskbar(window.Get());
    const LONG style = GetWindowLongA(window.Get(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(style & WS_EX_APPWINDOW);
    EXPECT_TRUE(IsWindowVisible(window.Get()));
    // An invalid handle changes nothing and does not fail.
    NUtilsKx::RemoveWindowTaskbar(nullptr);
}

} // namespace

namespace {

TEST(ConstKxResources, StringTableHoldsEveryMessageInCodePage1252)
{
    char buffer[256];
    // The text comes from the executable's own resources, converted from UTF-16.
    const int length = LoadStringA(GetModuleHandleA(nullptr), 65332, buffer, sizeof buffer);
    EXPECT_EQ(AnsiString(buffer, length > 0 ? length : 0),
              "Fehler beim Ermitteln des Windows Tempor\xE4rverzeichnisses");
#define DN_RESOURCE_STRING(name, number, text)                                                                         \
    EXPECT_GT(LoadStringA(GetModuleHandleA(nullptr), number, buffer, sizeof buffer), 0) << #name;
#include "ConstKx.inc"
#undef DN_RESOURCE_STRING
}

} // namespace
