// The settings of a real process: the probe reads the ini file beside its own
// executable, wherever it is started from.
#include <gtest/gtest.h>

#include <fstream>

#include "TestProcess.h"

namespace {

using namespace std::chrono_literals;

AnsiString RunProbe(const AnsiString& probe)
{
    TChildProcess child(TCommandLine{probe, "\"" + probe + "\""}, {.CaptureOutput = true});
    const AnsiString output = child.ReadOutput();
    int exitCode = -1;
    EXPECT_TRUE(child.WaitForExit(20s, exitCode));
    EXPECT_EQ(exitCode, 0);
    return output;
}

TEST(SettingsProbe, ReadsTheIniFileBesideItsExecutable)
{
    TTempFolder folder("dn-settings");
    const AnsiString probe = folder.Path() + "settings_probe.exe";
    ASSERT_TRUE(CopyFileA((BinaryFolder() + "settings_probe.exe").c_str(), probe.c_str(), FALSE));
    // Without a file the texts are empty.
    EXPECT_EQ(RunProbe(probe), folder.Path() + "deployNotice.ini\n\n\n");

    std::ofstream(folder.Path() + "deployNotice.ini", std::ios::binary)
        << "[Strings]\r\nWindowsCaption=Beside\tthe remark\r\nInstallMessage=Installing %s\\nnow\r\n";
    EXPECT_EQ(RunProbe(probe), folder.Path() + "deployNotice.ini\nBeside\nInstalling Pkg\r\nnow\n");
}

} // namespace
