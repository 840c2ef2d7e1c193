#pragma once
// What the hand-over of a window run asks of Windows, and the program it
// starts in the user's session. The program links the real answers
// (TheHandOverSystem_win32.cpp); a test executable of the hand-over links a
// HandOverSystem() of its own in their place, because no test machine runs
// as SYSTEM beside users in sessions of their own.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "AnsiString.h"
#include "HandOverChoice.h"
#include "WideText.h"

class THandOverSystem {
public:
    virtual ~THandOverSystem() = default;

    virtual bool RunsAsSystem();
    virtual bool StationVisible();
    // Whether a window run holds the command channel.
    virtual bool WindowOpen();
    virtual uint32_t ConsoleSession();
    virtual std::vector<TUserSession> Sessions();
    // Whether the user's shell runs in the session: its desktop is ready.
    virtual bool ShellRuns(uint32_t session);
    // The program that the user's session runs: this one.
    virtual std::wstring ProgramPath();
    // Whether the user of `userToken` may open `path` for `access`; false
    // also when the file's security cannot be read.
    virtual bool UserMayAccess(HANDLE userToken, const std::wstring& path, DWORD access);
    // The owner and access list of a folder, as SDDL; empty when they
    // cannot be read.
    virtual AnsiString FolderSecurity(HANDLE folder);
    // Puts the process into the job; false where Windows refuses (a job's
    // processes share its session).
    virtual bool JoinJob(HANDLE job, HANDLE process);
};

THandOverSystem& HandOverSystem();
