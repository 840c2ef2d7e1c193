#include <gtest/gtest.h>

#include "Expect.h"
#include "FilePaths.h"
#include "TempFolder.h"
#include "SysUtils.h"
#include "Unt_settings.h"

namespace {

TEST(SettingsFileName, DirectoryOfTheExecutableByThePlatformsRuleThenTheIniName)
{
    // Windows cuts at the last backslash or colon; Linux at the last slash,
    // and a backslash or colon is an ordinary character there.
    const bool windows = PathDelimiter == '\\';
    const struct {
        const char* Executable;
        const char* Windows;
        const char* Linux;
    } cases[] = {
        {"C:\\Program Files\\Deploy\\deployNotice.exe", "C:\\Program Files\\Deploy\\deployNotice.ini",
         "deployNotice.ini"},
        {"\\\\server\\share\\x.exe", "\\\\server\\share\\deployNotice.ini", "deployNotice.ini"},
        {"C:x.exe", "C:\\deployNotice.ini", "deployNotice.ini"},
        {"x.exe", "deployNotice.ini", "deployNotice.ini"},
        {"", "deployNotice.ini", "deployNotice.ini"},
        {"/opt/deploynotice/deployNotice", "deployNotice.ini", "/opt/deploynotice/deployNotice.ini"},
        {"/deployNotice", "deployNotice.ini", "/deployNotice.ini"},
        {"/a\\b:c/x", "/a\\b:\\deployNotice.ini", "/a\\b:c/deployNotice.ini"},
    };
    for (const auto& item : cases)
        EXPECT_EQ(SettingsFileNameFor(item.Executable), windows ? item.Windows : item.Linux) << item.Executable;

    AnsiString deep = windows ? "C:" : "";
    while (deep.size() < 400)
        deep += PathDelimiter + AnsiString("folder");
    EXPECT_EQ(SettingsFileNameFor(deep + PathDelimiter + "deployNotice.exe"),
              deep + PathDelimiter + "deployNotice.ini");
}

// Each test writes its own file: Wine keeps an ini file cached by its name.
class SettingsFile : public testing::Test {
protected:
    TTempFolder Folder;

    AnsiString WriteStrings(const AnsiString& lines) { return Folder.Write("[Strings]\r\n" + lines); }
};

struct TMessageCase {
    const char* Value; // as written in the file
    const char* Argument;
    const char* Expected;
};

const TMessageCase MessageCases[] = {
    {"Installing %s now", "Office", "Installing Office now"},
    {"%s and %s", "A", "A and A"},
    {"Installing %s", "", "Installing %s"},
    {"one\\ntwo", "", "one\r\ntwo"},
    {"\\nfirst", "", "\r\nfirst"},
    {"a\\\\nb", "", "a\\\r\nb"},
    {"ends with\\", "x", "ends with\\"},
    {"a\\tb\\x\\", "", "a\\tb\\x\\"},
    {"A%SB\\NC", "x", "A%SB\\NC"},
    {"100%% %d %", "x", "100%% %d %"},
    {"%%s", "X", "%X"},
    {"Wait %s\\nseconds", "30", "Wait 30\r\nseconds"},
    {"[%s]", "a%sb", "[a%sb]"},
    {"[%s]", "a\\nb", "[a\\nb]"},
    {"[%s]", "%s%s", "[%s%s]"},
    {"shown %s\tremark %s", "x", "shown x"},
    {"  spaces before the tab  \tremark", "", "spaces before the tab  "},
};

TEST_F(SettingsFile, ReadMessageResolvesLineBreaksThenTheArgument)
{
    AnsiString lines;
    for (size_t i = 0; i < std::size(MessageCases); ++i)
        lines += "Key" + IntToStr(i) + "=" + MessageCases[i].Value + "\r\n";
    const TSettings settings(WriteStrings(lines));
    for (size_t i = 0; i < std::size(MessageCases); ++i) {
        const TMessageCase& c = MessageCases[i];
        EXPECT_EQ(settings.ReadMessage("Key" + IntToStr(i), c.Argument), c.Expected) << c.Value;
    }
    EXPECT_EQ(settings.ReadMessage("Missing", "x"), "");
}

TEST_F(SettingsFile, LimitAppliesBeforeTheMarks)
{
    // 2046 characters and a line-break mark: the cut at 2047 leaves the
    // backslash alone, so there is no mark any more.
    const AnsiString text(2046, 'v');
    const TSettings settings(WriteStrings("Cut=" + text + "\\n\r\nWhole=" + text.substr(1) + "\\n\r\n"));
    EXPECT_EQ(settings.ReadMessage("Cut", ""), text + "\\");
    EXPECT_EQ(settings.ReadMessage("Whole", ""), text.substr(1) + "\r\n");
}

TEST_F(SettingsFile, EachOperationReadsItsKeyWithItsArgument)
{
    const TSettings settings(WriteStrings("WindowsCaption=WindowsCaption %s\r\n"
                                          "InspectMessage=InspectMessage %s\r\n"
                                          "WaitCloseMessage=WaitCloseMessage %s\r\n"
                                          "FinishInstallationMessage=FinishInstallationMessage %s\r\n"
                                          "InstallMessage=InstallMessage %s\r\n"
                                          "UpgradeMessage=UpgradeMessage %s\r\n"
                                          "RemoveMessage=RemoveMessage %s\r\n"
                                          "RebootMessageTime=RebootMessageTime %s\r\n"
                                          "RebootMessage=RebootMessage %s\r\n"));
    EXPECT_EQ(settings.GetWindowsCaption(), "WindowsCaption %s");
    EXPECT_EQ(settings.GetInspectMessage(), "InspectMessage %s");
    EXPECT_EQ(settings.GetWaitCloseMessage(), "WaitCloseMessage %s");
    EXPECT_EQ(settings.GetFinishInstallationMessage(), "FinishInstallationMessage %s");
    EXPECT_EQ(settings.GetRebootMessage(), "RebootMessage %s");
    EXPECT_EQ(settings.GetInstallMessage("P1"), "InstallMessage P1");
    EXPECT_EQ(settings.GetUpgradeMessage("P2"), "UpgradeMessage P2");
    EXPECT_EQ(settings.GetRemoveMessage("P3"), "RemoveMessage P3");
    EXPECT_EQ(settings.GetInstallMessage(""), "InstallMessage %s");
    EXPECT_EQ(settings.GetRebootMessageTime(30), "RebootMessageTime 30");
    EXPECT_EQ(settings.GetRebootMessageTime(0), "RebootMessageTime 0");
    EXPECT_EQ(settings.GetRebootMessageTime(4294967295u), "RebootMessageTime 4294967295");
}

TEST_F(SettingsFile, NoFileNoSectionNoKeyGiveEmptyTexts)
{
    for (const AnsiString& path : {Folder.NewPath(), Folder.Write("[Other]\r\nWindowsCaption=x %s\r\n"),
                                   Folder.Write("[Strings]\r\nInstallMessageX=x %s\r\n")}) {
        const TSettings settings(path);
        EXPECT_EQ(settings.GetWindowsCaption(), "");
        EXPECT_EQ(settings.GetInspectMessage(), "");
        EXPECT_EQ(settings.GetWaitCloseMessage(), "");
        EXPECT_EQ(settings.GetFinishInstallationMessage(), "");
        EXPECT_EQ(settings.GetRebootMessage(), "");
        EXPECT_EQ(settings.GetRebootMessageTime(30), "");
        EXPECT_EQ(settings.GetInstallMessage("P"), "");
        EXPECT_EQ(settings.GetUpgradeMessage("P"), "");
        EXPECT_EQ(settings.GetRemoveMessage("P"), "");
    }
}

// English in [Strings]; German with a Swiss section beside it, French.
const char LanguageSections[] = "Caption=Deployment\r\n"
                                "Install=Installing %s\r\n"
                                "Finish=Finished\r\n"
                                "Reboot=Reboot now\r\n"
                                "[Strings.de]\r\n"
                                "Caption=Verteilung\tBemerkung\r\n"
                                "Install=%s wird\\ninstalliert\r\n"
                                "Finish=\r\n"
                                "[strings.DE-ch]\r\n"
                                "Caption=Verteilig\r\n"
                                "[Strings.fr]\r\n"
                                "Reboot=Red\xE9marrage\r\n";

TEST_F(SettingsFile, EachTextComesFromTheClosestLanguageSectionThatHasItsKey)
{
    const struct {
        const char* UserLanguage;
        const char* LanguageLine; // in [Strings]
        const char* Key;
        const char* Expected;
    } cases[] = {
        {"de-CH", "", "Caption", "Verteilig"},
        {"de-CH", "", "Install", "Pkg wird\r\ninstalliert"},
        {"de-CH", "", "Reboot", "Reboot now"},
        {"de-CH", "", "Finish", ""},
        {"de-AT", "", "Caption", "Verteilung"},
        {"de", "", "Caption", "Verteilung"},
        {"fr-FR", "", "Reboot", "Red\xC3\xA9marrage"},
        {"it-IT", "", "Caption", "Deployment"},
        {"", "", "Finish", "Finished"},
        {"de-CH", "Language=fr\r\n", "Reboot", "Red\xC3\xA9marrage"},
        {"de-CH", "Language=fr\r\n", "Caption", "Deployment"},
        {"", "Language=de_ch\tforced for the Zurich office\r\n", "Caption", "Verteilig"},
        {"de", "Language=\r\n", "Caption", "Verteilung"},
        {"de", "Language=English\r\n", "Caption", "Deployment"},
    };
    for (const auto& c : cases) {
        const TSettings settings(WriteStrings(AnsiString(c.LanguageLine) + LanguageSections), c.UserLanguage);
        EXPECT_EQ(settings.ReadMessage(c.Key, "Pkg"), c.Expected)
            << c.UserLanguage << " " << c.LanguageLine << " " << c.Key;
    }
}

TEST_F(SettingsFile, OneInstanceAtATime)
{
    EXPECT_EQ(Settings, nullptr);
    const AnsiString path = WriteStrings("WindowsCaption=Caption\r\n");
    {
        const TSettings first(path);
        EXPECT_EQ(Settings, &first);
        EXPECT_THROW_MSG(const TSettings second(Folder.NewPath()), Exception, "Settings class already exists");
        EXPECT_EQ(Settings, &first);
        EXPECT_EQ(first.IniFileName(), path);
        EXPECT_EQ(Settings->GetWindowsCaption(), "Caption");
    }
    EXPECT_EQ(Settings, nullptr);
    const TSettings again(path);
    EXPECT_EQ(Settings, &again);
}

} // namespace
