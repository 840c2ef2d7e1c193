#include <gtest/gtest.h>

#include "HandOverChoice.h"

namespace {

TUserSession Active(uint32_t id, const char* user, int64_t lastInput = 0, int64_t logonTime = 0)
{
    return {id, true, user, lastInput, logonTime};
}

TUserSession Inactive(uint32_t id, const char* user, int64_t lastInput = 0)
{
    return {id, false, user, lastInput, 0};
}

THandOverFacts System(uint32_t console, std::vector<TUserSession> sessions)
{
    THandOverFacts facts;
    facts.System = true;
    facts.ConsoleSession = console;
    facts.Sessions = std::move(sessions);
    return facts;
}

struct TRow {
    const char* Name;
    THandOverFacts Facts;
    THandOverKind Kind;
    uint32_t Session;
    const char* User;
};

TEST(ChooseHandOver, WhereTheWindowGoes)
{
    const TUserSession services = Inactive(0, "");
    THandOverFacts user = System(1, {Active(1, "PC\\anna")});
    user.System = false;
    THandOverFacts serviceAccount = user;
    serviceAccount.StationVisible = false;
    THandOverFacts windowOpen = System(1, {Active(1, "PC\\anna")});
    windowOpen.WindowOpen = true;

    const TRow rows[] = {
        {"a user's own run stays, whoever else works here", user, THandOverKind::ShowHere, 0, ""},
        {"a service account on an invisible station stays too", serviceAccount, THandOverKind::ShowUnseen, 0, ""},
        {"SYSTEM with a console user, beside a remote user with later input",
         System(1, {services, Active(1, "PC\\anna", 10), Active(2, "DOM\\ben", 99)}), THandOverKind::Relaunch, 1,
         "PC\\anna"},
        {"SYSTEM with only a remote-desktop user (console at the logon screen)",
         System(1, {services, Inactive(1, ""), Active(3, "DOM\\ben")}), THandOverKind::Relaunch, 3, "DOM\\ben"},
        {"fast user switching: the disconnected user's later input does not count",
         System(2, {services, Inactive(1, "PC\\anna", 99), Active(2, "PC\\carl", 10)}), THandOverKind::Relaunch, 2,
         "PC\\carl"},
        {"console 0xFFFFFFFF while attaching: the active remote session",
         System(NoConsoleSession, {services, Inactive(1, "PC\\anna"), Active(2, "DOM\\ben")}), THandOverKind::Relaunch,
         2, "DOM\\ben"},
        {"console 0xFFFFFFFF and no other active session",
         System(NoConsoleSession, {services, Inactive(1, "PC\\anna")}), THandOverKind::NobodyThere, 0, ""},
        {"two active sessions: the most recent input",
         System(1, {Inactive(1, ""), Active(2, "DOM\\ben", 50, 9), Active(3, "DOM\\dora", 60, 1)}),
         THandOverKind::Relaunch, 3, "DOM\\dora"},
        {"two active sessions with the same input: the most recent logon",
         System(1, {Inactive(1, ""), Active(2, "DOM\\ben", 50, 9), Active(3, "DOM\\dora", 50, 1)}),
         THandOverKind::Relaunch, 2, "DOM\\ben"},
        {"two active sessions alike in every time: the lower number",
         System(1, {Inactive(1, ""), Active(3, "DOM\\dora", 5, 5), Active(2, "DOM\\ben", 5, 5)}),
         THandOverKind::Relaunch, 2, "DOM\\ben"},
        {"an active session without a user is nobody's", System(4, {Active(4, "")}), THandOverKind::NobodyThere, 0, ""},
        {"no session at all", System(NoConsoleSession, {}), THandOverKind::NobodyThere, 0, ""},
        {"only the services' session", System(NoConsoleSession, {services}), THandOverKind::NobodyThere, 0, ""},
        {"SYSTEM while a window is open", windowOpen, THandOverKind::WindowAlreadyOpen, 0, ""},
    };
    for (const TRow& row : rows) {
        const THandOverChoice choice = ChooseHandOver(row.Facts);
        EXPECT_EQ(choice.Kind, row.Kind) << row.Name;
        EXPECT_EQ(choice.Session, row.Session) << row.Name;
        EXPECT_EQ(choice.User, row.User) << row.Name;
    }
}

} // namespace
