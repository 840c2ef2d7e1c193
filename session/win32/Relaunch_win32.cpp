// Window runs of deployments that run as SYSTEM: the window goes to the
// session of the user who works at the machine, started there as that user.
// This process holds the command channel for as long as the deployment's
// window would live, keeps what the window shows and feeds the window run
// its commands; it moves the window when another session becomes the right
// one, and waits while there is none. Every decision is one diagnostic
// line: nobody sees this process, and an administrator who looks into why
// no window appeared finds them on standard error and in the event log.
#include <windows.h>

#include <userenv.h>
#include <winternl.h>
#include <wtsapi32.h>

#include <memory>
#include <optional>
#include <vector>

#include "Channel_win32.h"
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
#include "WindowKeeper.h"

namespace {

// Name the handles through which a window run that a SYSTEM run started
// watches that run and reads its commands.
const std::wstring HandingRunVariable = L"DEPLOYNOTICE_HANDING_RUN";
const std::wstring FeedVariable = L"DEPLOYNOTICE_COMMANDS";

THandOverFacts GatherFacts(THandOverSystem& system)
{
    THandOverFacts facts;
    facts.System = system.RunsAsSystem();
    if (!facts.System) {
        facts.StationVisible = system.StationVisible();
        return facts;
    }
    // The sessions are the window keeper's to follow.
    facts.WindowOpen = system.WindowOpen();
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

// `name`=the handle's value, for the user's environment.
std::wstring HandleEntry(const std::wstring& name, HANDLE handle)
{
    return name + L"=" + std::to_wstring(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
}

// The user's environment with a few variables more.
std::wstring EnvironmentWith(const void* block, const std::vector<std::wstring>& entries)
{
    std::wstring environment;
    for (const auto* at = static_cast<const wchar_t*>(block); *at != L'\0'; at += wcslen(at) + 1)
        environment.append(at).push_back(L'\0');
    for (const std::wstring& entry : entries)
        environment.append(entry).push_back(L'\0');
    return environment;
}

// The handle that a run started with `name` in its environment inherited;
// null when it has none (the variable set by hand names nothing that
// GetHandleInformation knows). Nothing that this run starts inherits it.
HANDLE InheritedHandle(const std::wstring& name)
{
    wchar_t value[32] = {};
    const DWORD length = GetEnvironmentVariableW(name.c_str(), value, 32);
    if (length == 0 || length >= 32)
        return nullptr;
    SetEnvironmentVariableW(name.c_str(), nullptr);
    const auto handle = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(wcstoull(value, nullptr, 10)));
    DWORD flags = 0;
    if (handle == nullptr || !GetHandleInformation(handle, &flags))
        return nullptr;
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
    return handle;
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
// known to run the staged copy when there is one. The only handles it
// inherits, named in its environment, are one of this process that it may
// wait for and ask nothing but its id, its times and its image's name, and
// the read end of its commands.
TUserRun StartAsUser(THandOverSystem& system, HANDLE token, const std::wstring& program, const TStagingFolder* staging,
                     HANDLE commands)
{
    TEnvironmentBlock environment;
    if (!CreateEnvironmentBlock(environment.Put(), token, FALSE))
        RaiseLastError(SNoUserEnvironment);
    TKernelHandle self;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), self.Put(),
                         SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0))
        RaiseLastError([&] { return Format(SNotStartedAsUser, WideToUtf8(program).c_str()); });
    std::wstring block = EnvironmentWith(
        environment.Get(), {HandleEntry(HandingRunVariable, self.Get()), HandleEntry(FeedVariable, commands)});

    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<BYTE> attributes(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
    HANDLE inherited[] = {self.Get(), commands};
    if (!InitializeProcThreadAttributeList(list, 1, 0, &size) ||
        !UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited, sizeof inherited, nullptr,
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

// The window run in a user's session, while it lives.
struct TWindowRun {
    THandOverChoice Choice;
    std::optional<TStagingFolder> Staging;
    std::unique_ptr<TChannelFeed> Feed;
    TUserRun Run;
};

// Starts the window in the chosen session, from a staging copy where the
// user may not run the program where it lies.
std::unique_ptr<TWindowRun> StartWindow(THandOverSystem& system, const THandOverChoice& choice)
{
    auto window = std::make_unique<TWindowRun>();
    window->Choice = choice;
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
    if (!UserMayRun(system, token.Get(), program, iniFile)) {
        window->Staging.emplace(TokenUserSid(token.Get()), security);
        const std::wstring copy = window->Staging->Copy(program);
        // Without its texts the window still shows what happens.
        if (Exists(iniFile)) {
            try {
                window->Staging->Copy(iniFile);
            } catch (const Exception& error) {
                WriteDiagnostic(Format(SIniNotStaged, error.what()), TDiagnosticKind::Warning);
            }
        }
        WriteDiagnostic(Format(SStaged, choice.User.c_str(), WideToUtf8(program).c_str(),
                               WideToUtf8(window->Staging->Path()).c_str()));
        program = copy;
    }
    window->Feed = std::make_unique<TChannelFeed>();
    window->Run =
        StartAsUser(system, token.Get(), program, window->Staging ? &*window->Staging : nullptr, window->Feed->ReadEnd());
    window->Feed->CloseReadEnd();
    privileges.reset();
    WriteDiagnostic(Format(SRelaunchedIntoSession, static_cast<unsigned long>(choice.Session), choice.User.c_str(),
                           static_cast<unsigned long>(window->Run.Id)));
    return window;
}

// The process that started this one (the deployment's script), as a handle
// taken while it is known to be that process: its id may be another's by
// now, and a process created after this one is not the starter. Null when it
// has gone already.
TKernelHandle OpenStarter()
{
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) < 0)
        return {};
    TKernelHandle starter(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                      static_cast<DWORD>(basic.InheritedFromUniqueProcessId)));
    FILETIME created{};
    FILETIME ownCreated{};
    FILETIME unused[3] = {};
    if (!starter.Valid() || !GetProcessTimes(starter.Get(), &created, &unused[0], &unused[1], &unused[2]) ||
        !GetProcessTimes(GetCurrentProcess(), &ownCreated, &unused[0], &unused[1], &unused[2]) ||
        CompareFileTime(&created, &ownCreated) > 0)
        return {};
    return starter;
}

// What SYSTEM's window keeper asks of Windows: the sessions, and the user's
// window run, which gets its commands through a pipe of its own.
class TWindowsKeeping : public TWindowKeeper::TPlatform {
public:
    explicit TWindowsKeeping(THandOverSystem& system) : FSystem(system), FStarter(OpenStarter()) { }

    // A session that has no window yet gets it only once its user's shell
    // runs, so that the window does not land behind the first-logon screens;
    // until then nowhere (a window in the session left behind is seen by
    // nobody).
    TSessionChoice LookUp() override
    {
        THandOverFacts facts;
        facts.System = true;
        facts.ConsoleSession = FSystem.ConsoleSession();
        facts.Sessions = FSystem.Sessions();
        const THandOverChoice choice = ChooseHandOver(facts);
        if (choice.Kind != THandOverKind::Relaunch) {
            FAwaitedShell.reset();
            return {};
        }
        const TSessionChoice there{TSessionChoice::TKind::There, SessionName(choice.Session), choice.User};
        if (FWindow && FWindow->Choice.Session == choice.Session) {
            FAwaitedShell.reset();
            return there;
        }
        if (!FAwaitedShell || FAwaitedShell->first != choice.Session)
            FAwaitedShell.emplace(choice.Session, GetTickCount64());
        if (!FSystem.ShellRuns(choice.Session) && GetTickCount64() - FAwaitedShell->second < ShellBound)
            return {TSessionChoice::TKind::Arriving, {}, {}};
        FAwaitedShell.reset();
        return there;
    }

    bool Start(const TSessionChoice& choice) override
    {
        FWindow = StartWindow(
            FSystem, {THandOverKind::Relaunch, static_cast<uint32_t>(std::stoul(choice.Session)), choice.User});
        return true;
    }

    void Send(const AnsiString& message) override { FWindow->Feed->Send(message); }
    void Flush() override { FWindow->Feed->Flush(); }
    bool Ended() override { return WaitForSingleObject(FWindow->Run.Process.Get(), 0) == WAIT_OBJECT_0; }

    bool Release() override
    {
        DWORD exitCode = 0;
        GetExitCodeProcess(FWindow->Run.Process.Get(), &exitCode);
        WriteDiagnostic(Format(SSessionRunEnded, static_cast<unsigned long>(FWindow->Choice.Session),
                               static_cast<unsigned long>(FWindow->Run.Id), static_cast<unsigned long>(exitCode)));
        if (FWindow->Staging && !FWindow->Staging->Remove())
            WriteDiagnostic(Format(SStagingNotRemoved, WideToUtf8(FWindow->Staging->Path()).c_str()),
                            TDiagnosticKind::Warning);
        FWindow.reset();
        return false;
    }

    void Kill() override { TerminateProcess(FWindow->Run.Process.Get(), 1); }

    bool StarterEnded() override
    {
        return FStarter.Valid() && WaitForSingleObject(FStarter.Get(), 0) == WAIT_OBJECT_0;
    }

    void Wait(std::chrono::milliseconds tick, bool starter) override
    {
        HANDLE events[3] = {};
        DWORD count = 0;
        if (FWindow) {
            events[count++] = FWindow->Run.Process.Get();
            events[count++] = FWindow->Feed->Written();
        }
        if (FStarter.Valid() && starter)
            events[count++] = FStarter.Get();
        if (count == 0)
            Sleep(static_cast<DWORD>(tick.count()));
        else
            WaitForMultipleObjects(count, events, FALSE, static_cast<DWORD>(tick.count()));
    }

private:
    // A session whose user's shell does not show within this long (another
    // shell than the one Winlogon names) gets the window all the same.
    static constexpr ULONGLONG ShellBound = 30000;

    static AnsiString SessionName(uint32_t session) { return Format("%lu", static_cast<unsigned long>(session)); }

    THandOverSystem& FSystem;
    const TKernelHandle FStarter;
    std::unique_ptr<TWindowRun> FWindow;
    // The session whose user's shell is awaited, since when.
    std::optional<std::pair<uint32_t, ULONGLONG>> FAwaitedShell;
};

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
    case THandOverKind::Relaunch:
        break;
    }
    TWindowsKeeping platform(system);
    TWindowKeeper(platform, SNobodyThere).Run(platform.LookUp());
    return true;
}

std::unique_ptr<TChannelReader> HandedOverChannel()
{
    const HANDLE feed = InheritedHandle(FeedVariable);
    if (feed == nullptr || GetFileType(feed) != FILE_TYPE_PIPE)
        return nullptr;
    return AdoptChannelReader(feed);
}

std::function<bool()> HandingRunEnded()
{
    const HANDLE handle = InheritedHandle(HandingRunVariable);
    // Any other handle (the variable set by hand) names no process.
    if (handle == nullptr || GetProcessId(handle) == 0)
        return {};
    const auto process = std::make_shared<TKernelHandle>(handle);
    return [process] { return WaitForSingleObject(process->Get(), 0) == WAIT_OBJECT_0; };
}
