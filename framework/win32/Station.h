#pragma once
// Who this process runs as and whether anyone can see what it shows: what
// decides where its window appears and whether it may show a box at all.
#include <windows.h>

#include <initializer_list>
#include <vector>

#include "AnsiString.h"
#include "Handle.h"

// The SID of a token's user as text ("S-1-5-18"); empty when the token
// cannot be read.
AnsiString TokenUserSid(HANDLE token);
// The same for this process's own token.
AnsiString ProcessUserSid();
// Whether this process runs as the machine's own account, LocalSystem
// (S-1-5-18), whatever its session.
bool RunsAsLocalSystem();
// Enables privileges of this process's token for as long as the object
// lives, and sets back the ones that it enabled. A privilege that the token
// lacks stays missing (the system then reports ERROR_NOT_ALL_ASSIGNED);
// one that was enabled before stays enabled.
class TEnabledPrivileges {
public:
    explicit TEnabledPrivileges(std::initializer_list<const char*> names);
    ~TEnabledPrivileges();
    TEnabledPrivileges(const TEnabledPrivileges&) = delete;
    TEnabledPrivileges& operator=(const TEnabledPrivileges&) = delete;

private:
    TKernelHandle FToken;
    std::vector<LUID> FEnabled;
};

// Whether this process's window station is the one on the user's screen
// (WSF_VISIBLE). A service's station is not: a box there waits for a click
// that never comes.
bool WindowStationVisible();

// The line and a line end on standard error, when the process has one (a
// program of the GUI subsystem has one only when its starter gave it one: a
// redirection, a deployment agent's log).
void WriteStandardError(const AnsiString& line);
