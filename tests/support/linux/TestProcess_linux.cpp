#include "TestProcess.h"

#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "SysUtils.h"

extern char** environ;

TChildProcess::TChildProcess(const AnsiString& program, const std::vector<std::string>& arguments,
                             const TOptions& options)
    : TChildProcess(TChildStart{program, arguments}, options)
{
}

TChildProcess::TChildProcess(const TChildStart& start, const TOptions& options)
{
    const AnsiString& program = start.Program;
    const std::vector<std::string>& arguments = start.Arguments;
    // Everything the child needs is built before the fork.
    std::vector<std::string> environment = options.Environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view name(*entry, std::strcspn(*entry, "="));
        const bool overridden =
            std::any_of(options.Environment.begin(), options.Environment.end(), [name](const std::string& own) {
                return own.starts_with(name) && own.size() > name.size() && own[name.size()] == '=';
            });
        if (!overridden)
            environment.emplace_back(*entry);
    }
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    TPipe output;
    if (options.CaptureOutput && !(output = NewPipe()).Read.Valid())
        throw std::runtime_error("pipe failed");
    // Closed by the exec: the constructor returns once the child runs the
    // program, as CreateProcess does, and not while it is still a copy of
    // this process under this process's name.
    TPipe exec = NewPipe();
    if (!exec.Read.Valid())
        throw std::runtime_error("pipe failed");
    FState.Id = fork();
    if (FState.Id < 0)
        throw std::runtime_error("fork failed");
    if (FState.Id == 0) {
        if (options.CaptureOutput) {
            dup2(output.Write.Get(), STDOUT_FILENO);
            dup2(output.Write.Get(), STDERR_FILENO);
        }
        if (options.User != static_cast<uid_t>(-1)) {
            const gid_t group = static_cast<gid_t>(options.User);
            if (setgroups(0, nullptr) != 0 || setresgid(group, group, group) != 0 ||
                setresuid(options.User, options.User, options.User) != 0)
                _exit(126);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    exec.Write.Reset();
    char ignored = 0;
    while (read(exec.Read.Get(), &ignored, 1) < 0 && errno == EINTR) {
    }
    FState.Output = std::move(output.Read);
}

TChildProcess::~TChildProcess()
{
    Kill();
}

bool TChildProcess::WaitForExit(std::chrono::milliseconds timeout, int& exitCode)
{
    const bool ended = WaitUntil(
        [this] {
            if (FState.Ended)
                return true;
            int status = 0;
            if (waitpid(FState.Id, &status, WNOHANG) != FState.Id)
                return false;
            FState.Ended = true;
            FState.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        },
        timeout);
    if (ended)
        exitCode = FState.ExitCode;
    return ended;
}

std::string TChildProcess::ReadOutput()
{
    std::string output;
    char buffer[4096];
    ssize_t count = 0;
    while (FState.Output.Valid() && (count = read(FState.Output.Get(), buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<size_t>(count));
    return output;
}

void TChildProcess::Kill()
{
    if (FState.Id <= 0 || FState.Ended)
        return;
    kill(FState.Id, SIGKILL);
    int status = 0;
    waitpid(FState.Id, &status, 0);
    FState.Ended = true;
}

AnsiString UniqueChannelName()
{
    static std::atomic<int> counter{0};
    return Format("\\\\.\\mailslot\\deployNotice\\test\\%d_%d", static_cast<int>(getpid()), ++counter);
}

uid_t OtherUser()
{
    return getuid() == 0 ? 65534 : static_cast<uid_t>(-1);
}
