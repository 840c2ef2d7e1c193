#pragma once
// Where a window run started by root shows its window, and what the run that
// it hands the window to gets as its environment. Decided here from facts
// that the platform gathers (the sessions that logind lists, the user's
// account and variables), so that the decision is tested without them.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "HandOverChoice.h"

// A login session as logind describes it.
struct TLoginSession {
    std::string Id;
    unsigned Uid = 0;
    std::string UserName;
    // Whether the system still knows the user (an account that was removed
    // while its session lives has none).
    bool UserExists = true;
    // Empty for a session without a seat (a remote one).
    std::string Seat;
    bool Remote = false;
    // x11, wayland, tty, mir, unspecified.
    std::string Type;
    // user, greeter, lock-screen, background.
    std::string Class;
    // active, online, closing.
    std::string State;
    // When it began, in microseconds since the epoch.
    std::uint64_t Started = 0;
    // The X display of an x11 session; empty for the others.
    std::string Display;
    // The process that began the session (often a worker of root's whose
    // children are the user's); 0 when logind names none.
    unsigned Leader = 0;
};

// Of the kinds that HandOverChoice.h names, a root run knows ShowHere (it is
// no root run, or the session's user is root), Relaunch (a run as the
// session's user shows it) and NobodyThere (nobody is logged on to a
// graphical session).
struct TLoginHandOver {
    THandOverKind Kind = THandOverKind::NobodyThere;
    // The session chosen, for ShowHere (when root's own) and Relaunch.
    TLoginSession Session;
};

// Only root hands its window over. The session is the active graphical one
// (x11 or wayland) of a user on a local seat; with several, the one on seat0,
// then the most recent.
TLoginHandOver ChooseHandOver(unsigned ownUid, const std::vector<TLoginSession>& sessions);

// Environment variables, by name.
using TVariables = std::map<std::string, std::string>;

// What `systemctl show-environment` prints: NAME=value a line, a value with
// blanks or special characters quoted as $'...' with C escapes (or as "..."
// by older versions).
TVariables ParseManagerEnvironment(const std::string& text);

struct TAccount {
    std::string Name;
    std::string Home;
};

// The environment of the run that shows the window, and nothing else: the
// session's display (logind's for an x11 session), XAUTHORITY,
// XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS, PATH and the user's language
// (LANG, LANGUAGE, every LC_*), each from the first of `sources` that has it
// (the user's service manager, then a process of the session); HOME, USER and
// LOGNAME from the account. Without a PATH anywhere, the system's usual one.
TVariables RelaunchEnvironment(const TAccount& account, const TLoginSession& session,
                               const std::vector<TVariables>& sources);
