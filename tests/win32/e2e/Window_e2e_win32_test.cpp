// What only the Windows window run has: Wine gives a process the display
// language of its LC_ALL, which the window run inherits from this test's
// process, so CTest runs this test once as it is and once more with
// LC_ALL=de_DE.UTF-8.
#include <windows.h>

#include <cstdlib>

#include "WindowRun.h"

namespace {

// It changes the resolution of the display that every test shares, so it
// runs alone, registered once more as ".alone" (tests/e2e/CMakeLists.txt).
TEST_F(WindowRun, AnotherScreenSizePutsTheWindowBackInTheMiddle)
{
    if (std::getenv("DN_TEST_ALONE") == nullptr)
        GTEST_SKIP() << "changes the shared display: runs as WindowRun.AnotherScreenSize...alone";
    WriteIni(TestIni);
    auto window = Start();
    ASSERT_TRUE(WaitForWindow(*window).Found);
    DEVMODEW small{};
    small.dmSize = sizeof small;
    small.dmPelsWidth = 1024;
    small.dmPelsHeight = 768;
    small.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(ChangeDisplaySettingsW(&small, 0), DISP_CHANGE_SUCCESSFUL) << "scripts/with-wine.sh adds the mode";
    EXPECT_TRUE(WaitUntil([&] { return ReadFrame(*window).Centred; }));
    ChangeDisplaySettingsW(nullptr, 0);
    Send({"-terminate"});
    ExpectEndsWithZero(*window);
}

TEST_F(WindowRun, ShowsTheTextsOfTheUsersDisplayLanguage)
{
    WriteIni(AnsiString(LanguagesIni) + "[Strings.de-DE]\r\nWindowsCaption=Softwareverteilung in Deutschland\r\n");
    const char* locale = std::getenv("LC_ALL");
    const bool german = locale != nullptr && std::string(locale).starts_with("de_DE");
    auto window = Start();
    const TWindowSeen seen = WaitForWindow(*window);
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Caption, german ? "Softwareverteilung in Deutschland" : "Software deployment");
    EXPECT_EQ(seen.Upper, german ? "Ben\xC3\xB6tigte Software wird ermittelt" : "Inspecting");
    // The German sections lack this key.
    EXPECT_EQ(seen.Lower, "Please wait");
    Send({"-package", "Foo", "install"});
    EXPECT_TRUE(UpperBecomes(*window, german ? "Foo wird installiert" : "Installing Foo")) << ReadWindow(*window).Upper;
    Send({"-terminate"});
    ExpectEndsWithZero(*window);
}

} // namespace
