// The sample ini files in res/: UTF-16 with its byte-order mark, as every
// Windows' own reader, Notepad and PowerShell read it, and every text
// filled, in every language.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "AnsiString.h"
#include "IniFileKx.h"
#include "IniFiles.h"
#include "IniFormat.h"
#include "Unt_settings.h"

namespace {

AnsiString ReadBytes(const AnsiString& path)
{
    std::ifstream file(path, std::ios::binary);
    return AnsiString(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// UTF-16 little-endian behind its mark, CR LF line ends, no control
// character but the tab; the text in UTF-8.
AnsiString CheckedText(const AnsiString& bytes, const AnsiString& name)
{
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << name;
    EXPECT_EQ(bytes.size() % 2, 0u) << name;
    const AnsiString text = DecodeIniFile(bytes);
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        EXPECT_TRUE(byte != '\r' || next == '\n') << name << ": CR alone at " << i;
        EXPECT_TRUE(byte != '\n' || (i > 0 && text[i - 1] == '\r')) << name << ": LF alone at " << i;
        EXPECT_TRUE(byte >= 32 || byte == '\t' || byte == '\r' || byte == '\n') << name << ": " << i;
    }
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << name;
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), AnsiString::npos) << name << ": a broken character";
    return text;
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

TEST(SampleIni, Utf16WithEveryTextFilled)
{
    for (const char* name : {"deployNotice.ini", "deployNotice.de.ini"}) {
        const AnsiString path = AnsiString(DN_RES_DIR) + name;
        const AnsiString text = CheckedText(ReadBytes(path), name);
        EXPECT_NE(text.find("schlie\xC3\x9Ft"), AnsiString::npos) << name;
        // An administrator's remark behind a tab.
        EXPECT_NE(text.find('\t'), AnsiString::npos) << name;
        CheckTexts(path, "");
    }
}

TEST(SampleIni, FortyLanguagesEachWithEveryKeyAndNoneLeftInEnglish)
{
    const AnsiString path = AnsiString(DN_RES_DIR) + "deployNotice.ini";
    const TIniFileKx file(path);
    TStringList sections;
    file.ReadSections(sections);
    AnsiString languages;
    for (int i = 1; i < sections.Count(); ++i)
        languages += sections[i].substr(sections[i].find('.') + 1) + " ";
    EXPECT_EQ(sections[0], "Strings");
    EXPECT_EQ(languages, "ar bg ca cs da de el es es-MX et fi fr fr-CA he hi hr hu id it ja ko lt lv nb nl pl pt "
                         "pt-BR ro ru sk sl sr sv th tr uk vi zh zh-CN zh-HK zh-TW ");
    TStringList keys;
    file.ReadSection("Strings", keys);
    EXPECT_EQ(keys.Count(), 9);
    for (int i = 1; i < sections.Count(); ++i) {
        // A regional section holds what differs from its language's.
        const AnsiString& section = sections[i];
        const size_t region = section.find('-');
        const AnsiString base = region == AnsiString::npos ? AnsiString("Strings") : section.substr(0, region);
        TStringList own;
        file.ReadSection(section, own);
        if (region == AnsiString::npos) {
            EXPECT_EQ(own.Text(), keys.Text()) << section;
        }
        for (int k = 0; k < own.Count(); ++k)
            EXPECT_NE(file.ReadString(section, own[k], ""), file.ReadString(base, own[k], "")) << section << own[k];
        CheckTexts(path, section.substr(section.find('.') + 1));
    }
}

TEST(SampleIni, TheGermanFileHoldsTheGermanSection)
{
    const TIniFileKx sample(AnsiString(DN_RES_DIR) + "deployNotice.ini");
    const TIniFileKx german(AnsiString(DN_RES_DIR) + "deployNotice.de.ini");
    TStringList keys;
    german.ReadSection("Strings", keys);
    EXPECT_EQ(keys.Count(), 9);
    for (int k = 0; k < keys.Count(); ++k)
        EXPECT_EQ(german.ReadString("Strings", keys[k], ""), sample.ReadString("Strings.de", keys[k], "")) << keys[k];
}

} // namespace
