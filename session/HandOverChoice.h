#pragma once
// Where a window run shows its window, decided from a few facts about the
// run and the machine's sessions. A deployment runs as the machine's own
// account outside every user's session: its window belongs in the session
// of the user who works at the machine, not on a desktop that nobody sees.
#include <cstdint>
#include <exception>
#include <vector>

#include "AnsiString.h"

// A session as the system lists it.
struct TUserSession {
    uint32_t Id = 0;
    // Someone works in it: not disconnected, not waiting at a logon screen.
    bool Active = false;
    // DOMAIN\name of the user logged on in it; empty when nobody is.
    AnsiString User;
    // The system's time stamps: a larger one is later, 0 is unknown.
    int64_t LastInput = 0;
    int64_t LogonTime = 0;
};

// The console session's number while no session is attached to the console.
inline constexpr uint32_t NoConsoleSession = 0xFFFFFFFF;

struct THandOverFacts {
    // The run's token belongs to the machine's own account (SYSTEM).
    bool System = false;
    // Asked of runs that are not SYSTEM: whether their window station is
    // the one on the user's screen.
    bool StationVisible = true;
    // Asked of SYSTEM runs only: whether another run holds the command
    // channel (a window is open), the console session and every session.
    bool WindowOpen = false;
    uint32_t ConsoleSession = NoConsoleSession;
    std::vector<TUserSession> Sessions;
};

enum class THandOverKind {
    ShowHere, // a user's own run: the window is shown where it runs
    ShowUnseen, // the same, on a station that nobody sees
    WindowAlreadyOpen, // SYSTEM: another window run holds the channel
    Relaunch, // SYSTEM: the window goes to Session, as User
    NobodyThere // SYSTEM: no session has a user working in it
};

struct THandOverChoice {
    THandOverKind Kind = THandOverKind::ShowHere;
    uint32_t Session = 0;
    AnsiString User;
};

// Runs that are not SYSTEM run where they are: another account cannot reach
// another session. A SYSTEM run hands the window over, also when it already
// sits in the user's session (a window of SYSTEM's on a user's desktop is
// open to every program of that user): to the console session when a user
// works there, else to the active session with a user that had the most
// recent input, then the most recent logon.
THandOverChoice ChooseHandOver(const THandOverFacts& facts);

// The line that a hand-over that failed writes, on every platform: the
// session and the user it was meant for, what failed and the system's word
// on it, "relaunch into session S for user U failed: what (error N: text)".
AnsiString HandOverFailedLine(const AnsiString& session, const AnsiString& user, const std::exception& error);
