// The variables of a session's user: what the user's service manager holds
// (the desktop puts its display and bus there), and what a process of the
// session holds, for desktops that do not use the service manager or for
// machines without one.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "Handle.h"
#include "LoginSessions.h"
#include "Process.h"
#include "SysUtils.h"

namespace {

// `systemctl --user show-environment`, run as the user with the user's own
// runtime folder and bus, as the user's programs reach their service
// manager; nothing when there is no systemctl, the user has no service
// manager, or it does not answer by the deadline. Root asks nothing of the
// user's manager itself: `systemctl --user -M user@` would open a login
// session for the user at every window run.
TVariables ManagerVariables(const TLoginSession& session, TDeadline deadline)
{
    const char* program = nullptr;
    for (const char* candidate : {"/usr/bin/systemctl", "/bin/systemctl"})
        if (access(candidate, X_OK) == 0) {
            program = candidate;
            break;
        }
    if (program == nullptr)
        return {};
    TUserIdentity user;
    try {
        user = IdentityOf(session.Uid);
    } catch (const Exception&) {
        return {};
    }
    // Built before the fork: the child only replaces itself.
    std::string arguments[] = {"systemctl", "--user", "show-environment"};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(), nullptr};
    const std::string runtime = "/run/user/" + std::to_string(session.Uid);
    std::string variables[] = {"PATH=/usr/sbin:/usr/bin:/sbin:/bin", "XDG_RUNTIME_DIR=" + runtime,
                               "DBUS_SESSION_BUS_ADDRESS=unix:path=" + runtime + "/bus"};
    char* envp[] = {variables[0].data(), variables[1].data(), variables[2].data(), nullptr};
    TPipe output = NewPipe();
    const TFileDescriptor nothing(open("/dev/null", O_RDWR | O_CLOEXEC));
    if (!output.Read.Valid() || !nothing.Valid())
        return {};
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0)
        return {};
    if (child == 0) {
        if (BecomeUser(user, {nothing.Get(), output.Write.Get(), nothing.Get(), -1}, parent) == TBecomeStep::Done &&
            chdir("/") == 0)
            execve(program, argv, envp);
        _exit(127);
    }
    output.Write.Reset();
    std::string text;
    const bool complete = ReadUntil(output.Read.Get(), deadline, text);
    if (!complete)
        kill(child, SIGKILL);
    const int status = WaitForChild(child);
    return complete && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ParseManagerEnvironment(text) : TVariables{};
}

// A file of a process, through the process's own folder: once the process
// has ended, reads give nothing, even when its id has gone to another.
std::string ReadBelow(int process, const char* name)
{
    std::string text;
    const TFileDescriptor file(openat(process, name, O_RDONLY | O_CLOEXEC));
    if (file.Valid())
        ReadUntil(file.Get(), std::chrono::steady_clock::now() + std::chrono::seconds(1), text);
    return text;
}

// Whether the process of the folder runs as `uid`.
bool OwnedBy(int process, uid_t uid)
{
    struct stat owner { };
    return fstat(process, &owner) == 0 && owner.st_uid == uid;
}

// NAME=value entries, each ended by a NUL, as /proc/<pid>/environ holds them.
TVariables ProcessVariables(const std::string& environ)
{
    TVariables variables;
    for (size_t start = 0; start < environ.size();) {
        size_t end = environ.find('\0', start);
        if (end == std::string::npos)
            end = environ.size();
        const size_t equals = environ.find('=', start);
        if (equals > start && equals < end)
            variables.emplace(environ.substr(start, equals - start), environ.substr(equals + 1, end - equals - 1));
        start = end + 1;
    }
    return variables;
}

// The parent of the process of the folder, from its stat line ("pid (name)
// state ppid ..."; the name may hold blanks and brackets); 0 when unknown.
unsigned ParentOf(int process)
{
    const std::string stat = ReadBelow(process, "stat");
    const size_t name = stat.rfind(')');
    if (name == std::string::npos)
        return 0;
    unsigned parent = 0;
    char state = 0;
    return std::sscanf(stat.c_str() + name + 1, " %c %u", &state, &parent) == 2 ? parent : 0;
}

// Whether the process of the folder is one of the session's: in its control
// group, or logind's leader of it or a child of the leader (where the
// session's processes lie elsewhere, as without systemd).
bool InSession(int process, const std::string& pid, const TLoginSession& session)
{
    if (ReadBelow(process, "cgroup").find("/session-" + session.Id + ".scope\n") != std::string::npos)
        return true;
    return session.Leader != 0 &&
           (pid == std::to_string(session.Leader) || ParentOf(process) == session.Leader);
}

// The variables of a process of the session: one with
// an X display if there is one (under Wayland the session leader alone often
// lacks it), else the first that has any. Each process is read through one
// handle on its folder and only while it runs as the session's user, before
// and after the read: a process that another took the id of, or that became
// another user (a set-user-id program), gives nothing.
TVariables SessionProcessVariables(const TLoginSession& session)
{
    const TFileDescriptor proc(open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* const listing = proc.Valid() ? fdopendir(dup(proc.Get())) : nullptr;
    TVariables first;
    if (listing == nullptr)
        return first;
    while (const dirent* entry = readdir(listing)) {
        const std::string pid = entry->d_name;
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const TFileDescriptor process(openat(proc.Get(), pid.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!process.Valid() || !OwnedBy(process.Get(), session.Uid) || !InSession(process.Get(), pid, session))
            continue;
        TVariables variables = ProcessVariables(ReadBelow(process.Get(), "environ"));
        if (!OwnedBy(process.Get(), session.Uid))
            continue;
        const auto display = variables.find("DISPLAY");
        if (display != variables.end() && !display->second.empty()) {
            closedir(listing);
            return variables;
        }
        if (first.empty())
            first = std::move(variables);
    }
    closedir(listing);
    return first;
}

} // namespace

std::vector<TVariables> UserVariables(const TLoginSession& session, TDeadline deadline)
{
    return {ManagerVariables(session, deadline), SessionProcessVariables(session)};
}
