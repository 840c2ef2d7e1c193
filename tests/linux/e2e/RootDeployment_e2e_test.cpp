// Deployments that run as root: a window run hands its window to the user of
// the active graphical session. The relaunch runs for real: root starts the
// test build of the program, whose session look-up names an unprivileged
// user (nobody) with a desktop of its own, a private display that only that
// user's cookie opens and a session bus on which that user's screen reader
// reads the window. The packaged program, which asks logind, is run against
// a logind of the test's (python-dbusmock's) on a private system bus, and
// against a system bus that is not there or never answers.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "Channel.h"
#include "Handle.h"
#include "StartUp.h"
#include "SysUtils.h"
#include "TestProcess.h"

namespace {

using namespace std::chrono_literals;

constexpr uid_t User = 65534;

const char TestIni[] = "[Strings]\r\n"
                       "WindowsCaption=Software deployment\r\n"
                       "InspectMessage=Inspecting\r\n"
                       "InstallMessage=Installing %s\r\n";

std::string ReadWhole(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

std::map<std::string, std::string> EnvironmentOf(pid_t process)
{
    std::map<std::string, std::string> variables;
    std::istringstream entries(ReadWhole("/proc/" + std::to_string(process) + "/environ"));
    for (std::string entry; std::getline(entries, entry, '\0');)
        variables.emplace(entry.substr(0, entry.find('=')), entry.substr(entry.find('=') + 1));
    return variables;
}

// The value of a line of /proc/<pid>/status, blanks folded.
std::string StatusOf(pid_t process, const std::string& name)
{
    std::istringstream lines(ReadWhole("/proc/" + std::to_string(process) + "/status"));
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with(name + ":")) {
            std::istringstream words(line.substr(name.size() + 1));
            std::string value;
            for (std::string word; words >> word;)
                value += (value.empty() ? "" : " ") + word;
            return value;
        }
    return "";
}

// The window run that `parent` has relaunched as the user, once it has: the
// child with the user's environment (the look-up's own children have none),
// other than `earlier`.
pid_t ChildOf(pid_t parent, pid_t earlier = -1)
{
    const std::string pid = std::to_string(parent);
    pid_t window = -1;
    WaitUntil([&] {
        std::istringstream children(ReadWhole("/proc/" + pid + "/task/" + pid + "/children"));
        for (pid_t child; children >> child;)
            if (child != earlier && EnvironmentOf(child)["USER"] == "nobody")
                window = child;
        return window > 0;
    });
    return window;
}

// A new cookie file, or one more cookie in it; xauth's exit code.
int AddCookie(const std::string& file, const std::string& display, const std::string& cookie)
{
    TChildProcess::TOptions quiet;
    quiet.CaptureOutput = true;
    return RunToEnd("/usr/bin/xauth", {"-f", file, "add", display, ".", cookie}, quiet);
}

// Starts a server or bus as a child that is asked to end when the test ends.
class TService {
public:
    TService(const std::string& program, const std::vector<std::string>& arguments,
             const TChildProcess::TOptions& options = {})
        : FProcess(program, arguments, options)
    {
    }
    pid_t Id() const { return FProcess.Id(); }
    ~TService()
    {
        kill(FProcess.Id(), SIGTERM);
        int ignored = 0;
        FProcess.WaitForExit(5s, ignored);
    }

private:
    TChildProcess FProcess;
};

// The desktop of the unprivileged user: its runtime folder, a private Xvfb
// display that only the user's cookie opens, and its session bus.
class TUserDesktop {
public:
    TUserDesktop()
    {
        const std::string runtime = Folder.Path() + "runtime";
        std::filesystem::create_directory(runtime);
        EXPECT_EQ(chown(runtime.c_str(), User, User), 0);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        std::random_device random;
        std::string cookie;
        for (int i = 0; i < 4; ++i)
            cookie += Format("%08x", static_cast<unsigned>(random()));
        // The server takes every cookie of its file, whatever display it names.
        // It must not reset when its last client leaves: while it resets, it
        // refuses connections, and a probe's leaving would make the window
        // that starts next find no display.
        const std::string serverCookies = Folder.Path() + "server.auth";
        EXPECT_EQ(AddCookie(serverCookies, ":0", cookie), 0);
        const std::string number = Folder.Path() + "display";
        FDisplay = std::make_unique<TService>(
            "/bin/sh", std::vector<std::string>{"-c",
                                                "exec Xvfb -displayfd 3 -auth \"$1\" -nolisten tcp -noreset "
                                                "-screen 0 1280x1024x24 3>\"$2\" >/dev/null 2>&1",
                                                "sh", serverCookies, number});
        std::string written;
        WaitUntil([&] { return (written = ReadWhole(number)).find('\n') != std::string::npos; });
        DisplayName = ":" + written.substr(0, written.find('\n'));
        Cookies = Folder.Path() + "user.auth";
        EXPECT_EQ(AddCookie(Cookies, DisplayName, cookie), 0);
        EXPECT_EQ(chown(Cookies.c_str(), User, User), 0);
        std::filesystem::permissions(Cookies, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

        Variables = {{"DISPLAY", DisplayName},     {"XAUTHORITY", Cookies},
                     {"XDG_RUNTIME_DIR", runtime}, {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + runtime + "/bus"},
                     {"LANG", "C.UTF-8"},          {"LC_TIME", "C.UTF-8"},
                     {"PATH", "/usr/bin:/bin"}};
        TChildProcess::TOptions asUser;
        asUser.User = User;
        asUser.Environment = Entries();
        // The bus and the accessibility services that it starts report each
        // start on its output, which is none of the test's.
        FBus = std::make_unique<TService>(
            "/bin/sh",
            std::vector<std::string>{"-c",
                                     "exec dbus-daemon --session --nofork --nopidfile --address=\"$1\" >/dev/null 2>&1",
                                     "sh", Variables["DBUS_SESSION_BUS_ADDRESS"]},
            asUser);
        EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(runtime + "/bus"); }));
    }

    std::vector<std::string> Entries() const
    {
        // Not the test desktop's accessibility bus: the user's session bus
        // starts one of its own.
        std::vector<std::string> entries{"HOME=" + Folder.Path(), "AT_SPI_BUS_ADDRESS="};
        for (const auto& [name, value] : Variables)
            entries.push_back(name + "=" + value);
        return entries;
    }

    // The caption, the upper and the lower line of the process's window as
    // the user's screen reader reads them; empty while there is none.
    std::vector<std::string> WindowOf(pid_t process) const
    {
        TChildProcess::TOptions asUser;
        asUser.User = User;
        asUser.Environment = Entries();
        asUser.CaptureOutput = true;
        TChildProcess probe(BinaryFolder() + "window_probe", {std::to_string(process)}, asUser);
        std::istringstream output(probe.ReadOutput());
        int exitCode = -1;
        std::vector<std::string> lines;
        if (!probe.WaitForExit(10s, exitCode) || exitCode != 0)
            return lines;
        for (std::string line; std::getline(output, line);)
            lines.push_back(line);
        return lines;
    }

    // Whether someone without the user's cookie can open the display.
    bool OpensWithoutCookie() const
    {
        TChildProcess::TOptions options;
        options.Environment = {"XAUTHORITY=" + Folder.Path() + "none"};
        options.CaptureOutput = true;
        return RunToEnd("/usr/bin/xdpyinfo", {"-display", DisplayName}, options) == 0;
    }

    // A process of the user's with the desktop's variables.
    pid_t UsersProcess() const { return FBus->Id(); }

    TTempFolder Folder{"desktop"};
    std::string DisplayName;
    std::string Cookies;
    std::map<std::string, std::string> Variables;

private:
    std::unique_ptr<TService> FDisplay;
    std::unique_ptr<TService> FBus;
};

class RootDeployment : public testing::Test {
protected:
    void SetUp() override
    {
        if (getuid() != 0)
            GTEST_SKIP() << "a run as root relaunches as another user; run the tests as root to see it (CI does)";
        Program = Folder.Path() + "deployNotice";
        std::filesystem::copy_file(ProgramPath(), Program);
        Folder.Write("deployNotice.ini", TestIni);
    }

    // The root run of the test build with the session of `variables`'
    // user; its own environment carries a variable of root's own.
    std::unique_ptr<TChildProcess> StartAsRoot(const std::map<std::string, std::string>& variables)
    {
        std::string text = "EDITOR=vi\n";
        for (const auto& [name, value] : variables)
            text += name + "=" + value + "\n";
        TChildProcess::TOptions options;
        options.Environment = {"DN_TEST_SESSION_USER=" + std::to_string(User),
                               "DN_TEST_SESSION_VARIABLES=" + Folder.Write("session.env", text), "ROOT_ONLY=1"};
        options.CaptureOutput = true;
        return std::make_unique<TChildProcess>(Program, std::vector<std::string>{}, options);
    }

    bool UpperBecomes(const TUserDesktop& desktop, pid_t window, const std::string& text)
    {
        return WaitUntil(
            [&] {
                const std::vector<std::string> lines = desktop.WindowOf(window);
                return lines.size() == 3 && lines[1] == text;
            },
            20s);
    }

    TTempFolder Folder{"root"};
    AnsiString Program;
};

TEST_F(RootDeployment, WindowAppearsForTheSessionsUserWithTheSessionsEnvironmentOnly)
{
    TUserDesktop desktop;
    EXPECT_FALSE(desktop.OpensWithoutCookie()) << "the test display must be the user's alone";

    auto root = StartAsRoot(desktop.Variables);
    const pid_t window = ChildOf(root->Id());
    ASSERT_GT(window, 0) << "no relaunch";
    ASSERT_TRUE(UpperBecomes(desktop, window, "Inspecting"));
    EXPECT_EQ(desktop.WindowOf(window), (std::vector<std::string>{"Software deployment", "Inspecting", ""}));

    // A session of its own, so no terminal of root's, and none of root's
    // streams: its commands come from root's run through its input.
    EXPECT_EQ(StatusOf(window, "NSsid"), std::to_string(window));
    for (const auto& [descriptor, kind] : {std::pair{0, "socket:"}, {1, "pipe:"}, {2, "pipe:"}})
        EXPECT_TRUE(
            std::filesystem::read_symlink(Format("/proc/%d/fd/%d", window, descriptor)).string().starts_with(kind))
            << descriptor;
    EXPECT_EQ(StatusOf(window, "Uid"), "65534 65534 65534 65534");
    EXPECT_EQ(StatusOf(window, "Gid"), "65534 65534 65534 65534");
    for (const char* capabilities : {"CapInh", "CapPrm", "CapEff", "CapAmb"})
        EXPECT_EQ(StatusOf(window, capabilities), "0000000000000000") << capabilities;
    std::map<std::string, std::string> expected = desktop.Variables;
    expected.insert(
        {{"HOME", "/nonexistent"}, {"USER", "nobody"}, {"LOGNAME", "nobody"}, {"DEPLOYNOTICE_COMMANDS", "stdin"}});
    EXPECT_EQ(EnvironmentOf(window), expected) << "nothing of root's environment passes";

    // Root's senders reach the user's window; -terminate ends both runs.
    EXPECT_EQ(RunToEnd(Program, {"-package", "Foo", "install"}), 0);
    EXPECT_TRUE(UpperBecomes(desktop, window, "Installing Foo"));
    EXPECT_EQ(RunToEnd(Program, {"-terminate"}), 0);
    int exitCode = -1;
    ASSERT_TRUE(root->WaitForExit(20s, exitCode));
    EXPECT_EQ(exitCode, 0);
    const std::string output = root->ReadOutput();
    const std::string pid = std::to_string(window);
    EXPECT_NE(output.find("deployNotice: relaunched for user nobody (uid 65534) in session test on display " +
                          desktop.DisplayName + ": process " + pid + "\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("deployNotice: the window run of user nobody (process " + pid + ") ended with exit code 0\n"),
              std::string::npos)
        << output;
}

TEST_F(RootDeployment, AWindowRunThatTheDisplayRefusesIsLoggedAsNoWindowNeverAsEnded)
{
    TUserDesktop desktop;
    std::map<std::string, std::string> variables = desktop.Variables;
    variables.erase("XAUTHORITY");
    auto root = StartAsRoot(variables);
    int exitCode = -1;
    ASSERT_TRUE(root->WaitForExit(20s, exitCode));
    EXPECT_EQ(exitCode, 0);
    const std::string output = root->ReadOutput();
    EXPECT_NE(output.find(") could not open display " + desktop.DisplayName + ", which takes the user's XAUTHORITY"),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find("ended with exit code"), std::string::npos) << output;
}

TEST_F(RootDeployment, TheRootRunWaitsForTheWindowAndLogsHowItEnded)
{
    TUserDesktop desktop;
    auto root = StartAsRoot(desktop.Variables);
    const pid_t window = ChildOf(root->Id());
    ASSERT_TRUE(UpperBecomes(desktop, window, "Inspecting"));
    int exitCode = -1;
    EXPECT_FALSE(root->WaitForExit(500ms, exitCode)) << "root ended before the window";
    kill(window, SIGKILL);
    ASSERT_TRUE(root->WaitForExit(20s, exitCode));
    EXPECT_EQ(exitCode, 0);
    const std::string output = root->ReadOutput();
    EXPECT_NE(
        output.find("the window run of user nobody (process " + std::to_string(window) + ") was ended by signal 9\n"),
        std::string::npos)
        << output;
}

// A deployment agent that kills its script on a time-out leaves no window
// behind that would hold the channel for every later deployment.
TEST_F(RootDeployment, TheWindowEndsWhenTheRootRunIsKilled)
{
    TUserDesktop desktop;
    auto root = StartAsRoot(desktop.Variables);
    const pid_t window = ChildOf(root->Id());
    ASSERT_TRUE(UpperBecomes(desktop, window, "Inspecting"));
    root->Kill();
    EXPECT_TRUE(WaitUntil([&] { return StatusOf(window, "State").empty() || StatusOf(window, "State")[0] == 'Z'; }, 5s))
        << "the window outlived the root run";
}

// What the user's window run writes reaches the deployment's log through
// root's run, marked as the user's: here why it could not show its window.
TEST_F(RootDeployment, TheWindowRunsLinesReachRootsStandardErrorMarkedAsTheUsers)
{
    TUserDesktop desktop;
    std::map<std::string, std::string> variables = desktop.Variables;
    variables["XAUTHORITY"] = Folder.Write("other.auth", "no cookie");
    auto root = StartAsRoot(variables);
    int exitCode = -1;
    ASSERT_TRUE(root->WaitForExit(20s, exitCode));
    const std::string output = root->ReadOutput();
    EXPECT_NE(output.find("\ndeployNotice: window run of user nobody: deployNotice: Unable to open the display.\n"),
              std::string::npos)
        << output;
}

// The deployment's cache may be closed to users: nothing is shown, and the
// administrator reads why.
TEST_F(RootDeployment, AUserWhoCannotRunTheProgramOrReadItsTextsGetsNoWindow)
{
    namespace fs = std::filesystem;
    const fs::perms rootOnly = fs::perms::owner_all;
    const fs::perms shared = fs::perms::all;
    const fs::perms readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const std::string Failed = "deployNotice: relaunch into session test for user nobody failed: ";
    const struct {
        const char* Row;
        fs::perms Folder;
        fs::perms Program;
        fs::perms Ini;
        std::string Line;
    } cases[] = {
        {"a folder closed to users", rootOnly, shared, readable,
         Failed + "user nobody cannot run " + Program + " (error 13: Permission denied)\n"},
        {"a program only root may run", shared, rootOnly, readable,
         Failed + "user nobody cannot run " + Program + " (error 13: Permission denied)\n"},
        {"texts only root may read", shared, shared, fs::perms::owner_read,
         Failed + "user nobody cannot read " + Folder.Path() + "deployNotice.ini (error 13: Permission denied)\n"},
    };
    for (const auto& c : cases) {
        fs::permissions(Folder.Path(), c.Folder);
        fs::permissions(Program, c.Program);
        fs::permissions(Folder.Path() + "deployNotice.ini", c.Ini);
        SCOPED_TRACE(c.Row);
        auto root = StartAsRoot({{"DISPLAY", ":0"}});
        ExpectEndsWithZero(*root);
        const std::string output = root->ReadOutput();
        EXPECT_NE(output.find(c.Line), std::string::npos) << output;
        EXPECT_EQ(output.find("relaunched"), std::string::npos) << output;
    }
    fs::permissions(Folder.Path(), shared);
}

// A root run while a window is open shows no error box: it would hold the
// deployment until the user closed it.
TEST_F(RootDeployment, AWindowAlreadyOpenIsLoggedWithoutARelaunch)
{
    const TChannelReader window(CommandChannelName);
    auto root = StartAsRoot({{"DISPLAY", ":0"}});
    int exitCode = -1;
    ASSERT_TRUE(root->WaitForExit(10s, exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(root->ReadOutput(), "deployNotice: Unable to create Mailslot.\n");
}

// A logind of the test's (python-dbusmock's template) on a private system
// bus, whose sessions the test adds and removes. Its sessions' processes are
// not in a session-<id>.scope: the user's variables come from logind's
// leader or the leader's children.
class TLogind {
public:
    struct TSession {
        std::string Id;
        std::string Type;
        bool Remote;
        bool Active;
    };

    TLogind()
    {
        EXPECT_TRUE(WaitUntil(
            [&] {
                return Gdbus({"wait", "--system", "--timeout", "1", "org.freedesktop.login1"});
            },
            20s));
    }

    void Add(const TSession& session, const std::string& display, pid_t leader) const
    {
        const std::string path = "/org/freedesktop/login1/session/" + session.Id;
        const std::string properties =
            Format("{'Type': <'%s'>, 'Remote': <%s>, 'Display': <'%s'>, 'Leader': <uint32 %d>}", session.Type.c_str(),
                   session.Remote ? "true" : "false", session.Type == "x11" ? display.c_str() : "", leader);
        EXPECT_TRUE(Mock("/org/freedesktop/login1", "AddSession",
                         {session.Id, "seat0", std::to_string(User), "nobody", session.Active ? "true" : "false"}));
        EXPECT_TRUE(Mock(path, "UpdateProperties", {"org.freedesktop.login1.Session", properties}));
    }

    void Remove(const std::string& id) const
    {
        EXPECT_TRUE(Mock("/org/freedesktop/login1", "RemoveObject", {"/org/freedesktop/login1/session/" + id}));
    }

    TTempFolder Folder{"logind"};
    const std::string Address = "unix:path=" + Folder.Path() + "system";
    const std::vector<std::string> OnBus{"DBUS_SYSTEM_BUS_ADDRESS=" + Address};

private:
    bool Gdbus(const std::vector<std::string>& arguments) const
    {
        return RunToEnd("/usr/bin/gdbus", arguments, {OnBus, true}) == 0;
    }
    bool Mock(const std::string& path, const std::string& method, std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), {"call", "--system", "--dest", "org.freedesktop.login1", "--object-path",
                                             path, "--method", "org.freedesktop.DBus.Mock." + method});
        return Gdbus(arguments);
    }

    TService FDaemon{
        "/bin/sh",
        {"-c", "exec dbus-daemon --session --nofork --nopidfile --address=\"$1\" >/dev/null 2>&1", "sh", Address}};
    // Once the bus is there: the template connects once, at its start.
    TService FLogind{"/bin/sh",
                     {"-c",
                      "until [ -S \"$1\" ]; do sleep 0.05; done; "
                      "exec /usr/bin/python3 -m dbusmock --system --template logind >/dev/null 2>&1",
                      "sh", Folder.Path() + "system"},
                     {OnBus}};
};

// The packaged program's own look-up, asked of the test's logind.
class RootDeploymentWithLogind : public RootDeployment {
protected:
    void SetUp() override
    {
        RootDeployment::SetUp();
        std::filesystem::copy_file(PackagedProgramPath(), Program, std::filesystem::copy_options::overwrite_existing);
    }

    std::unique_ptr<TChildProcess> StartAgainst(const TLogind& logind)
    {
        std::vector<std::string> environment = logind.OnBus;
        environment.insert(environment.end(), {"DISPLAY=", "WAYLAND_DISPLAY="});
        return std::make_unique<TChildProcess>(Program, std::vector<std::string>{},
                                               TChildProcess::TOptions{environment, true});
    }

    // -terminate ends the root run and its window; the root run's output.
    std::string Terminate(TChildProcess& root)
    {
        EXPECT_EQ(RunToEnd(Program, {"-terminate"}), 0);
        ExpectEndsWithZero(root);
        return root.ReadOutput();
    }
};

// Whoever sits at the machine sees the deployment: a window run that found
// nobody waits, keeps what the window would show, and shows it in the
// session that logs on; a session that goes away takes the window with it,
// and the next one gets it with what was sent in between, a countdown going
// on where it stood.
TEST_F(RootDeploymentWithLogind, TheWindowFollowsTheActiveSession)
{
    Folder.Write("deployNotice.ini", std::string(TestIni) + "RebootMessageTime=Restart in %s s\r\n");
    TUserDesktop desktop;
    const TLogind logind;
    auto root = StartAgainst(logind);
    EXPECT_EQ(RunToEnd(Program, {"-package", "Foo", "install"}), 0);
    const auto logOn = [&](const std::vector<TLogind::TSession>& sessions, pid_t leader, pid_t earlier) {
        for (const TLogind::TSession& session : sessions)
            logind.Add(session, desktop.DisplayName, leader);
        return ChildOf(root->Id(), earlier);
    };
    const pid_t first = logOn({{"c1", "x11", false, true}}, getpid(), -1);
    EXPECT_TRUE(UpperBecomes(desktop, first, "Installing Foo"));

    logind.Remove("c1");
    EXPECT_TRUE(WaitUntil([&] { return StatusOf(first, "State").empty() || StatusOf(first, "State")[0] == 'Z'; }, 10s));
    EXPECT_EQ(RunToEnd(Program, {"-package", "Bar", "install"}), 0);
    const pid_t second = logOn({{"c2", "x11", false, true}}, getpid(), first);
    EXPECT_TRUE(UpperBecomes(desktop, second, "Installing Bar"));

    EXPECT_EQ(RunToEnd(Program, {"-reboot", "300"}), 0);
    // The seconds that a window's countdown shows; -1 before it shows one.
    const auto secondsLeft = [&](pid_t window) {
        const std::vector<std::string> lines = desktop.WindowOf(window);
        return lines.size() == 3 && lines[1].starts_with("Restart in ") ? std::stoi(lines[1].substr(11)) : -1;
    };
    int before = -1;
    EXPECT_TRUE(WaitUntil([&] { return (before = secondsLeft(second)) >= 0 && before < 300; }, 10s));
    logind.Remove("c2");
    // A Wayland session with XWayland beside a text and a remote session,
    // the user's variables from its leader itself.
    const pid_t third = logOn({{"t3", "tty", false, false}, {"r3", "x11", true, false}, {"c3", "wayland", false, true}},
                              desktop.UsersProcess(), second);
    int after = -1;
    EXPECT_TRUE(WaitUntil([&] { return (after = secondsLeft(third)) >= 0; }, 10s));
    EXPECT_LE(after, before) << "the countdown goes on where it stood";

    const std::string output = Terminate(*root);
    for (const char* line :
         {"deployNotice: nobody is logged on to a graphical session: the window waits for one\n",
          "deployNotice: session c1 is no longer the active graphical session: the window of user nobody ends there\n",
          "in session c2 on display", "in session c3 on display"})
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
}

// The packaged program asks logind on the system bus; where there is none,
// or where the bus takes the connection and never answers, nobody is there
// to see the window, and the window run waits for someone: each look-up
// gives up after two seconds, so -terminate still ends it at once. Only the
// window run looks.
TEST(RootDeploymentWithoutLogind, NobodyIsThereAndOnlyTheWindowRunAsks)
{
    if (getuid() != 0)
        GTEST_SKIP() << "only a run as root looks for the user's session; run the tests as root to see it (CI does)";
    TTempFolder folder("bus");
    // Takes connections and never says a word.
    sockaddr_un silent{};
    silent.sun_family = AF_UNIX;
    (folder.Path() + "silent").copy(silent.sun_path, sizeof silent.sun_path - 1);
    const TFileDescriptor listener(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    ASSERT_EQ(bind(listener.Get(), reinterpret_cast<const sockaddr*>(&silent), sizeof silent), 0);
    ASSERT_EQ(listen(listener.Get(), 8), 0);

    const std::string waiting = "deployNotice: nobody is logged on to a graphical session: the window waits for one\n";
    const std::string none = "unix:path=" + folder.Path() + "none";
    const std::string quiet = "unix:path=" + folder.Path() + "silent";
    const struct {
        const char* Row;
        std::string Bus;
        std::vector<std::string> Arguments;
        std::string Output;
        bool Waits;
    } cases[] = {
        {"no system bus", none, {}, waiting, true},
        {"a bus that never answers", quiet, {}, waiting, true},
        {"a usage run", quiet, {"-help"}, "deployNotice: " + std::string(UsageText) + "\n", false},
        {"a usage run with a display", quiet, {"-help"}, "deployNotice: " + std::string(UsageText) + "\n", false},
        {"a sender run", quiet, {"-finish"}, "", false},
    };
    for (const auto& c : cases) {
        TChildProcess::TOptions options;
        // Only the usage run with a display keeps the test's: root opens no
        // box on it.
        const bool display = std::string(c.Row).ends_with("display");
        options.Environment = {"DBUS_SYSTEM_BUS_ADDRESS=" + c.Bus,
                               display ? "DN_UNUSED=" : "DISPLAY=", "WAYLAND_DISPLAY="};
        options.CaptureOutput = true;
        TChildProcess run(PackagedProgramPath(), c.Arguments, options);
        int exitCode = -1;
        if (c.Waits) {
            EXPECT_FALSE(run.WaitForExit(2500ms, exitCode)) << c.Row;
            EXPECT_EQ(RunToEnd(PackagedProgramPath(), {"-terminate"}, options), 0) << c.Row;
        }
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(run.WaitForExit(10s, exitCode)) << c.Row;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3000ms) << c.Row;
        EXPECT_EQ(exitCode, 0) << c.Row;
        EXPECT_EQ(run.ReadOutput(), c.Output) << c.Row;
    }
}

} // namespace
