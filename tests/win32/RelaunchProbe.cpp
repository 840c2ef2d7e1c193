// The program's entry routine in a window run that takes itself for a
// deployment's: it runs as SYSTEM, and the sessions, the program to start in
// the user's session and the user's access to it are what the test that
// starts it says. Wine runs nothing as SYSTEM and has no second session;
// everything else here is the program's own, down to WTSQueryUserToken and
// CreateProcessAsUserW starting the real deployNotice.exe.
//   DN_PROBE_PROGRAM  the program that the user's session runs
//   DN_PROBE_USER     DOMAIN\name of the user in session 1, the console's;
//                     unset: nobody is logged on
//   DN_PROBE_SESSIONS in place of DN_PROBE_USER: a file, read at each
//                     look, of the active sessions as lines "N DOMAIN\name"
//                     (every user's shell runs)
//   DN_PROBE_REFUSE   set: the user may neither run nor read anything, so
//                     the program goes through a staging folder
//   DN_PROBE_FOREIGN  set: the staging folders' common folder belongs to
//                     a user and is open to everybody; otherwise it is
//                     SYSTEM's, as Windows keeps it (Wine keeps no
//                     security of files)
//   DN_PROBE_NO_JOB   set: the window's process cannot join a job, as
//                     across sessions
#include <windows.h>

#include <fstream>

#include "EntryRoutine.h"
#include "Forms.h"
#include "HandOverSystem_win32.h"
#include "LibrarySearch.h"
#include "Station.h"

namespace {

std::string Variable(const char* name)
{
    char value[1024] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length < sizeof value ? std::string(value, length) : std::string();
}

class TProbeSystem : public THandOverSystem {
public:
    bool RunsAsSystem() override { return true; }
    uint32_t ConsoleSession() override { return 1; }
    std::vector<TUserSession> Sessions() override
    {
        if (const std::string file = Variable("DN_PROBE_SESSIONS"); !file.empty()) {
            std::vector<TUserSession> sessions;
            std::ifstream list(file);
            TUserSession session{0, true, "", 0, 0};
            while (list >> session.Id >> session.User)
                sessions.push_back(session);
            return sessions;
        }
        const std::string user = Variable("DN_PROBE_USER");
        if (user.empty())
            return {};
        return {TUserSession{1, true, user, 0, 0}};
    }
    bool ShellRuns(uint32_t) override { return true; }
    std::wstring ProgramPath() override
    {
        const std::string program = Variable("DN_PROBE_PROGRAM");
        return std::wstring(program.begin(), program.end());
    }
    bool UserMayAccess(HANDLE userToken, const std::wstring& path, DWORD access) override
    {
        return Variable("DN_PROBE_REFUSE").empty() && THandOverSystem::UserMayAccess(userToken, path, access);
    }
    AnsiString FolderSecurity(HANDLE) override
    {
        return Variable("DN_PROBE_FOREIGN").empty() ? "O:SYD:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200a9;;;BU)"
                                                    : "O:" + ProcessUserSid() + "D:(A;OICI;FA;;;WD)";
    }
    bool JoinJob(HANDLE job, HANDLE process) override
    {
        return Variable("DN_PROBE_NO_JOB").empty() && THandOverSystem::JoinJob(job, process);
    }
};

} // namespace

THandOverSystem& HandOverSystem()
{
    static TProbeSystem system;
    return system;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictLibrarySearch();
    const int exitCode = RunEntryRoutine();
    Application->Shutdown();
    return exitCode;
}
