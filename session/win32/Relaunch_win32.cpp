// Window runs of deployments that run as SYSTEM: the window goes to the
// session of the user who works at the machine, started there as that user,
// and this process waits for it, so that a script that waits for the window
// run sees the same lifetime as before. Every decision is one diagnostic
// line: nobody sees this process, and an administrator who looks into why
// no window appeared finds them on standard error and in the event log.
#include <windows.h>

#include <userenv.h>
#include <wtsapi32.h>

#include <memory>
#include <optional>
#include <vector>

#include "Consts.h"
#include "Diagnostics.h"
#include "HandOverChoice.h"
#include "HandOverSystem_win32.h"
#include "Handle.h"
#include "LastError.h"
#include "Relaunch.h"
#include "StagingFolder_win32.h"
#include "Station.h"
#include "SysUtils.h"
#include "Unt_settings.h"

namespace {

// Names the handle through which a window run that a SYSTEM run started
// watches that run.
const std::wstring HandingRunVariable = L"DEPLOYNOTICE_HANDING_RUN";

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
        RaiseLastError([&] { return Format(SNoUserToken, static_cast<unsigned long>(session)); });
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

// The user's environment with one variable more.
std::wstring EnvironmentWith(const void* block, const std::wstring& entry)
{
    std::wstring environment;
    for (const auto* at = static_cast<const wchar_t*>(block); *at != L'\0'; at += wcslen(at) + 1)
        environment.append(at).push_back(L'\0');
    environment.append(entry).push_back(L'\0');
    return environment;
}

std::wstring ImageOf(HANDLE process)
{
    std::wstring image(32 * 1024, L'\0');
    auto size = static_cast<DWORD>(image.size());
    if (!QueryFullProcessImageNameW(process, 0, image.data(), &size))
        return std::wstring();
    image.resize(size);
    return image;
}

// The window run in the user's session, with its ties to this run.
struct TUserRun {
    TKernelHandle Process;
    TKernelHandle Thread;
    DWORD Id = 0;
    // Ends the window run when this process ends, however it ends.
    TKernelHandle Job;
};

// Ends the window when this process ends, so that a deployment agent that
// ends its script on a time-out leaves no window that holds the channel: a
// job does it where Windows lets the window's process join one of this
// session's (a job's processes share one session, and an agent's own job may
// refuse), and the window watches this process in any case.
TKernelHandle TieToThisRun(THandOverSystem& system, HANDLE process)
{
    TKernelHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job.Valid() || !SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !system.JoinJob(job.Get(), process))
        job.Reset();
    return job;
}

// Starts the program as the user, suspended until it is tied to this run and
// known to run the staged copy when there is one. The only handle it
// inherits is one of this process that it may wait for and ask nothing but
// its id, its times and its image's name, named in its environment.
TUserRun StartAsUser(THandOverSystem& system, HANDLE token, const std::wstring& program, const TStagingFolder* staging)
{
    TEnvironmentBlock environment;
    if (!CreateEnvironmentBlock(environment.Put(), token, FALSE))
        RaiseLastError(SNoUserEnvironment);
    TKernelHandle self;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), self.Put(),
                         SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0))
        RaiseLastError([&] { return Format(SNotStartedAsUser, WideToUtf8(program).c_str()); });
    const AnsiString value = Format("%llu", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(self.Get())));
    std::wstring block =
        EnvironmentWith(environment.Get(), HandingRunVariable + (L"=" + std::wstring(value.begin(), value.end())));

    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<BYTE> attributes(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
    HANDLE inherited = self.Get();
    if (!InitializeProcThreadAttributeList(list, 1, 0, &size) ||
        !UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &inherited, sizeof inherited, nullptr,
                                   nullptr))
        RaiseLastError([&] { return Format(SNotStartedAsUser, WideToUtf8(program).c_str()); });
    std::wstring commandLine = GetCommandLineW();
    std::wstring desktop = L"winsta0\\default";
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.lpDesktop = desktop.data();
    startup.lpAttributeList = list;
    PROCESS_INFORMATION started{};
    const BOOL created = CreateProcessAsUserW(
        token, program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
        CREATE_UNICODE_ENVIRONMENT | CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT, block.data(),
        FolderOf(program).c_str(), &startup.StartupInfo, &started);
    const DWORD error = GetLastError();
    DeleteProcThreadAttributeList(list);
    if (!created)
        throw Exception(Format(SNotStartedAsUser, WideToUtf8(program).c_str()), error);
    TUserRun run{TKernelHandle(started.hProcess), TKernelHandle(started.hThread), started.dwProcessId, {}};
    if (staging != nullptr && !staging->Holds(ImageOf(run.Process.Get()))) {
        TerminateProcess(run.Process.Get(), 1);
        throw Exception(Format(SNotTheStagedCopy, WideToUtf8(program).c_str()));
    }
    run.Job = TieToThisRun(system, run.Process.Get());
    ResumeThread(run.Thread.Get());
    return run;
}

void Relaunch(THandOverSystem& system, const THandOverChoice& choice)
{
    // What WTSQueryUserToken and CreateProcessAsUser ask for, enabled until
    // the window run has started.
    std::optional<TEnabledPrivileges> privileges(std::in_place, {SE_TCB_NAME, SE_ASSIGNPRIMARYTOKEN_NAME,
                                                                 SE_INCREASE_QUOTA_NAME});
    const TKernelHandle token = UserToken(choice.Session);
    const TFolderSecurity security = [&system](HANDLE folder) { return system.FolderSecurity(folder); };
    RemoveStagingLeftovers(security);
    std::wstring program = system.ProgramPath();
    const std::string settingsName = SettingsFileName;
    const std::wstring iniFile = FolderOf(program) + L"\\" + std::wstring(settingsName.begin(), settingsName.end());
    std::optional<TStagingFolder> staging;
    if (!UserMayRun(system, token.Get(), program, iniFile)) {
        staging.emplace(TokenUserSid(token.Get()), security);
        const std::wstring copy = staging->Copy(program);
        // Without its texts the window still shows what happens.
        if (Exists(iniFile)) {
            try {
                staging->Copy(iniFile);
            } catch (const Exception& error) {
                WriteDiagnostic(Format(SIniNotStaged, error.what()), TDiagnosticKind::Warning);
            }
        }
        WriteDiagnostic(
            Format(SStaged, choice.User.c_str(), WideToUtf8(program).c_str(), WideToUtf8(staging->Path()).c_str()));
        program = copy;
    }
    const TUserRun run = StartAsUser(system, token.Get(), program, staging ? &*staging : nullptr);
    privileges.reset();
    const auto session = static_cast<unsigned long>(choice.Session);
    WriteDiagnostic(Format(SRelaunchedIntoSession, session, choice.User.c_str(), static_cast<unsigned long>(run.Id)));

    WaitForSingleObject(run.Process.Get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(run.Process.Get(), &exitCode);
    WriteDiagnostic(
        Format(SSessionRunEnded, session, static_cast<unsigned long>(run.Id), static_cast<unsigned long>(exitCode)));
    if (staging && !staging->Remove())
        WriteDiagnostic(Format(SStagingNotRemoved, WideToUtf8(staging->Path()).c_str()), TDiagnosticKind::Warning);
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
        WriteDiagnostic(HandOverFailedLine(Format("%lu", static_cast<unsigned long>(choice.Session)), choice.User, error),
                        TDiagnosticKind::Error);
    }
    return true;
}

// The SYSTEM run hands the named channel over: the window run creates it.
std::unique_ptr<TChannelReader> HandedOverChannel()
{
    return nullptr;
}

std::function<bool()> HandingRunEnded()
{
    wchar_t value[32] = {};
    const DWORD length = GetEnvironmentVariableW(HandingRunVariable.c_str(), value, 32);
    if (length == 0 || length >= 32)
        return {};
    // Nothing that this window starts inherits it.
    SetEnvironmentVariableW(HandingRunVariable.c_str(), nullptr);
    const auto handle = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(wcstoull(value, nullptr, 10)));
    // Any other value (the variable set by hand) names no process.
    if (GetProcessId(handle) == 0)
        return {};
    const auto process = std::make_shared<TKernelHandle>(handle);
    return [process] { return WaitForSingleObject(process->Get(), 0) == WAIT_OBJECT_0; };
}
