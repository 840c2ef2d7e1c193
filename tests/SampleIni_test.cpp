// The sample ini files in res/: ANSI text as the platform's reader expects,
// and every text filled, in every language.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "AnsiString.h"
#include "IniFiles.h"
#include "Unt_settings.h"

namespace {

AnsiString ReadBytes(const AnsiString& path)
{
    std::ifstream file(path, std::ios::binary);
    return AnsiString(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Code page 1252 text, no byte-order mark, CR LF line ends; true when it
// holds a letter outside ASCII.
bool CheckAnsiBytes(const AnsiString& bytes, const AnsiString& name)
{
    EXPECT_FALSE(bytes.empty()) << name;
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << name;
    EXPECT_NE(bytes.substr(0, 2), "\xFF\xFE") << name;
    bool beyondAscii = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        beyondAscii |= byte >= 0x80;
        EXPECT_FALSE(byte >= 0xC2 && byte <= 0xF4 && next >= 0x80 && next <= 0xBF)
            << name << ": a UTF-8 sequence at byte " << i;
        EXPECT_TRUE(byte != '\r' || next == '\n') << name << ": CR alone at byte " << i;
        EXPECT_TRUE(byte != '\n' || (i > 0 && bytes[i - 1] == '\r')) << name << ": LF alone at byte " << i;
        EXPECT_TRUE(byte >= 32 || byte == '\t' || byte == '\r' || byte == '\n') << name << ": byte " << i;
    }
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
    return beyondAscii;
}

void CheckTexts(const AnsiString& path, const AnsiString& language)
{
    const TSettings settings(path, language);
    const AnsiString texts[] = {
        settings.GetWindowsCaption(),       settings.GetInspectMessage(),
        settings.GetWaitCloseMessage(),     settings.GetFinishInstallationMessage(),
        settings.GetRebootMessage(),        settings.GetRebootMessageTime(30),
        settings.GetInstallMessage("Pkg"), settings.GetUpgradeMessage("Pkg"),
        settings.GetRemoveMessage("Pkg"),
    };
    bool lineBreak = false;
    for (const AnsiString& text : texts) {
        EXPECT_FALSE(text.empty()) << path;
        EXPECT_EQ(text.find('\t'), AnsiString::npos) << text;
        EXPECT_EQ(text.find("\\n"), AnsiString::npos) << text;
        lineBreak |= text.find("\r\n") != AnsiString::npos;
    }
    EXPECT_TRUE(lineBreak) << path;
    EXPECT_NE(settings.GetRebootMessageTime(30).find("30"), AnsiString::npos);
    for (const AnsiString& text : {texts[6], texts[7], texts[8]})
        EXPECT_NE(text.find("Pkg"), AnsiString::npos) << text;
}

TEST(SampleIni, AnsiTextWithEveryTextFilled)
{
    for (const char* name : {"deployNotice.ini", "deployNotice.de.ini"}) {
        const AnsiString path = AnsiString(DN_RES_DIR) + name;
        const AnsiString bytes = ReadBytes(path);
        EXPECT_TRUE(CheckAnsiBytes(bytes, name)) << name;
        // The German umlauts are single code page 1252 bytes.
        EXPECT_NE(bytes.find("ben\xF6tigte"), AnsiString::npos) << name;
        // An administrator's remark behind a tab.
        EXPECT_NE(bytes.find('\t'), AnsiString::npos) << name;
        CheckTexts(path, "");
    }
}

TEST(SampleIni, EveryLanguageSectionHasEveryKey)
{
    const AnsiString path = AnsiString(DN_RES_DIR) + "deployNotice.ini";
    const TIniFile file(path);
    TStringList sections;
    file.ReadSections(sections);
    EXPECT_EQ(sections.Text(),
              "Strings\r\nStrings.de\r\nStrings.fr\r\nStrings.es\r\nStrings.it\r\nStrings.nl\r\nStrings.pt\r\n");
    TStringList keys;
    file.ReadSection("Strings", keys);
    EXPECT_EQ(keys.Count(), 9);
    for (int i = 1; i < sections.Count(); ++i) {
        TStringList own;
        file.ReadSection(sections[i], own);
        EXPECT_EQ(own.Text(), keys.Text()) << sections[i];
        CheckTexts(path, sections[i].substr(sections[i].find('.') + 1));
    }
}

} // namespace
