#pragma once
// What a window run started by root learns of the sessions on the machine.
// The program asks logind and the user's service manager
// (LoginSessions_logind.cpp, UserVariables_linux.cpp); a test build links its
// own answers instead, so that the relaunch runs for real on a machine
// without logind.
#include <chrono>
#include <vector>

#include "SessionChoice.h"

using TDeadline = std::chrono::steady_clock::time_point;

// The sessions that logind lists; none when there is no system bus or no
// logind, or when it has not answered by the deadline.
std::vector<TLoginSession> FindLoginSessions(TDeadline deadline);

// The variables of the session's user, best first: those of the user's
// service manager, then those of a process of the session that has an X
// display. Each is left out when it cannot be had by the deadline.
std::vector<TVariables> UserVariables(const TLoginSession& session, TDeadline deadline);
