// The framework's and the library's platform routines under the real Win32 API.
#include <windows.h>

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <utility>

#include "Channel_win32.h"
#include "Handle.h"
#include "Channel.h"
#include "ProcessArgs.h"
#include "StagingFolder_win32.h"
#include "StartUp.h"
#include "Station.h"
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
    // The command line is UTF-8.
    EXPECT_TRUE(FindSwitch(SplitCommandLine("p", "p /\xC3\x84NDERN"), "\xC3\xA4ndern"));
    EXPECT_EQ(ChooseRun(SplitCommandLine("p", "p -package X \xC3\x84NDERN")).Action, "\xC3\xA4ndern");
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

AnsiString SidText(PSID sid)
{
    TLocalMemory<char*> text;
    return ConvertSidToStringSidA(sid, text.Put()) ? AnsiString(text.Get()) : AnsiString("<none>");
}

// Read back from the reader's handle, where the system keeps it: the reader's
// user may do everything, SYSTEM and the administrators may write, nobody
// else anything, and nothing comes from elsewhere.
TEST(CommandMailslot, SecurityGrantsTheUserAllAndSystemAndAdministratorsWritingAlone)
{
    const TChannelReader reader(UniqueChannelName());
    PACL dacl = nullptr;
    TLocalMemory<PSECURITY_DESCRIPTOR> descriptor;
    ASSERT_EQ(GetSecurityInfo(static_cast<HANDLE>(PlatformHandle(reader)), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, &dacl, nullptr, descriptor.Put()),
              static_cast<DWORD>(ERROR_SUCCESS));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor.Get(), &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    ASSERT_NE(dacl, nullptr);
    std::vector<std::pair<AnsiString, ACCESS_MASK>> grants;
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, index, reinterpret_cast<void**>(&ace)));
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << index;
        EXPECT_EQ(ace->Header.AceFlags & INHERITED_ACE, 0) << index;
        grants.emplace_back(SidText(&ace->SidStart), ace->Mask);
    }
    char name[256] = {};
    DWORD nameSize = sizeof name;
    BYTE user[SECURITY_MAX_SID_SIZE] = {};
    DWORD userSize = sizeof user;
    char domain[256] = {};
    DWORD domainSize = sizeof domain;
    SID_NAME_USE use;
    ASSERT_TRUE(GetUserNameA(name, &nameSize));
    ASSERT_TRUE(LookupAccountNameA(nullptr, name, user, &userSize, domain, &domainSize, &use));
    const std::vector<std::pair<AnsiString, ACCESS_MASK>> expected = {
        {SidText(user), FILE_ALL_ACCESS}, {"S-1-5-18", FILE_GENERIC_WRITE}, {"S-1-5-32-544", FILE_GENERIC_WRITE}};
    EXPECT_EQ(grants, expected);
}

// Whether this process's token has the privilege, and whether it is enabled.
std::pair<bool, bool> PrivilegeState(const char* name)
{
    TKernelHandle token;
    LUID luid{};
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put()) ||
        !LookupPrivilegeValueA(nullptr, name, &luid))
        return {false, false};
    GetTokenInformation(token.Get(), TokenPrivileges, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.Get(), TokenPrivileges, buffer.data(), size, &size))
        return {false, false};
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD index = 0; index < privileges->PrivilegeCount; ++index)
        if (privileges->Privileges[index].Luid.LowPart == luid.LowPart &&
            privileges->Privileges[index].Luid.HighPart == luid.HighPart)
            return {true, (privileges->Privileges[index].Attributes & SE_PRIVILEGE_ENABLED) != 0};
    return {false, false};
}

// The hand-over enables what it needs for the relaunch alone: afterwards
// every privilege is as it was, also one that the token lacks.
TEST(EnabledPrivileges, AreSetBackAsTheyWere)
{
    const char* const names[] = {SE_TCB_NAME, SE_ASSIGNPRIMARYTOKEN_NAME, SE_INCREASE_QUOTA_NAME, SE_CHANGE_NOTIFY_NAME};
    std::vector<std::pair<bool, bool>> before;
    for (const char* name : names)
        before.push_back(PrivilegeState(name));
    {
        const TEnabledPrivileges enabled({SE_TCB_NAME, SE_ASSIGNPRIMARYTOKEN_NAME, SE_INCREASE_QUOTA_NAME,
                                          SE_CHANGE_NOTIFY_NAME});
        EXPECT_EQ(PrivilegeState(SE_TCB_NAME), std::pair(true, true)) << "not enabled";
    }
    for (size_t index = 0; index < std::size(names); ++index)
        EXPECT_EQ(PrivilegeState(names[index]), before[index]) << names[index];
}

// The common folder of the staging folders is used only while SYSTEM or the
// administrators alone can change it.
TEST(StagingBase, IsTrustedOnlyInTheHandsOfSystemAndTheAdministrators)
{
    const struct {
        const char* Security;
        bool Trusted;
    } rows[] = {
        {"O:SYD:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200a9;;;BU)", true},
        {"O:BAD:P(A;;FA;;;BA)(D;;FA;;;BU)", true},
        {"O:S-1-5-21-1-2-3-1001D:P(A;;FA;;;SY)", false},
        {"O:SYD:(A;;FA;;;SY)", false},
        {"O:SYD:P(A;;FA;;;SY)(A;;0x4;;;BU)", false},
        {"O:SYD:P(A;;FA;;;SY)(A;OICIIO;GA;;;CO)", false},
        {"O:SY", false},
        {"", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(InTrustedHands(row.Security), row.Trusted) << row.Security;
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
