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

namespace {

// The shell's image name as Winlogon starts it: the Shell value's program,
// explorer.exe unless an administrator named another.
std::wstring ShellImageName()
{
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    std::wstring shell = L"explorer.exe";
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", L"Shell",
                     RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS &&
        value[0] != L'\0') {
        shell = value;
        shell = shell[0] == L'"' ? shell.substr(1, shell.find(L'"', 1) - 1) : shell.substr(0, shell.find(L' '));
        shell = shell.substr(shell.find_last_of(L"\\/") + 1);
    }
    return shell;
}

} // namespace

// A session's processes are listed by the terminal services; one that cannot
// be asked holds no window back.
bool THandOverSystem::ShellRuns(uint32_t session)
{
    TWtsMemory<WTS_PROCESS_INFOW*> processes;
    DWORD count = 0;
    if (!WTSEnumerateProcessesW(WTS_CURRENT_SERVER_HANDLE, 0, 1, processes.Put(), &count))
        return true;
    const std::wstring shell = ShellImageName();
    for (DWORD index = 0; index < count; ++index) {
        const WTS_PROCESS_INFOW& process = processes.Get()[index];
        if (process.SessionId == session && process.pProcessName != nullptr &&
            CompareStringOrdinal(process.pProcessName, -1, shell.c_str(), -1, TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
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
