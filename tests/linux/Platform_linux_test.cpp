// What the Linux platform files give the portable code: the argument list in
// code page 1252, the executable's own path, the ini file beside it, and the
// letters of the user's locale.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <linux/keyctl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Handle.h"
#include "Process.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "Utf8.h"

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// Runs the probe (under `path`) and returns its lines.
std::vector<std::string> RunProbe(const AnsiString& path, const std::vector<std::string>& arguments)
{
    TChildProcess::TOptions options;
    options.CaptureOutput = true;
    options.Environment = {"LC_ALL=C.UTF-8"};
    TChildProcess child(path, arguments, options);
    const std::string output = child.ReadOutput();
    int exitCode = -1;
    EXPECT_TRUE(child.WaitForExit(std::chrono::seconds(20), exitCode));
    EXPECT_EQ(exitCode, 0) << output;
    return Lines(output);
}

TEST(ProcessArguments, ArriveInCodePage1252WithEmptyArgumentsLeftOut)
{
    // The source is UTF-8 but compiled to code page 1252: the arguments are
    // written as the UTF-8 a terminal would pass.
    const std::vector<std::string> arguments = {
        "-package", "Office Tools", "", "B\xC3\xBCro \xE2\x82\xAC", "\xE6\x97\xA5\xE6\x9C\xAC", "bad\xFF\xC3",
        "tab\there", "quote\"d", "\xC5\xB8\xC5\xA0"};
    const std::vector<std::string> lines = RunProbe(BinaryFolder() + "linux_probe", arguments);
    ASSERT_EQ(lines.size(), 3u + 8u);
    EXPECT_EQ(lines[0], BinaryFolder() + "linux_probe");
    const std::vector<std::string> expected = {
        "8:-package",   "12:Office Tools", "6:B\xFCro \x80", "2:??",
        "5:bad??",      "8:tab\there",     "7:quote\"d",    "2:\x9F\x8A",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.end()), expected);
}

TEST(ProcessArguments, ProgramPathIsTheResolvedExecutableAndTheIniLiesBesideIt)
{
    // A folder whose name code page 1252 cannot hold, reached through a
    // symbolic link from elsewhere: the ini file beside the real executable
    // is found all the same.
    TTempFolder folder("probe");
    const AnsiString real = folder.Path() + "\xD0\x9F\xC3\xBC/";
    std::filesystem::create_directories(real);
    std::filesystem::copy_file(BinaryFolder() + "linux_probe", real + "linux_probe");
    TTempFolder links("links");
    std::filesystem::create_symlink(real + "linux_probe", links.Path() + "notice");
    std::ofstream(real + "deployNotice.ini", std::ios::binary) << "[Strings]\r\nWindowsCaption=Beside\r\n";
    const std::vector<std::string> lines = RunProbe(links.Path() + "notice", {});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], real + "linux_probe");
    EXPECT_EQ(lines[1], real + "deployNotice.ini");
    EXPECT_EQ(lines[2], "Beside");
}

// The locale comes from the environment when a letter beyond ASCII first
// needs it; each test runs in a process of its own.
class UserLocale : public testing::Test {
protected:
    void SetUp() override { setenv("LC_ALL", "C.UTF-8", 1); }
};

TEST_F(UserLocale, LettersOfCodePage1252MapAndCompareByTheLocale)
{
    EXPECT_EQ(AnsiLowerCase("INSTALL \xC4\xD6\xDC \x8A\x8E\x8C\x9F \xC0-\xDE"), "install \xE4\xF6\xFC \x9A\x9E\x9C\xFF \xE0-\xFE");
    EXPECT_EQ(AnsiUpperCase("\xE4\xFF\x9A stra\xDF" "e"), "\xC4\x9F\x8A STRA\xDF" "E") << "no capital sharp s in the code page";
    EXPECT_EQ(AnsiCharLower('\xC9'), '\xE9');
    EXPECT_TRUE(AnsiIsCharAlphaNumeric('\xE9'));
    EXPECT_TRUE(AnsiIsCharAlphaNumeric('7'));
    EXPECT_FALSE(AnsiIsCharAlphaNumeric('\xD7')) << "the multiplication sign";
    EXPECT_FALSE(AnsiIsCharAlphaNumeric('\x80')) << "the euro sign";
    EXPECT_TRUE(AnsiSameText("-H\xC9LP", "-h\xE9lp"));
    EXPECT_LT(AnsiCompareStr("a", "b"), 0);
    EXPECT_GT(AnsiCompareText("B", "a"), 0);
    EXPECT_EQ(AnsiCompareText("\xC4", "\xE4"), 0);
}

// What a child of root keeps once it has become a user, as it sees itself.
std::map<std::string, std::string> OwnState(const struct stat& pipe, long rootKeyring)
{
    const auto line = [](const std::string& file, const std::string& name) {
        std::ifstream status(file);
        for (std::string text; std::getline(status, text);)
            if (text.starts_with(name))
                return text.substr(text.find_first_not_of(" \t", name.size()));
        return std::string();
    };
    std::string own;
    std::getline(std::ifstream("/proc/self/stat").seekg(0), own);
    std::istringstream fields(own.substr(own.rfind(')') + 2));
    std::string field[5];
    for (std::string& value : field)
        fields >> value;
    struct stat null { }, in { }, out { }, error { };
    stat("/dev/null", &null);
    fstat(STDIN_FILENO, &in);
    fstat(STDOUT_FILENO, &out);
    fstat(STDERR_FILENO, &error);
    int others = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        others += std::stoi(entry.path().filename().string()) > STDERR_FILENO ? 1 : 0;
    int deathSignal = 0;
    prctl(PR_GET_PDEATHSIG, &deathSignal);
    return {
        {"session leader", getsid(0) == getpid() ? "yes" : "no"},
        {"terminal", field[4]},
        {"input", in.st_rdev == null.st_rdev && S_ISCHR(in.st_mode) ? "/dev/null" : "other"},
        {"output", out.st_ino == pipe.st_ino && error.st_ino == pipe.st_ino ? "pipe" : "other"},
        // The one kept and the listing's own.
        {"descriptors above 2", std::to_string(others)},
        {"ids", line("/proc/self/status", "Uid:") + " / " + line("/proc/self/status", "Gid:")},
        {"capabilities", line("/proc/self/status", "CapEff:") + line("/proc/self/status", "CapAmb:")},
        {"no new privileges", std::to_string(prctl(PR_GET_NO_NEW_PRIVS, 0, 0, 0, 0))},
        {"root's keyring", syscall(SYS_keyctl, KEYCTL_GET_KEYRING_ID, KEY_SPEC_SESSION_KEYRING, 0) == rootKeyring ? "shared" : "not shared"},
        {"death signal", std::to_string(deathSignal)},
    };
}

// The steps between root's fork and the user's program: nothing of root's
// terminal, streams, descriptors, ids, capabilities or keys is left, and the
// child dies with root.
TEST(BecomeUser, LeavesNothingOfRootsToTheChild)
{
    if (getuid() != 0)
        GTEST_SKIP() << "becoming another user needs root";
    const TUserIdentity nobody = IdentityOf(65534);
    const long rootKeyring = syscall(SYS_keyctl, KEYCTL_GET_KEYRING_ID, KEY_SPEC_SESSION_KEYRING, 1);
    TPipe output = NewPipe();
    TPipe report = NewPipe();
    const TFileDescriptor nothing(open("/dev/null", O_RDWR | O_CLOEXEC));
    // Left open on exec, as an agent may leave one: it must not reach the user.
    const TFileDescriptor leaked(open("/dev/null", O_RDONLY));
    struct stat pipe { };
    ASSERT_EQ(fstat(output.Write.Get(), &pipe), 0);
    for (const bool parentLives : {true, false}) {
        const pid_t parent = parentLives ? getpid() : 1;
        const pid_t child = fork();
        if (child == 0) {
            const TBecomeStep step = BecomeUser(nobody, {nothing.Get(), output.Write.Get(), output.Write.Get(), report.Write.Get()}, parent);
            std::string text = std::to_string(static_cast<int>(step)) + "\n";
            for (const auto& [name, value] : OwnState(pipe, rootKeyring))
                text += name + "=" + value + "\n";
            _exit(write(report.Write.Get(), text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1);
        }
        EXPECT_EQ(WaitForChild(child), 0);
        char buffer[2048] = {};
        const ssize_t got = read(report.Read.Get(), buffer, sizeof buffer - 1);
        std::istringstream lines(std::string(buffer, got > 0 ? static_cast<size_t>(got) : 0));
        std::string step;
        std::getline(lines, step);
        if (!parentLives) {
            EXPECT_EQ(step, std::to_string(static_cast<int>(TBecomeStep::Parent))) << "a child whose parent has gone goes on";
            continue;
        }
        EXPECT_EQ(step, std::to_string(static_cast<int>(TBecomeStep::Done)));
        std::map<std::string, std::string> state;
        for (std::string line; std::getline(lines, line);)
            state[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        const std::map<std::string, std::string> expected = {
            {"session leader", "yes"},
            {"terminal", "0"},
            {"input", "/dev/null"},
            {"output", "pipe"},
            {"descriptors above 2", "2"},
            {"ids", "65534\t65534\t65534\t65534 / 65534\t65534\t65534\t65534"},
            {"capabilities", "00000000000000000000000000000000"},
            {"no new privileges", "1"},
            {"root's keyring", "not shared"},
            {"death signal", std::to_string(SIGTERM)},
        };
        EXPECT_EQ(state, expected);
    }
}

} // namespace
