#include "Station.h"

#include <sddl.h>

#include <vector>

#include "Handle.h"

AnsiString TokenUserSid(HANDLE token)
{
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size))
        return AnsiString();
    TLocalMemory<char*> text;
    if (!ConvertSidToStringSidA(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid, text.Put()))
        return AnsiString();
    return text.Get();
}

AnsiString ProcessUserSid()
{
    TKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put()))
        return AnsiString();
    return TokenUserSid(token.Get());
}

bool RunsAsLocalSystem()
{
    return ProcessUserSid() == "S-1-5-18";
}

TEnabledPrivileges::TEnabledPrivileges(std::initializer_list<const char*> names)
{
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, FToken.Put()))
        return;
    for (const char* name : names) {
        TOKEN_PRIVILEGES privilege{1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
        TOKEN_PRIVILEGES before{};
        DWORD size = sizeof before;
        if (!LookupPrivilegeValueA(nullptr, name, &privilege.Privileges[0].Luid) ||
            !AdjustTokenPrivileges(FToken.Get(), FALSE, &privilege, sizeof before, &before, &size) ||
            GetLastError() == ERROR_NOT_ALL_ASSIGNED)
            continue;
        // The state before names the privilege only when the call changed it.
        if (before.PrivilegeCount == 1 && (before.Privileges[0].Attributes & SE_PRIVILEGE_ENABLED) == 0)
            FEnabled.push_back(privilege.Privileges[0].Luid);
    }
}

TEnabledPrivileges::~TEnabledPrivileges()
{
    for (const LUID& luid : FEnabled) {
        TOKEN_PRIVILEGES privilege{1, {{luid, 0}}};
        AdjustTokenPrivileges(FToken.Get(), FALSE, &privilege, 0, nullptr, nullptr);
    }
}

bool WindowStationVisible()
{
    // The station is not ours to close: GetProcessWindowStation lends it.
    // One that cannot be asked counts as visible: the run then behaves as it
    // always has.
    USEROBJECTFLAGS flags{};
    DWORD size = 0;
    if (!GetUserObjectInformationA(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &size))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

void WriteStandardError(const AnsiString& line)
{
    const HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
    if (standardError == nullptr || standardError == INVALID_HANDLE_VALUE)
        return;
    const AnsiString text = line + "\r\n";
    DWORD written = 0;
    WriteFile(standardError, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
