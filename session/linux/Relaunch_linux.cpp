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
#include <optional>
#include <string>
#include <vector>

#include "Consts.h"
#include "Diagnostics.h"
#include "HandOverChoice.h"
#include "Handle.h"
#include "LoginSessions.h"
#include "Channel.h"
#include "Channel_linux.h"
#include "Process.h"
#include "ProcessArgs.h"
#include "Relaunch.h"
#include "SysUtils.h"
#include "Unt_settings.h"

namespace {

using namespace std::chrono_literals;

// logind on a system bus that hangs, or a user's service manager that does
// not answer, must not hold up the deployment: one bound for every look-up.
constexpr auto LookUpBound = 2s;
// What the window run may write to the deployment's log through this run:
// its own lines, a few of them, never a flood.
constexpr size_t MaxForwardedBytes = 64 * 1024;
constexpr size_t MaxForwardedLine = 1024;

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
    explicit TForwarder(std::string user) : FUser(std::move(user)) {}

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

// Passes on the output until the child has ended (processes that it started
// may hold the pipe open longer); its wait status.
int ForwardOutput(int output, pid_t child, TForwarder& forwarder)
{
    const TFileDescriptor ended(static_cast<int>(syscall(SYS_pidfd_open, child, 0)));
    fcntl(output, F_SETFL, fcntl(output, F_GETFL) | O_NONBLOCK);
    bool open = true;
    int status = 0;
    for (bool running = true; running;) {
        pollfd ready[2] = {{open ? output : -1, POLLIN, 0}, {ended.Get(), POLLIN, 0}};
        // Without a pidfd (before Linux 5.3) the child is asked now and then.
        if (poll(ready, 2, ended.Valid() ? -1 : 200) < 0 && errno != EINTR)
            break;
        running = waitpid(child, &status, WNOHANG) == 0;
        char buffer[4096];
        ssize_t got = 0;
        while (open && (got = read(output, buffer, sizeof buffer)) > 0)
            forwarder.Take(buffer, static_cast<size_t>(got));
        open = open && !(got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR));
    }
    forwarder.Finish();
    return status;
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
    return run;
}

// Starts the run as the user; its output comes through `output`. Raises
// Exception when the child could not become the user's run.
pid_t StartUserRun(TUserRun& run, TFileDescriptor& output)
{
    const std::vector<char*> argv = Pointers(run.Arguments);
    const std::vector<char*> envp = Pointers(run.Environment);
    const std::string& name = run.User.Name;
    TPipe report = NewPipe();
    TPipe streams = NewPipe();
    const TFileDescriptor nothing(open("/dev/null", O_RDWR | O_CLOEXEC));
    if (!report.Read.Valid() || !streams.Read.Valid() || !nothing.Valid())
        throw Exception(Format(SRelaunchFailed, name.c_str()), static_cast<unsigned long>(errno));
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0)
        throw Exception(Format(SRelaunchFailed, name.c_str()), static_cast<unsigned long>(errno));
    if (child == 0)
        BecomeUserRun(run.User, {nothing.Get(), streams.Write.Get(), streams.Write.Get(), report.Write.Get()}, parent,
                      run.Program.c_str(), run.Ini.c_str(), argv.data(), envp.data());
    report.Write.Reset();
    output = std::move(streams.Read);
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

// Passes on what the run writes until it ends, and how it ended.
void ReportUserRun(const TUserRun& run, const TLoginSession& session, pid_t child, int output)
{
    const std::string& name = run.User.Name;
    WriteDiagnostic(Format(SRelaunched, name.c_str(), static_cast<unsigned>(run.User.Uid), session.Id.c_str(),
                           run.Display.c_str(), static_cast<int>(child)));
    TForwarder forwarder(name);
    const int status = ForwardOutput(output, child, forwarder);
    if (forwarder.NoDisplay())
        WriteDiagnostic(Format(SRelaunchUnseen, name.c_str(), static_cast<int>(child), run.Display.c_str()),
                        TDiagnosticKind::Error);
    else if (WIFSIGNALED(status))
        WriteDiagnostic(Format(SRelaunchKilled, name.c_str(), static_cast<int>(child), WTERMSIG(status)),
                        TDiagnosticKind::Warning);
    else
        WriteDiagnostic(Format(SRelaunchEnded, name.c_str(), static_cast<int>(child), WEXITSTATUS(status)));
}

void Relaunch(const TLoginSession& session, TDeadline deadline)
{
    // A deployment agent that ignores its children's ends would hand that
    // on, and the exit code would be lost.
    signal(SIGCHLD, SIG_DFL);
    std::optional<TUserRun> run = PrepareUserRun(session, deadline);
    if (!run)
        return;
    TFileDescriptor output;
    const pid_t child = StartUserRun(*run, output);
    ReportUserRun(*run, session, child, output.Get());
}

} // namespace

bool HandOverWindowRun()
{
    if (geteuid() != 0)
        return false;
    const TDeadline deadline = std::chrono::steady_clock::now() + LookUpBound;
    const TLoginHandOver choice = ChooseHandOver(0, FindLoginSessions(deadline));
    switch (choice.Kind) {
    case THandOverKind::ShowHere:
    case THandOverKind::ShowUnseen:
        WriteDiagnostic(Format(SShownForRoot, choice.Session.Id.c_str()));
        return false;
    case THandOverKind::NobodyThere:
        WriteDiagnostic(SNobodyLoggedOn);
        return true;
    case THandOverKind::WindowAlreadyOpen:
    case THandOverKind::Relaunch:
        break;
    }
    // The relaunched run would show its error box on the user's desktop, and
    // the deployment would wait until the user closed it.
    if (WindowIsOpen()) {
        WriteDiagnostic(ErrorBoxText(SUnableToCreateMailslot), TDiagnosticKind::Error);
        return true;
    }
    // A relaunch that fails shows no box: nobody would see it, and it would
    // hold up the deployment.
    try {
        Relaunch(choice.Session, deadline);
    } catch (const std::exception& error) {
        WriteDiagnostic(HandOverFailedLine(choice.Session.Id, choice.Session.UserName, error), TDiagnosticKind::Error);
    }
    return true;
}

std::function<bool()> HandingRunEnded()
{
    return {};
}
