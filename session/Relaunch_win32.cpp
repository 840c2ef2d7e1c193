// Window runs of deployments that run as SYSTEM: the window goes to the
// session of the user who works at the machine, started there as that user,
// and this process waits for it, so that a script that waits for the window
// run sees the same lifetime as before. Every decision is one diagnostic
// line: nobody sees this process, and an administrator who looks into why
// no window appeared finds them on standard error and in the event log.
#include <windows.h>

#include <userenv.h>
#include <wtsapi32.h>

#include <optional>

#include "Consts.h"
#include "Diagnostics.h"
#include "HandOverChoice.h"
#include "HandOverSystem_win32.h"
#include "Handle.h"
#include "Relaunch.h"
#include "StagingFolder_win32.h"
#include "Station.h"
#include "SysUtils.h"
#include "Unt_settings.h"

namespace {

THandOverFacts GatherFacts(THandOverSystem& system)
{
    THandOverFacts facts;
    facts.System = system.RunsAsSystem();
    if (!facts.System) {
        facts.StationVisible = system.StationVisible();
        return facts;
    }
    facts.WindowOpen = system.WindowOpen();
    if (!facts.WindowOpen) {
        facts.ConsoleSession = system.ConsoleSession();
        facts.Sessions = system.Sessions();
    }
    return facts;
}

// What WTSQueryUserToken and CreateProcessAsUser ask for; SYSTEM's token has
// them, not all of them enabled. Those that the token lacks stay missing.
void EnablePrivileges()
{
    TKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Put()))
        return;
    for (const char* name : {SE_TCB_NAME, SE_ASSIGNPRIMARYTOKEN_NAME, SE_INCREASE_QUOTA_NAME}) {
        TOKEN_PRIVILEGES privilege{1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
        if (LookupPrivilegeValueA(nullptr, name, &privilege.Privileges[0].Luid))
            AdjustTokenPrivileges(token.Get(), FALSE, &privilege, 0, nullptr, nullptr);
    }
}

// The user's own token as the session has it (filtered, not elevated), as a
// token that a process can be started with.
TKernelHandle UserToken(uint32_t session)
{
    TKernelHandle token;
    TKernelHandle primary;
    if (!WTSQueryUserToken(session, token.Put()) ||
        !DuplicateTokenEx(token.Get(),
                          TOKEN_ASSIGN_PRIMARY | TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_ADJUST_DEFAULT |
                              TOKEN_ADJUST_SESSIONID,
                          nullptr, SecurityImpersonation, TokenPrimary, primary.Put()))
        throw Exception(Format(SNoUserToken, static_cast<unsigned long>(session)), GetLastError());
    return primary;
}

std::wstring FolderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The user must be able to run the program from its folder, which becomes
// the working directory, and to read the texts beside it.
bool UserMayRun(THandOverSystem& system, HANDLE token, const std::wstring& program, const std::wstring& iniFile)
{
    return system.UserMayAccess(token, program, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE) &&
           system.UserMayAccess(token, FolderOf(program), FILE_TRAVERSE) &&
           (!Exists(iniFile) || system.UserMayAccess(token, iniFile, FILE_GENERIC_READ));
}

void Relaunch(THandOverSystem& system, const THandOverChoice& choice)
{
    EnablePrivileges();
    const TKernelHandle token = UserToken(choice.Session);
    RemoveStagingLeftovers();
    std::wstring program = system.ProgramPath();
    const std::string settingsName = SettingsFileName;
    const std::wstring iniFile = FolderOf(program) + L"\\" + std::wstring(settingsName.begin(), settingsName.end());
    std::optional<TStagingFolder> staging;
    if (!UserMayRun(system, token.Get(), program, iniFile)) {
        staging.emplace(TokenUserSid(token.Get()));
        const std::wstring copy = staging->Copy(program);
        if (Exists(iniFile))
            staging->Copy(iniFile);
        WriteDiagnostic(
            Format(SStaged, choice.User.c_str(), AnsiText(program).c_str(), AnsiText(staging->Path()).c_str()));
        program = copy;
    }

    TEnvironmentBlock environment;
    if (!CreateEnvironmentBlock(environment.Put(), token.Get(), FALSE))
        throw Exception(SNoUserEnvironment, GetLastError());
    std::wstring commandLine = GetCommandLineW();
    std::wstring desktop = L"winsta0\\default";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.data();
    PROCESS_INFORMATION started{};
    if (!CreateProcessAsUserW(token.Get(), program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                              CREATE_UNICODE_ENVIRONMENT, environment.Get(), FolderOf(program).c_str(), &startup,
                              &started))
        throw Exception(Format(SNotStartedAsUser, AnsiText(program).c_str()), GetLastError());
    const TKernelHandle thread(started.hThread);
    const TKernelHandle process(started.hProcess);
    const auto session = static_cast<unsigned long>(choice.Session);
    WriteDiagnostic(
        Format(SRelaunchedIntoSession, session, choice.User.c_str(), static_cast<unsigned long>(started.dwProcessId)));

    WaitForSingleObject(process.Get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.Get(), &exitCode);
    WriteDiagnostic(Format(SSessionRunEnded, session, static_cast<unsigned long>(started.dwProcessId),
                           static_cast<unsigned long>(exitCode)));
    if (staging && !staging->Remove())
        WriteDiagnostic(Format(SStagingNotRemoved, AnsiText(staging->Path()).c_str()), TDiagnosticKind::Warning);
}

} // namespace

bool HandOverWindowRun()
{
    THandOverSystem& system = HandOverSystem();
    const THandOverChoice choice = ChooseHandOver(GatherFacts(system));
    switch (choice.Kind) {
    case THandOverKind::ShowHere:
        return false;
    case THandOverKind::ShowUnseen:
        WriteDiagnostic(SWindowUnseen, TDiagnosticKind::Warning);
        return false;
    case THandOverKind::WindowAlreadyOpen:
        WriteDiagnostic(ErrorBoxText(SUnableToCreateMailslot), TDiagnosticKind::Error);
        return true;
    case THandOverKind::NobodyThere:
        WriteDiagnostic(SNobodyThere);
        return true;
    case THandOverKind::Relaunch:
        break;
    }
    try {
        Relaunch(system, choice);
    } catch (const std::exception& error) {
        const AnsiString detail = ErrorDetail(error);
        WriteDiagnostic(Format(SRelaunchIntoSessionFailed, static_cast<unsigned long>(choice.Session),
                               choice.User.c_str(),
                               (error.what() + (detail.empty() ? AnsiString() : " (" + detail + ")")).c_str()),
                        TDiagnosticKind::Error);
    }
    return true;
}
