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
