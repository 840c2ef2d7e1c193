#include "HandOverSystem_win32.h"

#include <aclapi.h>
#include <sddl.h>
#include <wtsapi32.h>

#include "Handle.h"
#include "Channel.h"
#include "Channel_win32.h"
#include "ProcessArgs_win32.h"
#include "Station.h"

bool THandOverSystem::RunsAsSystem()
{
    return RunsAsLocalSystem();
}

bool THandOverSystem::StationVisible()
{
    return WindowStationVisible();
}

bool THandOverSystem::WindowOpen()
{
    return ChannelHeld(CommandChannelName);
}

uint32_t THandOverSystem::ConsoleSession()
{
    return WTSGetActiveConsoleSessionId();
}

std::vector<TUserSession> THandOverSystem::Sessions()
{
    std::vector<TUserSession> sessions;
    TWtsMemory<WTS_SESSION_INFOW*> list;
    DWORD count = 0;
    if (!WTSEnumerateSessionsW(WTS_CURRENT_SERVER_HANDLE, 0, 1, list.Put(), &count))
        return sessions;
    for (DWORD index = 0; index < count; ++index) {
        TWtsMemory<WTSINFOW*> info;
        DWORD size = 0;
        if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, list.Get()[index].SessionId, WTSSessionInfo,
                                         reinterpret_cast<LPWSTR*>(info.Put()), &size) ||
            size < sizeof(WTSINFOW))
            continue;
        TUserSession session;
        session.Id = info.Get()->SessionId;
        session.Active = info.Get()->State == WTSActive;
        if (info.Get()->UserName[0] != L'\0')
            session.User = WideToUtf8(info.Get()->Domain) + "\\" + WideToUtf8(info.Get()->UserName);
        session.LastInput = info.Get()->LastInputTime.QuadPart;
        session.LogonTime = info.Get()->LogonTime.QuadPart;
        sessions.push_back(session);
    }
    return sessions;
}

std::wstring THandOverSystem::ProgramPath()
{
    return ExecutableWideFileName();
}

bool THandOverSystem::UserMayAccess(HANDLE userToken, const std::wstring& path, DWORD access)
{
    const SECURITY_INFORMATION parts =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    GetFileSecurityW(path.c_str(), parts, nullptr, 0, &size);
    std::vector<BYTE> descriptor(size);
    if (size == 0 || !GetFileSecurityW(path.c_str(), parts, descriptor.data(), size, &size))
        return false;
    // AccessCheck asks an impersonation token.
    TKernelHandle identity;
    if (!DuplicateTokenEx(userToken, TOKEN_QUERY, nullptr, SecurityIdentification, TokenImpersonation, identity.Put()))
        return false;
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    PRIVILEGE_SET privileges{};
    DWORD privilegesSize = sizeof privileges;
    DWORD granted = 0;
    BOOL allowed = FALSE;
    return AccessCheck(descriptor.data(), identity.Get(), access, &mapping, &privileges, &privilegesSize, &granted,
                       &allowed) &&
           allowed;
}

AnsiString THandOverSystem::FolderSecurity(HANDLE folder)
{
    TLocalMemory<PSECURITY_DESCRIPTOR> descriptor;
    const SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    TLocalMemory<char*> text;
    if (GetSecurityInfo(folder, SE_FILE_OBJECT, parts, nullptr, nullptr, nullptr, nullptr, descriptor.Put()) !=
            ERROR_SUCCESS ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor.Get(), SDDL_REVISION_1, parts, text.Put(),
                                                              nullptr))
        return AnsiString();
    return text.Get();
}

bool THandOverSystem::JoinJob(HANDLE job, HANDLE process)
{
    return AssignProcessToJobObject(job, process);
}
