#include "TestProcess.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "ProcessArgs.h"
#include "SysUtils.h"

extern char** environ;

TChildProcess::TChildProcess(const AnsiString& program, const std::vector<std::string>& arguments)
    : TChildProcess(program, arguments, TOptions{})
{
}

TChildProcess::TChildProcess(const AnsiString& program, const std::vector<std::string>& arguments,
                             const TOptions& options)
{
    // Everything the child needs is built before the fork.
    std::vector<std::string> environment = options.Environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view name(*entry, std::strcspn(*entry, "="));
        const bool overridden = std::any_of(options.Environment.begin(), options.Environment.end(),
                                            [name](const std::string& own) { return own.starts_with(name) && own.size() > name.size() && own[name.size()] == '='; });
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

    int pipeEnds[2] = {-1, -1};
    if (options.CaptureOutput && pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    // Closed by the exec: the constructor returns once the child runs the
    // program, as CreateProcess does, and not while it is still a copy of
    // this process under this process's name.
    int execEnds[2] = {-1, -1};
    if (pipe2(execEnds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    FId = fork();
    if (FId < 0)
        throw std::runtime_error("fork failed");
    if (FId == 0) {
        if (options.CaptureOutput) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            dup2(pipeEnds[1], STDERR_FILENO);
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
    close(execEnds[1]);
    char ignored = 0;
    while (read(execEnds[0], &ignored, 1) < 0 && errno == EINTR) {
    }
    close(execEnds[0]);
    if (options.CaptureOutput) {
        close(pipeEnds[1]);
        FOutput = pipeEnds[0];
    }
}

TChildProcess::~TChildProcess()
{
    Kill();
    if (FOutput >= 0)
        close(FOutput);
}

bool TChildProcess::WaitForExit(std::chrono::milliseconds timeout, int& exitCode)
{
    const bool ended = WaitUntil(
        [this] {
            if (FEnded)
                return true;
            int status = 0;
            if (waitpid(FId, &status, WNOHANG) != FId)
                return false;
            FEnded = true;
            FExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        },
        timeout);
    if (ended)
        exitCode = FExitCode;
    return ended;
}

std::string TChildProcess::ReadOutput()
{
    std::string output;
    char buffer[4096];
    ssize_t count = 0;
    while (FOutput >= 0 && (count = read(FOutput, buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<size_t>(count));
    return output;
}

void TChildProcess::Kill()
{
    if (FId <= 0 || FEnded)
        return;
    kill(FId, SIGKILL);
    int status = 0;
    waitpid(FId, &status, 0);
    FEnded = true;
}

int RunToEnd(const AnsiString& program, const std::vector<std::string>& arguments,
             const TChildProcess::TOptions& options)
{
    TChildProcess child(program, arguments, options);
    int exitCode = -1;
    return child.WaitForExit(std::chrono::seconds(20), exitCode) ? exitCode : -1;
}

AnsiString BinaryFolder()
{
    const AnsiString path = ExecutableFileName();
    return path.substr(0, path.find_last_of('/') + 1);
}

AnsiString ProgramPath()
{
    return BinaryFolder() + "deployNotice";
}

TTempFolder::TTempFolder(const AnsiString& tag)
{
    static std::atomic<int> counter{0};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    FPath = Format("%s/%s-%d-%d/", base.c_str(), tag.c_str(), static_cast<int>(getpid()), ++counter);
    std::filesystem::create_directories(FPath);
    // Readable by the other users that some tests run the program as.
    std::filesystem::permissions(FPath, std::filesystem::perms::all);
}

TTempFolder::~TTempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

void TTempFolder::Write(const AnsiString& name, const AnsiString& bytes) const
{
    std::ofstream(FPath + name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

AnsiString UniqueMailslotName()
{
    static std::atomic<int> counter{0};
    return Format("\\\\.\\mailslot\\deployNotice\\test\\%d_%d", static_cast<int>(getpid()), ++counter);
}

uid_t OtherUser()
{
    return getuid() == 0 ? 65534 : static_cast<uid_t>(-1);
}
