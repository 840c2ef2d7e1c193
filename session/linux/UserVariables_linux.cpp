// The variables of a session's user: what the user's service manager holds
// (the desktop puts its display and bus there), and what a process of the
// session holds, for desktops that do not use the service manager or for
// machines without one.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "Handle.h"
#include "LoginSessions.h"

namespace {

// Everything that can be read from the descriptor before the deadline; false
// when the writer had not closed its end by then.
bool ReadUntil(int descriptor, TDeadline deadline, std::string& text)
{
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd ready{descriptor, POLLIN, 0};
        const int count = poll(&ready, 1, static_cast<int>(left.count()));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        char buffer[4096];
        const ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        text.append(buffer, static_cast<size_t>(got));
    }
}

// `systemctl --user -M <user>@ show-environment`, run as root; nothing when
// there is no systemctl, the user has no service manager, or it does not
// answer by the deadline.
TVariables ManagerVariables(const std::string& user, TDeadline deadline)
{
    const char* program = nullptr;
    for (const char* candidate : {"/usr/bin/systemctl", "/bin/systemctl"})
        if (access(candidate, X_OK) == 0) {
            program = candidate;
            break;
        }
    if (program == nullptr)
        return {};
    // Built before the fork: the child only replaces itself.
    std::string machine = user + "@";
    std::string arguments[] = {"systemctl", "--user", "-M", machine, "show-environment"};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(),
                    arguments[3].data(), arguments[4].data(), nullptr};
    std::string path = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
    char* envp[] = {path.data(), nullptr};
    TPipe output = NewPipe();
    const TFileDescriptor nothing(open("/dev/null", O_RDWR | O_CLOEXEC));
    if (!output.Read.Valid() || !nothing.Valid())
        return {};
    const pid_t child = fork();
    if (child < 0)
        return {};
    if (child == 0) {
        dup2(nothing.Get(), STDIN_FILENO);
        dup2(output.Write.Get(), STDOUT_FILENO);
        dup2(nothing.Get(), STDERR_FILENO);
        execve(program, argv, envp);
        _exit(127);
    }
    output.Write.Reset();
    std::string text;
    const bool complete = ReadUntil(output.Read.Get(), deadline, text);
    if (!complete)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    return complete && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ParseManagerEnvironment(text) : TVariables{};
}

std::string ReadFile(const std::string& path)
{
    std::string text;
    const TFileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    char buffer[4096];
    ssize_t got = 0;
    while (file.Valid() && (got = read(file.Get(), buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(got));
    return text;
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

// The variables of a process of the session, by its control group: one with
// an X display if there is one (under Wayland the session leader alone often
// lacks it), else the first that has any.
TVariables SessionProcessVariables(const TLoginSession& session)
{
    const std::string scope = "/session-" + session.Id + ".scope\n";
    TVariables first;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string pid = entry.path().filename().string();
        struct stat owner { };
        if (pid.find_first_not_of("0123456789") != std::string::npos || stat(entry.path().c_str(), &owner) != 0 ||
            owner.st_uid != session.Uid)
            continue;
        if (ReadFile("/proc/" + pid + "/cgroup").find(scope) == std::string::npos)
            continue;
        TVariables variables = ProcessVariables(ReadFile("/proc/" + pid + "/environ"));
        const auto display = variables.find("DISPLAY");
        if (display != variables.end() && !display->second.empty())
            return variables;
        if (first.empty())
            first = std::move(variables);
    }
    return first;
}

} // namespace

std::vector<TVariables> UserVariables(const TLoginSession& session, TDeadline deadline)
{
    return {ManagerVariables(session.UserName, deadline), SessionProcessVariables(session)};
}
