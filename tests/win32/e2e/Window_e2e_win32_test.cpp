// What only the Windows window run has: Wine gives a process the display
// language of its LC_ALL, which the window run inherits from this test's
// process, so CTest runs this test once as it is and once more with
// LC_ALL=de_DE.UTF-8.
#include <cstdlib>

#include "WindowRun.h"

namespace {

TEST_F(WindowRun, ShowsTheTextsOfTheUsersDisplayLanguage)
{
    WriteIni("[Strings]\r\n"
             "WindowsCaption=Software deployment\r\n"
             "InspectMessage=Inspecting\r\n"
             "WaitCloseMessage=Please wait\r\n"
             "InstallMessage=Installing %s\r\n"
             "[Strings.fr]\r\n"
             "WindowsCaption=D\xE9ploiement\r\n"
             "InspectMessage=Inspection\r\n"
             "WaitCloseMessage=Patientez\r\n"
             "InstallMessage=Installation de %s\r\n"
             "[Strings.de]\r\n"
             "WindowsCaption=Softwareverteilung\r\n"
             "InspectMessage=Ben\xF6tigte Software wird ermittelt\r\n"
             "InstallMessage=%s wird installiert\r\n"
             "[Strings.de-DE]\r\n"
             "WindowsCaption=Softwareverteilung in Deutschland\r\n");
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
