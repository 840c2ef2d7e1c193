// A window run started by root (a deployment's service, agent or cron job,
// outside any desktop) hands its window to the user at the machine: the same
// program with the same arguments, run as that user in the environment of
// the user's graphical session, and waited for. A root-owned window on a
// user's display would give that user's desktop a way into root's process.
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "Channel.h"
#include "Channel_linux.h"
#include "Consts.h"
#include "Diagnostics.h"
#include "HandOverChoice.h"
#include "Handle.h"
#include "LoginSessions.h"
#include "Process.h"
#include "ProcessArgs.h"
#include "Relaunch.h"
#include "SysUtils.h"
#include "Unt_settings.h"
#include "WindowKeeper.h"

namespace {

using namespace std::chrono_literals;

// logind on a system bus that hangs, or a user's service manager that does
// not answer, must not hold up the deployment: one bound for every look-up.
constexpr auto LookUpBound = 2s;
// What the window run may write to the deployment's log through this run:
// its own lines, a few of them, never a flood.
constexpr size_t MaxForwardedBytes = 64 * 1024;
constexpr size_t MaxForwardedLine = 1024;
// Tells the user's run that its standard input is its command channel.
constexpr char FeedVariable[] = "DEPLOYNOTICE_COMMANDS";

// The program's arguments as the kernel holds them, argument 0 included,
// byte for byte.
std::vector<std::string> OwnArguments()
{
    std::string bytes;
    const TFileDescriptor file(open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC));
    if (file.Valid())
        ReadUntil(file.Get(), std::chrono::steady_clock::now() + 1s, bytes);
    std::vector<std::string> arguments;
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = bytes.find('\0', start);
        arguments.push_back(bytes.substr(start, end - start));
        start = end == std::string::npos ? bytes.size() : end + 1;
    }
    return arguments;
}

// What keeps a child from becoming the program as the user, told to the
// parent through a pipe that the program's start closes.
enum class TStep : int { Become, Program, Ini, Start };

struct TFailure {
    TStep Step;
    TBecomeStep Detail;
    int Error;
};

[[noreturn]] void FailChild(int report, TStep step, TBecomeStep detail = TBecomeStep::Done)
{
    const TFailure failure{step, detail, errno};
    if (write(report, &failure, sizeof failure) < 0)
        _exit(126);
    _exit(127);
}

// After the fork, in a process that GIO's threads may have shared: only calls
// that are safe there.
[[noreturn]] void BecomeUserRun(const TUserIdentity& user, const TChildStreams& streams, pid_t parent,
                                const char* program, const char* ini, char* const argv[], char* const envp[])
{
    const TBecomeStep step = BecomeUser(user, streams, parent);
    if (step != TBecomeStep::Done)
        FailChild(streams.Kept, TStep::Become, step);
    // access() asks with the real ids, which are the user's now.
    if (access(program, X_OK) != 0)
        FailChild(streams.Kept, TStep::Program);
    // Without an ini file the window shows no texts, as for any user.
    if (access(ini, R_OK) != 0 && errno != ENOENT)
        FailChild(streams.Kept, TStep::Ini);
    // Root's folder may be closed to the user; the program names its files
    // by their full paths.
    if (chdir("/") != 0)
        FailChild(streams.Kept, TStep::Start);
    execve(program, argv, envp);
    FailChild(streams.Kept, TStep::Start);
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Whether a window run holds the command channel: a probe that connects
// sends nothing.
bool WindowIsOpen()
{
    const std::optional<TChannelAddress> address = ChannelAddress(CommandChannelName);
    const TFileDescriptor probe(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    return address && probe.Valid() && connect(probe.Get(), address->Get(), address->Length) == 0;
}

// What the user's process wrote, passed on to this run's standard error (the
// deployment's log) and nowhere else: each line behind the user's name, so
// that it cannot pass for one of root's, with control characters made
// harmless for a terminal, and no more than MaxForwardedBytes in all.
class TForwarder {
public:
    explicit TForwarder(std::string user) : FUser(std::move(user)) { }

    void Take(const char* bytes, size_t count)
    {
        for (size_t index = 0; index < count; ++index) {
            if (bytes[index] == '\n')
                Emit();
            else if (FLine.size() < MaxForwardedLine)
                FLine += static_cast<unsigned char>(bytes[index]) < 0x20 || bytes[index] == 0x7f ? '?' : bytes[index];
        }
    }
    void Finish()
    {
        if (!FLine.empty())
            Emit();
    }
    // Whether the run said that it could not open its display: then it
    // showed nothing, although it ends as every run does, with 0.
    bool NoDisplay() const { return FNoDisplay; }

private:
    void Emit()
    {
        FNoDisplay = FNoDisplay || FLine.find(SNoDisplay) != std::string::npos;
        if (FForwarded < MaxForwardedBytes) {
            FForwarded += FLine.size() + 1;
            const std::string line = FForwarded < MaxForwardedBytes ? FLine : std::string(SOutputCut);
            std::fprintf(stderr, "deployNotice: %s\n", Format(SRelaunchOutput, FUser.c_str(), line.c_str()).c_str());
        }
        FLine.clear();
    }

    std::string FUser;
    std::string FLine;
    size_t FForwarded = 0;
    bool FNoDisplay = false;
};

// Passes on what the run has written so far; false once its end of the pipe
// is closed.
bool PassOutput(int output, TForwarder& forwarder)
{
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(output, buffer, sizeof buffer)) > 0)
        forwarder.Take(buffer, static_cast<size_t>(got));
    return !(got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR));
}

// What the user's run is started with: all of it made before the fork.
struct TUserRun {
    TUserIdentity User;
    std::string Display;
    std::string Program;
    std::string Ini;
    std::vector<std::string> Arguments;
    std::vector<std::string> Environment;
};

// Nothing when the session has no display to show the window on (its line
// is written).
std::optional<TUserRun> PrepareUserRun(const TLoginSession& session, TDeadline deadline)
{
    TUserRun run{IdentityOf(session.Uid), {}, ExecutableFileName(), {}, OwnArguments(), {}};
    const TVariables variables =
        RelaunchEnvironment({run.User.Name, run.User.Home}, session, UserVariables(session, deadline));
    // An X display first (XWayland's under Wayland), else the Wayland one.
    auto display = variables.find("DISPLAY");
    if (display == variables.end())
        display = variables.find("WAYLAND_DISPLAY");
    if (display == variables.end()) {
        WriteDiagnostic(Format(SNoSessionDisplay, session.Id.c_str(), run.User.Name.c_str()), TDiagnosticKind::Warning);
        return std::nullopt;
    }
    run.Display = display->second;
    run.Ini = SettingsFileNameFor(run.Program);
    for (const auto& [name, value] : variables)
        run.Environment.push_back(name + "=" + value);
    run.Environment.push_back(std::string(FeedVariable) + "=stdin");
    return run;
}

// Starts the run as the user; its output comes through `output`, and its
// commands go through `feed`, whose other end is its standard input. Raises
// Exception when the child could not become the user's run.
pid_t StartUserRun(TUserRun& run, TFileDescriptor& output, TFileDescriptor& feed)
{
    const std::vector<char*> argv = Pointers(run.Arguments);
    const std::vector<char*> envp = Pointers(run.Environment);
    const std::string& name = run.User.Name;
    TPipe report = NewPipe();
    TPipe streams = NewPipe();
    int pair[2] = {-1, -1};
    if (!report.Read.Valid() || !streams.Read.Valid() || socketpair(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0, pair) != 0)
        throw Exception(Format(SRelaunchFailed, name.c_str()), static_cast<unsigned long>(errno));
    feed.Reset(pair[0]);
    const TFileDescriptor commands(pair[1]);
    fcntl(feed.Get(), F_SETFL, fcntl(feed.Get(), F_GETFL) | O_NONBLOCK);
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0)
        throw Exception(Format(SRelaunchFailed, name.c_str()), static_cast<unsigned long>(errno));
    if (child == 0)
        BecomeUserRun(run.User, {commands.Get(), streams.Write.Get(), streams.Write.Get(), report.Write.Get()}, parent,
                      run.Program.c_str(), run.Ini.c_str(), argv.data(), envp.data());
    report.Write.Reset();
    output = std::move(streams.Read);
    fcntl(output.Get(), F_SETFL, fcntl(output.Get(), F_GETFL) | O_NONBLOCK);
    TFailure failure{};
    ssize_t got = 0;
    while ((got = read(report.Read.Get(), &failure, sizeof failure)) < 0 && errno == EINTR) { }
    if (got != sizeof failure)
        return child;
    WaitForChild(child);
    const auto code = static_cast<unsigned long>(failure.Error);
    if (failure.Step == TStep::Program)
        throw Exception(Format(SUserCannotRun, name.c_str(), run.Program.c_str()), code);
    if (failure.Step == TStep::Ini)
        throw Exception(Format(SUserCannotRead, name.c_str(), run.Ini.c_str()), code);
    if (failure.Step == TStep::Become && failure.Detail == TBecomeStep::Keyring)
        throw Exception(Format(SNoSessionKeyring, name.c_str()), code);
    throw Exception(Format(SRelaunchFailed, name.c_str()), code);
}

// The user's window run, while it lives: its process, its output, its feed of
// commands and those that wait for room in it.
struct TWindowRun {
    TUserRun Run;
    pid_t Child = -1;
    TFileDescriptor Output;
    TFileDescriptor Ended;
    TFileDescriptor Feed;
    std::deque<AnsiString> Waiting;
    TForwarder Forwarder;
    bool OutputOpen = true;
};

// What root's window keeper asks of Linux: logind's sessions, and the user's
// window run, which gets its commands through a socket pair of its own.
class TLinuxKeeping : public TWindowKeeper::TPlatform {
public:
    TLinuxKeeping() : FStarter(getppid()) { }

    // The window keeper's words for a hand-over choice; the session is kept
    // for the start that may follow.
    TSessionChoice Take(const TLoginHandOver& choice)
    {
        if (choice.Kind != THandOverKind::Relaunch)
            return {};
        FChosen = choice.Session;
        return {TSessionChoice::TKind::There, choice.Session.Id, choice.Session.UserName};
    }

    TSessionChoice LookUp() override
    {
        return Take(ChooseHandOver(0, FindLoginSessions(std::chrono::steady_clock::now() + LookUpBound)));
    }

    // In the session that the last choice taken chose.
    bool Start(const TSessionChoice&) override
    {
        std::optional<TUserRun> run = PrepareUserRun(FChosen, std::chrono::steady_clock::now() + LookUpBound);
        if (!run)
            return false;
        TForwarder forwarder(run->User.Name);
        TWindowRun window{std::move(*run), -1, {}, {}, {}, {}, std::move(forwarder), true};
        window.Child = StartUserRun(window.Run, window.Output, window.Feed);
        window.Ended.Reset(static_cast<int>(syscall(SYS_pidfd_open, window.Child, 0)));
        WriteDiagnostic(Format(SRelaunched, window.Run.User.Name.c_str(), static_cast<unsigned>(window.Run.User.Uid),
                               FChosen.Id.c_str(), window.Run.Display.c_str(), static_cast<int>(window.Child)));
        FWindow.emplace(std::move(window));
        return true;
    }

    void Send(const AnsiString& message) override { FWindow->Waiting.push_back(message); }

    void Flush() override
    {
        while (!FWindow->Waiting.empty()) {
            const AnsiString& next = FWindow->Waiting.front();
            if (send(FWindow->Feed.Get(), next.data(), next.size(), MSG_DONTWAIT | MSG_NOSIGNAL) < 0 &&
                (errno == EAGAIN || errno == EINTR))
                return;
            FWindow->Waiting.pop_front();
        }
    }

    bool Ended() override
    {
        FWindow->OutputOpen = FWindow->OutputOpen && PassOutput(FWindow->Output.Get(), FWindow->Forwarder);
        return waitpid(FWindow->Child, &FStatus, WNOHANG) == FWindow->Child;
    }

    bool Release() override
    {
        TWindowRun& window = *FWindow;
        if (window.OutputOpen)
            PassOutput(window.Output.Get(), window.Forwarder);
        window.Forwarder.Finish();
        const std::string& name = window.Run.User.Name;
        const bool unseen = window.Forwarder.NoDisplay();
        if (unseen)
            WriteDiagnostic(
                Format(SRelaunchUnseen, name.c_str(), static_cast<int>(window.Child), window.Run.Display.c_str()),
                TDiagnosticKind::Error);
        else if (WIFSIGNALED(FStatus))
            WriteDiagnostic(Format(SRelaunchKilled, name.c_str(), static_cast<int>(window.Child), WTERMSIG(FStatus)),
                            TDiagnosticKind::Warning);
        else
            WriteDiagnostic(Format(SRelaunchEnded, name.c_str(), static_cast<int>(window.Child), WEXITSTATUS(FStatus)));
        FWindow.reset();
        return unseen;
    }

    void Kill() override { kill(FWindow->Child, SIGKILL); }

    // The kernel gives an orphan another parent: unlike a saved process id,
    // that cannot be fooled by an id used again.
    bool StarterEnded() override { return getppid() != FStarter; }

    void Wait(std::chrono::milliseconds tick, bool) override
    {
        pollfd ready[2] = {{-1, POLLIN, 0}, {-1, POLLIN, 0}};
        if (FWindow) {
            ready[0].fd = FWindow->OutputOpen ? FWindow->Output.Get() : -1;
            ready[1].fd = FWindow->Ended.Get();
        }
        poll(ready, 2, static_cast<int>(tick.count()));
    }

private:
    const pid_t FStarter;
    TLoginSession FChosen;
    std::optional<TWindowRun> FWindow;
    int FStatus = 0;
};

} // namespace

bool HandOverWindowRun()
{
    if (geteuid() != 0)
        return false;
    const TLoginHandOver choice = ChooseHandOver(0, FindLoginSessions(std::chrono::steady_clock::now() + LookUpBound));
    if (choice.Kind == THandOverKind::ShowHere || choice.Kind == THandOverKind::ShowUnseen) {
        WriteDiagnostic(Format(SShownForRoot, choice.Session.Id.c_str()));
        return false;
    }
    // The relaunched run would show its error box on the user's desktop, and
    // the deployment would wait until the user closed it.
    if (WindowIsOpen()) {
        WriteDiagnostic(ErrorBoxText(SUnableToCreateMailslot), TDiagnosticKind::Error);
        return true;
    }
    // A deployment agent that ignores its children's ends would hand that
    // on, and the exit code would be lost.
    signal(SIGCHLD, SIG_DFL);
    TLinuxKeeping platform;
    TWindowKeeper(platform, SNobodyLoggedOn).Run(platform.Take(choice));
    return true;
}

std::unique_ptr<TChannelReader> HandedOverChannel()
{
    const char* const feed = std::getenv(FeedVariable);
    int type = 0;
    socklen_t length = sizeof type;
    if (feed == nullptr || std::strcmp(feed, "stdin") != 0 ||
        getsockopt(STDIN_FILENO, SOL_SOCKET, SO_TYPE, &type, &length) != 0 || type != SOCK_DGRAM)
        return nullptr;
    return AdoptChannelReader(STDIN_FILENO);
}

std::function<bool()> HandingRunEnded()
{
    return {};
}
