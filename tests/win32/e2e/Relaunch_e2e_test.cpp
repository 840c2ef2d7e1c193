// Deployments that run as SYSTEM, for real as far as Wine goes:
// relaunch_probe.exe is the program's entry routine with the facts of a
// SYSTEM run (Wine runs nothing as SYSTEM and has no second session), and it
// starts the real deployNotice.exe through the user's token. What nobody can
// see shows no box: the real program on a window station of its own.
#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>
#include <winioctl.h>

#include <fstream>
#include <optional>

#include "Consts.h"
#include "Desktop.h"
#include "Handle.h"
#include "Channel.h"
#include "StartUp.h"
#include "SysUtils.h"
#include "TempFolder.h"
#include "TestProcess.h"
#include "TestWindows.h"

namespace {

using namespace std::chrono_literals;

const char User[] = "WINE\\tester";

std::unique_ptr<TChildProcess> StartSystemRun(std::vector<std::string> environment,
                                              const AnsiString& program = ProgramPath())
{
    environment.push_back("DN_PROBE_PROGRAM=" + program);
    return std::make_unique<TChildProcess>(BinaryFolder() + "relaunch_probe.exe", std::vector<std::string>{},
                                           TChildProcess::TOptions{.Environment = environment, .CaptureOutput = true});
}

// The relaunched window run, once its window is on screen (Form stays null
// when none comes); ended on every way out of the test.
struct TRelaunched {
    TRelaunched()
    {
        WaitUntil([&] {
            Form = FindWindowA("TFrmMain", nullptr);
            return Form != nullptr && IsWindowVisible(Form);
        }, 30s);
        if (Form == nullptr)
            return;
        GetWindowThreadProcessId(Form, &Id);
        Process.Reset(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, Id));
        char image[MAX_PATH] = {};
        DWORD size = sizeof image;
        if (QueryFullProcessImageNameA(Process.Get(), 0, image, &size))
            Image = image;
    }
    ~TRelaunched()
    {
        if (Process.Valid() && WaitForSingleObject(Process.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(Process.Get(), 1);
            WaitForSingleObject(Process.Get(), 5000);
        }
    }
    TRelaunched(const TRelaunched&) = delete;
    TRelaunched& operator=(const TRelaunched&) = delete;

    HWND Form = nullptr;
    DWORD Id = 0;
    TKernelHandle Process;
    AnsiString Image;
};

bool Exists(const AnsiString& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Contains(const std::string& output, const AnsiString& line)
{
    return output.find("deployNotice: " + line + "\r\n") != std::string::npos;
}

TEST(SystemWindowRun, RelaunchesTheRealWindowRunAsTheUserAndWaitsForIt)
{
    auto system = StartSystemRun({"DN_PROBE_USER=" + std::string(User)});
    const TRelaunched window;
    ASSERT_NE(window.Form, nullptr) << "no window was relaunched";
    EXPECT_NE(window.Id, system->Id());
    EXPECT_EQ(lstrcmpiA(window.Image.c_str(), ProgramPath().c_str()), 0) << window.Image;
    int exitCode = -1;
    EXPECT_FALSE(system->WaitForExit(0ms, exitCode)) << "the SYSTEM run did not wait for the window";

    EXPECT_EQ(RunToEnd(ProgramPath(), {"-package", "Office Tools", "install"}), 0);
    const std::vector<HWND> labels = ChildWindows(window.Form, "Static");
    ASSERT_FALSE(labels.empty());
    // The sample's ellipsis, as the test's code page 1252 reads it.
    EXPECT_TRUE(WaitUntil([&] { return WindowText(labels.front()) == "Installing Office Tools\x85"; }, 10s))
        << WindowText(labels.front());
    EXPECT_EQ(RunToEnd(ProgramPath(), {"-terminate"}), 0);

    ASSERT_TRUE(system->WaitForExit(20s, exitCode)) << "the SYSTEM run outlived the window";
    EXPECT_EQ(exitCode, 0);
    // The output is read to its end, which a window still alive (a fault)
    // could hold off for ever: the test stops here instead.
    ASSERT_EQ(WaitForSingleObject(window.Process.Get(), 0), WAIT_OBJECT_0) << "the window outlived the SYSTEM run";
    const std::string output = system->ReadOutput();
    EXPECT_TRUE(Contains(output, Format(SRelaunchedIntoSession, 1ul, User, window.Id))) << output;
    EXPECT_TRUE(Contains(output, Format(SSessionRunEnded, 1ul, window.Id, 0ul))) << output;
}

// A relaunch that fails ends like the others, without a box that would hold
// the deployment: the program to start is no program at all.
TEST(SystemWindowRun, EndsWithoutWindowWhenAWindowIsOpenOrTheRelaunchFails)
{
    const TTempFolder folder("relaunch");
    const AnsiString noProgram = folder.Write("deployNotice.exe", "no program");
    const AnsiString user = "DN_PROBE_USER=" + std::string(User);
    const struct {
        const char* Name;
        std::vector<std::string> Environment;
        AnsiString Program;
        bool WindowOpen;
        AnsiString Line;
    } rows[] = {
        {"a window is open",
         {user},
         ProgramPath(),
         true,
         "deployNotice: " + ErrorBoxText(SUnableToCreateMailslot) + "\r\n"},
        {"the relaunch fails",
         {user},
         noProgram,
         false,
         "deployNotice: " +
             Format(SRelaunchIntoSessionFailed, "1", User, Format(SNotStartedAsUser, noProgram.c_str()).c_str()) +
             " (error "},
    };
    for (const auto& row : rows) {
        std::optional<TChannelReader> openWindow;
        if (row.WindowOpen)
            openWindow.emplace(CommandChannelName);
        SCOPED_TRACE(row.Name);
        auto system = StartSystemRun(row.Environment, row.Program);
        ExpectEndsWithZero(*system);
        const std::string output = system->ReadOutput();
        EXPECT_NE(output.find(row.Line), std::string::npos) << output;
        EXPECT_EQ(output.find("relaunched into"), std::string::npos) << output;
        EXPECT_EQ(FindWindowA("TFrmMain", nullptr), nullptr);
    }
}

// With nobody logged on the SYSTEM run waits, keeping what the window would
// show; the window goes to the session that appears, and moves when another
// takes over, a command sent in between shown in the new one.
TEST(SystemWindowRun, TheWindowFollowsTheActiveSession)
{
    const TTempFolder folder("sessions");
    const AnsiString sessions = folder.Write("sessions", "");
    auto system = StartSystemRun({"DN_PROBE_SESSIONS=" + sessions});
    EXPECT_EQ(RunToEnd(ProgramPath(), {"-package", "Office Tools", "install"}), 0);
    const auto upperBecomes = [](HWND form, const AnsiString& text) {
        return WaitUntil([&] {
            const std::vector<HWND> labels = ChildWindows(form, "Static");
            return !labels.empty() && WindowText(labels.front()) == text;
        }, 10s);
    };
    folder.Write("sessions", "1 " + std::string(User));
    std::optional<TRelaunched> first(std::in_place);
    ASSERT_NE(first->Form, nullptr) << "no window was relaunched";
    EXPECT_TRUE(upperBecomes(first->Form, "Installing Office Tools\x85"));

    folder.Write("sessions", "2 " + std::string(User));
    EXPECT_EQ(RunToEnd(ProgramPath(), {"-package", "Visio", "install"}), 0);
    ASSERT_EQ(WaitForSingleObject(first->Process.Get(), 10000), WAIT_OBJECT_0) << "the window stayed where nobody is";
    const DWORD firstId = first->Id;
    first.reset();
    const TRelaunched second;
    ASSERT_NE(second.Form, nullptr) << "the window did not move";
    EXPECT_TRUE(upperBecomes(second.Form, "Installing Visio\x85"));

    EXPECT_EQ(RunToEnd(ProgramPath(), {"-terminate"}), 0);
    int exitCode = -1;
    ASSERT_TRUE(system->WaitForExit(20s, exitCode));
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(WaitForSingleObject(second.Process.Get(), 0), WAIT_OBJECT_0) << "the window outlived the SYSTEM run";
    const std::string output = system->ReadOutput();
    for (const AnsiString& line : {AnsiString(SNobodyThere), Format(SRelaunchedIntoSession, 1ul, User, firstId),
                                   Format(SSessionLeft, "1", User), Format(SRelaunchedIntoSession, 2ul, User, second.Id)})
        EXPECT_TRUE(Contains(output, line)) << line << "\n" << output;
}

// A script that ends without -terminate leaves no run behind that holds the
// channel: a SYSTEM run that waits ends with the process that started it
// (cmd.exe, which ends at once).
TEST(SystemWindowRun, EndsWithTheProcessThatStartedIt)
{
    const TTempFolder folder("starter");
    const AnsiString log = folder.Path() + "log";
    TChildProcess starter("C:\\windows\\system32\\cmd.exe",
                          {"/c", "start", "/b", BinaryFolder() + "relaunch_probe.exe", "2>" + log},
                          {.Environment = {"DN_PROBE_PROGRAM=" + ProgramPath(),
                                           "DN_PROBE_SESSIONS=" + folder.Write("sessions", "")}});
    ExpectEndsWithZero(starter);
    std::string output;
    EXPECT_TRUE(WaitUntil([&] {
        std::ifstream file(log, std::ios::binary);
        output.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        return Contains(output, SStarterEnded);
    }, 10s)) << output;
}

// A junction where the platform has them. Wine 8 has none, but lists a
// symbolic link of its Linux file system to a folder as a reparse point and
// follows it on every open: such a link is made by the Linux program ln,
// which Wine starts as it starts Windows programs.
class TFolderLink {
public:
    TFolderLink(const AnsiString& link, const AnsiString& target) : FLink(link)
    {
        FLinux = !MakeJunction(target) && GetLastError() == ERROR_NOT_SUPPORTED;
        if (FLinux)
            RunLinuxTool("ln -s " + UnixPath(target) + " " + UnixPath(link));
        WaitUntil([&] { return Listed(); }, 10s);
    }
    ~TFolderLink()
    {
        if (!FLinux) {
            RemoveDirectoryA(FLink.c_str());
            return;
        }
        // Wine's RemoveDirectory would remove what the link points to.
        RunLinuxTool("rm " + UnixPath(FLink));
        WaitUntil([&] { return !Exists(FLink); }, 10s);
    }
    TFolderLink(const TFolderLink&) = delete;
    TFolderLink& operator=(const TFolderLink&) = delete;

    // Whether the folder's listing shows the link as a reparse point.
    bool Listed() const
    {
        WIN32_FIND_DATAA found{};
        const HANDLE search = FindFirstFileA(FLink.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return false;
        FindClose(search);
        return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    }

private:
    bool MakeJunction(const AnsiString& target)
    {
        if (!CreateDirectoryA(FLink.c_str(), nullptr))
            return false;
        TFileHandle folder(CreateFileA(FLink.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        // The mount-point layout of REPARSE_DATA_BUFFER: tag, length, the
        // substitute and print names' places, then both names.
        std::wstring substitute = L"\\??\\" + std::wstring(target.begin(), target.end());
        const std::wstring print(target.begin(), target.end());
        std::vector<WORD> data = {0, static_cast<WORD>(substitute.size() * 2),
                                  static_cast<WORD>((substitute.size() + 1) * 2), static_cast<WORD>(print.size() * 2)};
        data.insert(data.end(), substitute.begin(), substitute.end());
        data.push_back(0);
        data.insert(data.end(), print.begin(), print.end());
        data.push_back(0);
        std::vector<BYTE> buffer(8 + data.size() * 2);
        const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
        const auto length = static_cast<WORD>(data.size() * 2);
        memcpy(buffer.data(), &tag, 4);
        memcpy(buffer.data() + 4, &length, 2);
        memcpy(buffer.data() + 8, data.data(), length);
        DWORD returned = 0;
        if (DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                            nullptr, 0, &returned, nullptr))
            return true;
        const DWORD error = GetLastError();
        folder.Reset();
        RemoveDirectoryA(FLink.c_str());
        SetLastError(error);
        return false;
    }

    static AnsiString UnixPath(const AnsiString& path)
    {
        using TUnixName = char*(CDECL*)(const wchar_t*);
        const auto unixName = reinterpret_cast<TUnixName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        const std::wstring wide(path.begin(), path.end());
        char* name = unixName != nullptr ? unixName(wide.c_str()) : nullptr;
        const AnsiString text = name != nullptr ? name : "";
        HeapFree(GetProcessHeap(), 0, name);
        return text;
    }

    // Wine gives no handle to wait for a Linux program: the callers wait for
    // its effect.
    static void RunLinuxTool(const AnsiString& commandLine)
    {
        const AnsiString tool = "Z:\\bin\\" + commandLine.substr(0, commandLine.find(' '));
        AnsiString line = commandLine;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (CreateProcessA(tool.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &started)) {
            const TKernelHandle process(started.hProcess);
            const TKernelHandle thread(started.hThread);
        }
    }

    AnsiString FLink;
    bool FLinux = false;
};

AnsiString StagingBase()
{
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    const AnsiString base = AnsiString(folder) + "\\deployNotice\\";
    CreateDirectoryA(base.c_str(), nullptr);
    return base;
}

// The user may not run the program where it lies: it runs from a copy, and
// the copy goes once the window has ended, as do the copies that earlier runs
// left behind, but never what a link in them points to.
TEST(SystemWindowRun, RunsAStagedCopyAndRemovesItWithoutFollowingLinks)
{
    TTempFolder targets("link-targets");
    const AnsiString kept = targets.Write("keep.txt", "keep");
    const AnsiString leftover = StagingBase() + Format("%08lx%08lx", GetCurrentProcessId(), GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(leftover.c_str(), nullptr));
    const AnsiString leftoverCopy = leftover + "\\deployNotice.exe";
    ASSERT_TRUE(CopyFileA(ProgramPath().c_str(), leftoverCopy.c_str(), FALSE));
    std::optional<TFolderLink> leftoverLink;
    leftoverLink.emplace(leftover + "\\link", targets.Path());
    ASSERT_TRUE(leftoverLink->Listed());

    auto system = StartSystemRun({"DN_PROBE_USER=" + std::string(User), "DN_PROBE_REFUSE=1"});
    const TRelaunched window;
    ASSERT_NE(window.Form, nullptr) << "no window was relaunched";
    const AnsiString staged = window.Image.substr(0, window.Image.rfind('\\') + 1);
    EXPECT_EQ(lstrcmpiA(staged.substr(0, StagingBase().size()).c_str(), StagingBase().c_str()), 0) << window.Image;
    EXPECT_TRUE(Exists(staged + "deployNotice.ini"));
    EXPECT_FALSE(Exists(leftoverCopy)) << "an earlier run's copy stayed";
    std::optional<TFolderLink> stagedLink;
    stagedLink.emplace(staged + "link", targets.Path());
    ASSERT_TRUE(stagedLink->Listed());

    // Ended from outside, with an exit code of its own for the log line.
    TerminateProcess(window.Process.Get(), 7);
    int exitCode = -1;
    ASSERT_TRUE(system->WaitForExit(20s, exitCode));
    EXPECT_EQ(exitCode, 0);
    const std::string output = system->ReadOutput();
    EXPECT_TRUE(
        Contains(output, Format(SStaged, User, ProgramPath().c_str(), staged.substr(0, staged.size() - 1).c_str())))
        << output;
    EXPECT_TRUE(Contains(output, Format(SSessionRunEnded, 1ul, window.Id, 7ul))) << output;
    EXPECT_FALSE(Exists(staged + "deployNotice.exe"));
    EXPECT_FALSE(Exists(staged + "deployNotice.ini"));
    EXPECT_TRUE(Exists(kept)) << "a link was followed";
    // Where the link could be removed as itself (not under Wine), nothing of
    // the folders is left.
    EXPECT_TRUE(!Exists(staged) || stagedLink->Listed());
    stagedLink.reset();
    leftoverLink.reset();
    RemoveDirectoryA(staged.c_str());
    RemoveDirectoryA(leftover.c_str());
}

// A deployment agent that ends its script on a time-out ends the SYSTEM run:
// its window goes with it, through a job where the window's process may
// join one, and by watching the SYSTEM run where it may not (across
// sessions), so that no window is left holding the channel.
TEST(SystemWindowRun, TheWindowEndsWithTheSystemRunHoweverItEnds)
{
    for (const bool job : {true, false}) {
        std::vector<std::string> environment{"DN_PROBE_USER=" + std::string(User)};
        if (!job)
            environment.push_back("DN_PROBE_NO_JOB=1");
        auto system = StartSystemRun(environment);
        const TRelaunched window;
        ASSERT_NE(window.Form, nullptr) << "no window was relaunched";
        system->Kill();
        EXPECT_EQ(WaitForSingleObject(window.Process.Get(), 5000), WAIT_OBJECT_0)
            << (job ? "in a job" : "watching the SYSTEM run") << ": the window outlived the SYSTEM run";
    }
}

// What the staging copy takes from a folder that the user may not read: the
// program's own two files under their own names alone, never a second name
// of a file that only SYSTEM may read, never through a common folder that a
// user made; and what it removes of an earlier run's folder: not more than a
// bounded depth of what someone planted there.
TEST(SystemWindowRun, StagesOnlyThePackagesOwnTwoFilesThroughASystemFolder)
{
    const AnsiString base = StagingBase();
    const TTempFolder secrets("secrets");
    const AnsiString secret = secrets.Write("secret.ini", "[Strings]\r\nWindowsCaption=only SYSTEM reads this\r\n");
    const AnsiString leftover = base + Format("%08lx%08lx", GetCurrentProcessId(), GetTickCount());
    AnsiString deep = leftover;
    for (int level = 0; level < 40; ++level, deep += "\\d") {
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
    }
    const struct {
        const char* Name;
        const char* Linked;
        bool Foreign;
        // Null: no window.
        const char* Caption;
    } rows[] = {
        {"the texts are a second name", "deployNotice.ini", false, ""},
        {"the program is a second name", "deployNotice.exe", false, nullptr},
        {"the common folder is a user's", nullptr, true, "Software deployment"},
    };
    for (const auto& row : rows) {
        const TTempFolder package("package");
        const AnsiString original = package.Write("original", "");
        ASSERT_TRUE(CopyFileA(ProgramPath().c_str(), (package.Path() + "deployNotice.exe").c_str(), FALSE));
        package.Write("deployNotice.ini", "[Strings]\r\nWindowsCaption=Software deployment\r\n");
        AnsiString expected = base.substr(0, base.size() - 1) + " belongs to ";
        if (row.Linked != nullptr) {
            const AnsiString linked = package.Path() + row.Linked;
            ASSERT_TRUE(MoveFileExA(linked.c_str(), original.c_str(), MOVEFILE_REPLACE_EXISTING));
            ASSERT_TRUE(CreateHardLinkA(linked.c_str(), (row.Caption != nullptr ? secret : original).c_str(), nullptr));
            expected = Format(SStagingRefusedHardLink, linked.c_str(), 2ul);
        }
        std::vector<std::string> environment{"DN_PROBE_USER=" + std::string(User), "DN_PROBE_REFUSE=1"};
        if (row.Foreign)
            environment.push_back("DN_PROBE_FOREIGN=1");
        auto system = StartSystemRun(environment, package.Path() + "deployNotice.exe");
        if (row.Caption != nullptr) {
            const TRelaunched window;
            ASSERT_NE(window.Form, nullptr) << row.Name << ": no window was relaunched";
            EXPECT_EQ(WindowText(window.Form), row.Caption) << row.Name;
            EXPECT_EQ(RunToEnd(ProgramPath(), {"-terminate"}), 0);
        }
        int exitCode = -1;
        ASSERT_TRUE(system->WaitForExit(20s, exitCode)) << row.Name;
        EXPECT_EQ(exitCode, 0) << row.Name;
        const std::string output = system->ReadOutput();
        EXPECT_NE(output.find(expected), std::string::npos) << row.Name << ": " << output;
        EXPECT_EQ(output.find("relaunched into") != std::string::npos, row.Caption != nullptr) << row.Name;
        EXPECT_TRUE(row.Foreign || Exists(leftover)) << "removed deeper than its bound";
    }
}

// A package folder where users may create files: libraries planted beside
// the program under the names of system libraries that are no KnownDLLs are
// never loaded, by a sender, a usage, a window or a SYSTEM run. Wine loads
// such a library only when native ones come first for its name, as Windows'
// own search does.
TEST(PlantedLibraries, NoRunLoadsThem)
{
    const TTempFolder package("planted");
    const AnsiString program = package.Path() + "deployNotice.exe";
    const AnsiString probe = package.Path() + "relaunch_probe.exe";
    ASSERT_TRUE(CopyFileA(ProgramPath().c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((BinaryFolder() + "relaunch_probe.exe").c_str(), probe.c_str(), FALSE));
    package.Write("deployNotice.ini", "[Strings]\r\nInspectMessage=Inspecting\r\n");
    const char* const libraries[] = {"version", "wtsapi32", "userenv"};
    for (const char* library : libraries)
        ASSERT_TRUE(CopyFileA((BinaryFolder() + "planted\\" + library + ".dll").c_str(),
                              (package.Path() + library + ".dll").c_str(), FALSE));
    TChildProcess::TOptions native{.Environment = {"WINEDLLOVERRIDES=mscoree,mshtml=;version,wtsapi32,userenv=n,b"}};

    EXPECT_EQ(RunToEnd(program, {"-finish"}, native), 0);
    {
        TChildProcess usage(program, {"-help"}, native);
        EXPECT_TRUE(WaitForBox(usage).Found);
        EXPECT_TRUE(PressBoxOk(usage));
        int exitCode = -1;
        EXPECT_TRUE(usage.WaitForExit(20s, exitCode));
    }
    for (const bool system : {false, true}) {
        TChildProcess::TOptions options = native;
        if (system)
            options.Environment.insert(options.Environment.end(),
                                       {"DN_PROBE_USER=" + std::string(User), "DN_PROBE_PROGRAM=" + program});
        TChildProcess run(system ? probe : program, {}, options);
        {
            const TRelaunched window;
            EXPECT_NE(window.Form, nullptr) << (system ? "SYSTEM run" : "window run");
            EXPECT_EQ(RunToEnd(program, {"-terminate"}, native), 0);
        }
        int exitCode = -1;
        EXPECT_TRUE(run.WaitForExit(20s, exitCode));
    }
    for (const char* library : libraries)
        EXPECT_FALSE(Exists(package.Path() + library + ".dll.loaded")) << library << ".dll was loaded";
}

// A window station of its own, with a desktop in it, is one that nobody
// sees: a service's.
class InvisibleStation : public testing::Test {
protected:
    void SetUp() override
    {
        const HWINSTA own = GetProcessWindowStation();
        Station.Reset(CreateWindowStationA(Name.c_str(), 0, WINSTA_ALL_ACCESS, nullptr));
        ASSERT_TRUE(Station.Valid());
        ASSERT_TRUE(SetProcessWindowStation(Station.Get()));
        Desktop.Reset(CreateDesktopA("default", nullptr, nullptr, 0, GENERIC_ALL, nullptr));
        SetProcessWindowStation(own);
        ASSERT_TRUE(Desktop.Valid());
    }

    // Runs the program there to its end; its standard output and error.
    std::string RunThere(const std::vector<std::string>& arguments)
    {
        TChildProcess child(ProgramPath(), arguments, {.CaptureOutput = true, .Desktop = Name + "\\default"});
        int exitCode = -1;
        EXPECT_TRUE(child.WaitForExit(20s, exitCode)) << "it waits for a box that nobody sees";
        EXPECT_EQ(exitCode, 0);
        return child.ReadOutput();
    }

    std::string Name = Format("deployNotice-test-%lu", GetCurrentProcessId());
    TWindowStation Station;
    TDesktop Desktop;
};

TEST_F(InvisibleStation, BoxesGoToStandardErrorAndTheRunEnds)
{
    std::string output = RunThere({"-help"});
    EXPECT_NE(output.find(UsageText), std::string::npos) << output;

    const TChannelReader openWindow(CommandChannelName);
    output = RunThere({});
    EXPECT_TRUE(Contains(output, SWindowUnseen)) << output;
    EXPECT_NE(output.find("deployNotice: " + ErrorBoxText(SUnableToCreateMailslot)), std::string::npos) << output;
}

} // namespace
