// A window run started by root (a deployment's service, agent or cron job,
// outside any desktop) hands its window to the user at the machine: the same
// program with the same arguments, run as that user in the environment of
// the user's graphical session, and waited for. A root-owned window on a
// user's display would give that user's desktop a way into root's process.
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <linux/capability.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "Consts.h"
#include "Diagnostics.h"
#include "Handle.h"
#include "LoginSessions.h"
#include "Mailslot.h"
#include "Mailslot_linux.h"
#include "ProcessArgs.h"
#include "Relaunch.h"
#include "SysUtils.h"
#include "Unt_settings.h"

namespace {

using namespace std::chrono_literals;

// logind on a system bus that hangs must not hold up the deployment.
constexpr auto LookUpBound = 2s;

struct TUser {
    std::string Name;
    uid_t Uid = 0;
    gid_t Gid = 0;
    std::string Home;
    // Its groups, as initgroups would set them.
    std::vector<gid_t> Groups;
};

TUser UserOf(const TLoginSession& session)
{
    errno = 0;
    const passwd* const account = getpwuid(session.Uid);
    if (account == nullptr)
        throw Exception(Format(SRelaunchFailed, session.UserName.c_str()),
                        static_cast<unsigned long>(errno != 0 ? errno : ENOENT));
    TUser user{account->pw_name, account->pw_uid, account->pw_gid, account->pw_dir, {}};
    int count = 32;
    for (;;) {
        user.Groups.resize(static_cast<size_t>(count));
        const int wanted = count;
        if (getgrouplist(user.Name.c_str(), user.Gid, user.Groups.data(), &count) >= 0 || count <= wanted) {
            user.Groups.resize(static_cast<size_t>(count > 0 ? count : 0));
            return user;
        }
    }
}

// The program's arguments as the kernel holds them, argument 0 included,
// byte for byte.
std::vector<std::string> OwnArguments()
{
    std::string bytes;
    const TFileDescriptor file(open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC));
    char buffer[4096];
    ssize_t got = 0;
    while (file.Valid() && (got = read(file.Get(), buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<size_t>(got));
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
enum class TStep : int { Identity, Program, Ini, Start };

struct TFailure {
    TStep Step;
    int Error;
};

[[noreturn]] void FailChild(int report, TStep step)
{
    const TFailure failure{step, errno};
    if (write(report, &failure, sizeof failure) < 0)
        _exit(126);
    _exit(127);
}

// Drops every capability that setresuid might have left (a parent may have
// set the securebits that keep them).
bool DropCapabilities()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3] = {};
    return prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) == 0 && syscall(SYS_capset, &header, none) == 0;
}

// After the fork, in a process that GIO's threads may have shared: only calls
// that are safe there. So the user's groups were looked up before.
[[noreturn]] void BecomeUserRun(const TUser& user, const char* program, const char* ini, char* const argv[],
                                char* const envp[], int report)
{
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (setgroups(user.Groups.size(), user.Groups.data()) != 0 || setresgid(user.Gid, user.Gid, user.Gid) != 0 ||
        setresuid(user.Uid, user.Uid, user.Uid) != 0 || !DropCapabilities() ||
        prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        FailChild(report, TStep::Identity);
    // access() asks with the real ids, which are the user's now.
    if (access(program, X_OK) != 0)
        FailChild(report, TStep::Program);
    // Without an ini file the window shows no texts, as for any user.
    if (access(ini, R_OK) != 0 && errno != ENOENT)
        FailChild(report, TStep::Ini);
    // Root's folder may be closed to the user; the program names its files
    // by their full paths.
    if (chdir("/") != 0)
        FailChild(report, TStep::Identity);
    // Nothing that the deployment left open reaches the user's process.
    close_range(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC);
    execve(program, argv, envp);
    FailChild(report, TStep::Start);
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
    const std::optional<TChannelAddress> address = ChannelAddress(CommandMailslotName);
    const TFileDescriptor probe(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    return address && probe.Valid() && connect(probe.Get(), address->Get(), address->Length) == 0;
}

void Relaunch(const TLoginSession& session)
{
    // A deployment agent that ignores its children's ends would hand that
    // on, and the exit code would be lost.
    signal(SIGCHLD, SIG_DFL);
    const TUser user = UserOf(session);
    const TVariables variables = RelaunchEnvironment(
        {user.Name, user.Home}, session, UserVariables(session, std::chrono::steady_clock::now() + LookUpBound));
    const auto display = variables.find("DISPLAY");
    if (display == variables.end()) {
        WriteDiagnostic(Format(SNoSessionDisplay, session.Id.c_str(), user.Name.c_str()), TDiagnosticKind::Warning);
        return;
    }
    std::vector<std::string> environment;
    for (const auto& [name, value] : variables)
        environment.push_back(name + "=" + value);
    std::vector<std::string> arguments = OwnArguments();
    const std::string program = ExecutableFileName();
    const std::string ini = SettingsFileNameFor(program);
    const std::vector<char*> argv = Pointers(arguments);
    const std::vector<char*> envp = Pointers(environment);

    TPipe report = NewPipe();
    if (!report.Read.Valid())
        throw Exception(Format(SRelaunchFailed, user.Name.c_str()), static_cast<unsigned long>(errno));
    const pid_t child = fork();
    if (child < 0)
        throw Exception(Format(SRelaunchFailed, user.Name.c_str()), static_cast<unsigned long>(errno));
    if (child == 0)
        BecomeUserRun(user, program.c_str(), ini.c_str(), argv.data(), envp.data(), report.Write.Get());
    report.Write.Reset();
    TFailure failure{};
    ssize_t got = 0;
    while ((got = read(report.Read.Get(), &failure, sizeof failure)) < 0 && errno == EINTR) { }
    int status = 0;
    if (got == sizeof failure) {
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
        const auto code = static_cast<unsigned long>(failure.Error);
        switch (failure.Step) {
        case TStep::Program:
            throw Exception(Format(SUserCannotRun, user.Name.c_str(), program.c_str()), code);
        case TStep::Ini:
            throw Exception(Format(SUserCannotRead, user.Name.c_str(), ini.c_str()), code);
        case TStep::Identity:
        case TStep::Start:
            break;
        }
        throw Exception(Format(SRelaunchFailed, user.Name.c_str()), code);
    }
    WriteDiagnostic(Format(SRelaunched, user.Name.c_str(), static_cast<unsigned>(user.Uid), session.Id.c_str(),
                           display->second.c_str(), static_cast<int>(child)));
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (WIFSIGNALED(status))
        WriteDiagnostic(Format(SRelaunchKilled, user.Name.c_str(), static_cast<int>(child), WTERMSIG(status)),
                        TDiagnosticKind::Warning);
    else
        WriteDiagnostic(Format(SRelaunchEnded, user.Name.c_str(), static_cast<int>(child), WEXITSTATUS(status)));
}

} // namespace

bool HandOverWindowRun()
{
    if (geteuid() != 0)
        return false;
    const TWindowChoice choice =
        ChooseWindowPlace(0, FindLoginSessions(std::chrono::steady_clock::now() + LookUpBound));
    switch (choice.Place) {
    case TWindowPlace::Here:
        WriteDiagnostic(Format(SShownForRoot, choice.Session.Id.c_str()));
        return false;
    case TWindowPlace::Nobody:
        WriteDiagnostic(SNobodyLoggedOn);
        return true;
    case TWindowPlace::Relaunch:
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
        Relaunch(choice.Session);
    } catch (const Exception& error) {
        WriteDiagnostic(error.Message + ": " + ErrorDetail(error), TDiagnosticKind::Error);
    }
    return true;
}

std::function<bool()> HandingRunEnded()
{
    return {};
}
