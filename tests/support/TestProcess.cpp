#include "TestProcess.h"

#include <stdexcept>
#include <thread>

#include "ProcessArgs.h"
#include "SysUtils.h"

TChildProcess::TChildProcess(const AnsiString& application, const AnsiString& commandLine)
    : TChildProcess(application, commandLine, TOptions{})
{
}

TChildProcess::TChildProcess(const AnsiString& application, const AnsiString& commandLine, const TOptions& options)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (options.ShowWindow >= 0) {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(options.ShowWindow);
    }
    TFileHandle writeEnd;
    if (options.CaptureOutput) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE readPipe = nullptr;
        HANDLE writePipe = nullptr;
        if (!CreatePipe(&readPipe, &writePipe, &inherit, 0))
            throw std::runtime_error("CreatePipe failed");
        FOutput.Reset(readPipe);
        writeEnd.Reset(writePipe);
        SetHandleInformation(readPipe, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdOutput = writePipe;
        startup.hStdError = writePipe;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    AnsiString line = commandLine;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, options.CaptureOutput,
                        options.Suspended ? CREATE_SUSPENDED : 0, nullptr, nullptr, &startup, &info))
        throw std::runtime_error("CreateProcessA failed for " + application + ": " +
                                 std::to_string(GetLastError()));
    const TKernelHandle thread(info.hThread);
    FProcess.Reset(info.hProcess);
    FId = info.dwProcessId;
}

TChildProcess::~TChildProcess()
{
    Kill();
}

bool TChildProcess::WaitForExit(std::chrono::milliseconds timeout, DWORD& exitCode)
{
    if (WaitForSingleObject(FProcess.Get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(FProcess.Get(), &exitCode);
    return true;
}

AnsiString TChildProcess::ReadOutput()
{
    AnsiString output;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(FOutput.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        output.append(buffer, read);
    return output;
}

void TChildProcess::Kill()
{
    if (FProcess.Valid() && WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(FProcess.Get(), 1);
        WaitForSingleObject(FProcess.Get(), 5000);
    }
}

AnsiString BinaryFolder()
{
    const AnsiString path = ExecutableFileName();
    return path.substr(0, path.find_last_of("\\/:") + 1);
}

AnsiString ProgramPath()
{
    return BinaryFolder() + "deployNotice.exe";
}

namespace {

void RemoveTree(const AnsiString& folder)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const AnsiString name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const AnsiString path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

TTempFolder::TTempFolder(const AnsiString& tag)
{
    char base[MAX_PATH + 1];
    GetTempPathA(sizeof base, base);
    static LONG counter = 0;
    FPath = Format("%s%s-%lu-%ld\\", base, tag.c_str(), GetCurrentProcessId(), InterlockedIncrement(&counter));
    CreateDirectoryA(FPath.c_str(), nullptr);
}

TTempFolder::~TTempFolder()
{
    RemoveTree(FPath);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

AnsiString UniqueMailslotName()
{
    static LONG counter = 0;
    return Format("\\\\.\\mailslot\\deployNotice\\test\\%lu_%ld", GetCurrentProcessId(),
                  InterlockedIncrement(&counter));
}

namespace {

struct TWindowSearch {
    DWORD ProcessId;
    const char* ClassName;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<TWindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.ProcessId)
        return TRUE;
    if (search.ClassName != nullptr) {
        char name[256] = {};
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpiA(name, search.ClassName) != 0)
            return TRUE;
    }
    search.Found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> ProcessWindows(DWORD processId, const char* className)
{
    TWindowSearch search{processId, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

AnsiString WindowText(HWND window)
{
    // WM_GETTEXT is marshalled across processes; GetWindowTextA would not ask
    // a control of another process for its text. The text may change between
    // asking for its length and for the text, so the buffer has room to spare
    // and a text that fills it is asked for again.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return AnsiString();
    for (size_t room = length + 1024;; room *= 2) {
        AnsiString text(room, '\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutA(window, WM_GETTEXT, room, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                                 5000, &copied))
            return AnsiString();
        if (copied + 1 < room) {
            text.resize(copied);
            return text;
        }
    }
}

HWND WaitForMessageBox(const TChildProcess& child)
{
    HWND box = nullptr;
    WaitUntil([&] {
        const std::vector<HWND> boxes = ProcessWindows(child.Id(), "#32770");
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr && IsWindowVisible(box);
    }, std::chrono::seconds(30));
    return box;
}

AnsiString MessageBoxText(HWND box)
{
    // The message box's text control has the identifier 0xFFFF.
    return WindowText(GetDlgItem(box, 0xFFFF));
}
