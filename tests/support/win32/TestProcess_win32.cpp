#include "TestProcess.h"

#include <algorithm>
#include <stdexcept>

#include "SysUtils.h"
#include "WideText.h"

namespace {

// The program's name, then each argument; one that is empty or holds a blank
// in quotes (the program's splitting gives an empty one no place at all).
AnsiString CommandLineOf(const AnsiString& program, const std::vector<std::string>& arguments)
{
    AnsiString line = "\"" + program + "\"";
    for (const std::string& argument : arguments) {
        const bool quoted = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
        line += quoted ? " \"" + argument + "\"" : " " + argument;
    }
    return line;
}

// The test's environment block with `overrides` in place of the entries of
// the same names; empty when there are none, which inherits the test's own.
std::string EnvironmentBlock(const std::vector<std::string>& overrides)
{
    std::string block;
    if (overrides.empty())
        return block;
    std::vector<std::string> entries = overrides;
    char* const own = GetEnvironmentStringsA();
    for (const char* entry = own; *entry != '\0'; entry += strlen(entry) + 1) {
        const std::string text = entry;
        const std::string name = text.substr(0, text.find('=', 1) + 1);
        const bool overridden = std::any_of(overrides.begin(), overrides.end(), [&name](const std::string& item) {
            return lstrcmpiA(item.substr(0, name.size()).c_str(), name.c_str()) == 0;
        });
        if (!overridden)
            entries.push_back(text);
    }
    FreeEnvironmentStringsA(own);
    for (const std::string& entry : entries)
        block += entry + '\0';
    return block + '\0';
}

} // namespace

TChildProcess::TChildProcess(const AnsiString& program, const std::vector<std::string>& arguments,
                             const TOptions& options)
    : TChildProcess(TCommandLine{program, CommandLineOf(program, arguments)}, options)
{
}

TChildProcess::TChildProcess(const TCommandLine& commandLine, const TOptions& options)
{
    // UTF-8 texts reach the child in every script; the ANSI code page's, as
    // older tests write them, as they are.
    const std::wstring program = WideOf(commandLine.Program);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (options.ShowWindow >= 0) {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(options.ShowWindow);
    }
    std::wstring desktop = WideOf(options.Desktop);
    if (!desktop.empty())
        startup.lpDesktop = desktop.data();
    TFileHandle writeEnd;
    if (options.CaptureOutput) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(FState.Output.Put(), writeEnd.Put(), &inherit, 0))
            throw std::runtime_error("CreatePipe failed");
        SetHandleInformation(FState.Output.Get(), HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd.Get();
        startup.hStdError = writeEnd.Get();
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    std::wstring line = WideOf(commandLine.Text);
    std::string environment = EnvironmentBlock(options.Environment);
    PROCESS_INFORMATION info{};
    // Wine now and then loses a new process before it has run any of its
    // code (ERROR_INTERNAL_ERROR: the child ended during its start-up); nothing
    // of the program has run then, so starting it again is the same start.
    BOOL created = FALSE;
    for (int attempt = 0; attempt < 3; ++attempt) {
        created = CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, options.CaptureOutput,
                                 options.Suspended ? CREATE_SUSPENDED : 0,
                                 environment.empty() ? nullptr : environment.data(), nullptr, &startup, &info);
        if (created || GetLastError() != ERROR_INTERNAL_ERROR)
            break;
    }
    if (!created)
        throw std::runtime_error("CreateProcess failed for " + commandLine.Program + ": " +
                                 std::to_string(GetLastError()));
    const TKernelHandle thread(info.hThread);
    FState.Process.Reset(info.hProcess);
    FState.Id = info.dwProcessId;
}

TChildProcess::~TChildProcess()
{
    Kill();
}

bool TChildProcess::WaitForExit(std::chrono::milliseconds timeout, int& exitCode)
{
    if (WaitForSingleObject(FState.Process.Get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(FState.Process.Get(), &code);
    exitCode = static_cast<int>(code);
    return true;
}

// Read until the child has ended and the pipe is empty, not until the pipe's
// end: a process that the child starts may hold the write end for longer.
// Under Wine that is the desktop process, which the first process to need a
// desktop after the last one went idle starts, and which inherits that
// process's standard handles and lives on.
std::string TChildProcess::ReadOutput()
{
    std::string output;
    char buffer[4096];
    for (;;) {
        const bool ended = WaitForSingleObject(FState.Process.Get(), 10) == WAIT_OBJECT_0;
        DWORD available = 0;
        const bool open = PeekNamedPipe(FState.Output.Get(), nullptr, 0, nullptr, &available, nullptr);
        DWORD read = 0;
        if (available > 0 &&
            ReadFile(FState.Output.Get(), buffer, std::min<DWORD>(available, sizeof buffer), &read, nullptr)) {
            output.append(buffer, read);
            continue;
        }
        if (ended || !open)
            return output;
    }
}

void TChildProcess::Kill()
{
    if (FState.Process.Valid() && WaitForSingleObject(FState.Process.Get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(FState.Process.Get(), 1);
        WaitForSingleObject(FState.Process.Get(), 5000);
    }
}

AnsiString UniqueChannelName()
{
    static LONG counter = 0;
    return Format("\\\\.\\mailslot\\deployNotice\\test\\%lu_%ld", GetCurrentProcessId(),
                  InterlockedIncrement(&counter));
}
