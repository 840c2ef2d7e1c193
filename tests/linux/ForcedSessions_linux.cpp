// The session look-up of the program as the tests build it: there is no
// logind on the machines that run them. One active x11 session on seat0, of
// the user DN_TEST_SESSION_USER names (a uid; the test's own without it),
// whose user's variables are those of the file DN_TEST_SESSION_VARIABLES
// names, in the service manager's form. The session's display is the
// DISPLAY of that file or, without one, of this process.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "LoginSessions.h"

namespace {

TVariables ForcedVariables()
{
    const char* const file = std::getenv("DN_TEST_SESSION_VARIABLES");
    if (file == nullptr)
        return {};
    std::ostringstream text;
    text << std::ifstream(file).rdbuf();
    return ParseManagerEnvironment(text.str());
}

} // namespace

std::vector<TLoginSession> FindLoginSessions(TDeadline)
{
    TLoginSession session;
    session.Id = "test";
    const char* const user = std::getenv("DN_TEST_SESSION_USER");
    session.Uid = user != nullptr ? static_cast<unsigned>(std::strtoul(user, nullptr, 10)) : getuid();
    const passwd* const account = getpwuid(session.Uid);
    session.UserExists = account != nullptr;
    session.UserName = account != nullptr ? account->pw_name : "";
    session.Seat = "seat0";
    session.Type = "x11";
    session.Class = "user";
    session.State = "active";
    const TVariables variables = ForcedVariables();
    const auto display = variables.find("DISPLAY");
    const char* const own = std::getenv("DISPLAY");
    session.Display = display != variables.end() ? display->second : own != nullptr ? own : "";
    return {session};
}

std::vector<TVariables> UserVariables(const TLoginSession&, TDeadline)
{
    return {ForcedVariables()};
}
