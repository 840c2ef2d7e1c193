// What the Linux platform files give the portable code: the argument list in
// code page 1252, the executable's own path, the ini file beside it, and the
// letters of the user's locale.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
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

// What a child of root has kept once it has become a user, as it sees
// itself (its ids, capabilities and streams are read from outside in the
// root deployment's end-to-end test).
std::map<std::string, std::string> KeptOfRoots(long rootKeyring)
{
    int others = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        others += std::stoi(entry.path().filename().string()) > STDERR_FILENO ? 1 : 0;
    int deathSignal = 0;
    prctl(PR_GET_PDEATHSIG, &deathSignal);
    const long keyring = syscall(SYS_keyctl, KEYCTL_GET_KEYRING_ID, KEY_SPEC_SESSION_KEYRING, 0);
    return {{"session leader", getsid(0) == getpid() ? "yes" : "no"},
            // The one kept and the listing's own.
            {"descriptors above 2", std::to_string(others)},
            {"root's keyring", keyring == rootKeyring ? "shared" : "not shared"},
            {"death signal", std::to_string(deathSignal)},
            {"no new privileges", std::to_string(prctl(PR_GET_NO_NEW_PRIVS, 0, 0, 0, 0))}};
}

// The steps between root's fork and the user's program leave nothing of
// root's terminal, descriptors or keys, and tie the child to root's run; a
// child whose parent is gone already goes no further.
TEST(BecomeUser, LeavesNothingOfRootsToTheChild)
{
    if (getuid() != 0)
        GTEST_SKIP() << "becoming another user needs root";
    const TUserIdentity nobody = IdentityOf(65534);
    const long rootKeyring = syscall(SYS_keyctl, KEYCTL_GET_KEYRING_ID, KEY_SPEC_SESSION_KEYRING, 1);
    TPipe report = NewPipe();
    const TFileDescriptor nothing(open("/dev/null", O_RDWR | O_CLOEXEC));
    // Left open on exec, as an agent may leave one: it must not reach the user.
    const TFileDescriptor leaked(open("/dev/null", O_RDONLY));
    for (const pid_t parent : {getpid(), 1}) {
        const pid_t child = fork();
        if (child == 0) {
            const TBecomeStep step =
                BecomeUser(nobody, {nothing.Get(), nothing.Get(), nothing.Get(), report.Write.Get()}, parent);
            std::string text = std::to_string(static_cast<int>(step)) + "\n";
            for (const auto& [name, value] : KeptOfRoots(rootKeyring))
                text += name + "=" + value + "\n";
            _exit(write(report.Write.Get(), text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1);
        }
        EXPECT_EQ(WaitForChild(child), 0);
        char buffer[1024] = {};
        std::istringstream lines(std::string(buffer, std::max<ssize_t>(read(report.Read.Get(), buffer, sizeof buffer), 0)));
        std::string step;
        std::getline(lines, step);
        EXPECT_EQ(step, std::to_string(static_cast<int>(parent == 1 ? TBecomeStep::Parent : TBecomeStep::Done)));
        if (parent == 1)
            continue;
        std::map<std::string, std::string> kept;
        for (std::string line; std::getline(lines, line);)
            kept[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        EXPECT_EQ(kept, (std::map<std::string, std::string>{{"session leader", "yes"},
                                                            {"descriptors above 2", "2"},
                                                            {"root's keyring", "not shared"},
                                                            {"death signal", std::to_string(SIGTERM)},
                                                            {"no new privileges", "1"}}));
    }
}

} // namespace
