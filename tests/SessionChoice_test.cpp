#include <gtest/gtest.h>

#include "SessionChoice.h"

namespace {

TLoginSession Session(const char* id, unsigned uid, const char* seat, const char* type, std::uint64_t started = 1)
{
    TLoginSession session;
    session.Id = id;
    session.Uid = uid;
    session.Seat = seat;
    session.Type = type;
    session.Class = "user";
    session.State = "active";
    session.Started = started;
    return session;
}

TLoginSession With(TLoginSession session, void (*change)(TLoginSession&))
{
    change(session);
    return session;
}

TEST(ChooseHandOver, ToTheActiveGraphicalSessionOfALocalSeat)
{
    const TLoginSession x11 = Session("2", 1000, "seat0", "x11");
    const TLoginSession wayland = Session("3", 1001, "seat0", "wayland");
    const TLoginSession remote = With(Session("4", 1002, "", "x11"), [](TLoginSession& s) { s.Remote = true; });
    const TLoginSession removedUser = With(x11, [](TLoginSession& s) { s.UserExists = false; });
    const TLoginSession greeter =
        With(Session("c1", 120, "seat0", "wayland"), [](TLoginSession& s) { s.Class = "greeter"; });
    const TLoginSession switchedAway =
        With(Session("5", 1003, "seat0", "x11", 9), [](TLoginSession& s) { s.State = "online"; });
    const struct {
        const char* Row;
        unsigned OwnUid;
        std::vector<TLoginSession> Sessions;
        THandOverKind Kind;
        const char* Chosen;
    } cases[] = {
        {"not root", 1000, {x11}, THandOverKind::ShowHere, ""},
        {"no session", 0, {}, THandOverKind::NobodyThere, ""},
        {"one active x11 session", 0, {x11}, THandOverKind::Relaunch, "2"},
        {"one Wayland session", 0, {wayland}, THandOverKind::Relaunch, "3"},
        {"a remote session without a seat", 0, {remote}, THandOverKind::NobodyThere, ""},
        {"the session of a user who no longer exists", 0, {removedUser}, THandOverKind::NobodyThere, ""},
        {"a text console and the login screen",
         0,
         {Session("6", 1000, "seat0", "tty"), greeter},
         THandOverKind::NobodyThere,
         ""},
        {"the user switched to is active, not the one before", 0, {switchedAway, wayland}, THandOverKind::Relaunch, "3"},
        {"two active sessions: seat0 before a newer one",
         0,
         {Session("7", 1004, "seat1", "x11", 50), Session("8", 1005, "seat0", "x11", 10)},
         THandOverKind::Relaunch,
         "8"},
        {"two active sessions on other seats: the most recent",
         0,
         {Session("9", 1006, "seat1", "x11", 10), Session("10", 1007, "seat2", "wayland", 50)},
         THandOverKind::Relaunch,
         "10"},
        {"root's own session", 0, {Session("11", 0, "seat0", "x11")}, THandOverKind::ShowHere, "11"},
    };
    for (const auto& c : cases) {
        const TLoginHandOver choice = ChooseHandOver(c.OwnUid, c.Sessions);
        EXPECT_EQ(choice.Kind, c.Kind) << c.Row;
        EXPECT_EQ(choice.Session.Id, c.Chosen) << c.Row;
    }
}

TEST(ManagerEnvironment, PlainAndQuotedValues)
{
    const TVariables variables = ParseManagerEnvironment("DISPLAY=:0\n"
                                                         "DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/1000/bus\n"
                                                         "NAME=$'two words\\ttab \\'q\\' \\x41\\101 \\303\\274'\n"
                                                         "OLD=\"say \\\"hi\\\" \\$HOME\"\n"
                                                         "no equals sign\n"
                                                         "=nameless\n"
                                                         "EMPTY=");
    const TVariables expected = {
        {"DISPLAY", ":0"},
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus"},
        {"NAME", "two words\ttab 'q' AA \xC3\xBC"},
        {"OLD", "say \"hi\" $HOME"},
        {"EMPTY", ""},
    };
    EXPECT_EQ(variables, expected);
}

TEST(RelaunchEnvironment, TheSessionsVariablesAndTheUsersOwnOnly)
{
    const TAccount account{"alice", "/home/alice"};
    const TVariables manager = {{"XDG_RUNTIME_DIR", "/run/user/1000"},
                                {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus"},
                                {"DISPLAY", ":1"},
                                {"WAYLAND_DISPLAY", "wayland-0"},
                                {"LANG", "de_DE.UTF-8"},
                                {"LC_TIME", "en_GB.UTF-8"},
                                {"HOME", "/elsewhere"},
                                {"XAUTHORITY", ""},
                                {"EDITOR", "vi"},
                                {"LD_PRELOAD", "/tmp/x.so"}};
    const TVariables process = {{"DISPLAY", ":9"},
                                {"XAUTHORITY", "/run/user/1000/.mutter-Xwaylandauth"},
                                {"LANGUAGE", "de:en"},
                                {"LC_TIME", "fr_FR.UTF-8"},
                                {"LC_PAPER", "de_DE.UTF-8"},
                                {"PATH", "/home/alice/bin:/usr/bin"},
                                {"SSH_AUTH_SOCK", "/tmp/agent"}};
    const TVariables common = {{"XDG_RUNTIME_DIR", "/run/user/1000"},
                               {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus"},
                               {"XAUTHORITY", "/run/user/1000/.mutter-Xwaylandauth"},
                               {"WAYLAND_DISPLAY", "wayland-0"},
                               {"LANG", "de_DE.UTF-8"},
                               {"LANGUAGE", "de:en"},
                               {"LC_TIME", "en_GB.UTF-8"},
                               {"LC_PAPER", "de_DE.UTF-8"},
                               {"PATH", "/home/alice/bin:/usr/bin"},
                               {"HOME", "/home/alice"},
                               {"USER", "alice"},
                               {"LOGNAME", "alice"}};
    const auto expect = [&](const char* display) {
        TVariables variables = common;
        variables["DISPLAY"] = display;
        return variables;
    };
    const TLoginSession x11 = With(Session("2", 1000, "seat0", "x11"), [](TLoginSession& s) { s.Display = ":0"; });
    const TLoginSession wayland = Session("2", 1000, "seat0", "wayland");
    // logind's display of an x11 session before the variables; under Wayland
    // the manager's XWayland display, else a session process's.
    EXPECT_EQ(RelaunchEnvironment(account, x11, {manager, process}), expect(":0"));
    EXPECT_EQ(RelaunchEnvironment(account, wayland, {manager, process}), expect(":1"));
    EXPECT_EQ(RelaunchEnvironment(account, wayland, {{}, process}).at("DISPLAY"), ":9");
    const TVariables bare = RelaunchEnvironment(account, wayland, {{}, {}});
    EXPECT_EQ(bare, (TVariables{{"PATH", "/usr/local/bin:/usr/bin:/bin"},
                                {"HOME", "/home/alice"},
                                {"USER", "alice"},
                                {"LOGNAME", "alice"}}))
        << "no display: the caller finds none to show the window on";
}

} // namespace
