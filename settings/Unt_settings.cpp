#include "Unt_settings.h"

#include <vector>

#include "Consts.h"
#include "FilePaths.h"
#include "IniFileKx.h"
#include "SysUtils.h"

TSettings* Settings = nullptr;

namespace {

const char* const Section = "Strings";

// Replaces each occurrence of `mark`, left to right, without looking again at
// what it has put in.
AnsiString ReplaceAll(const AnsiString& text, const AnsiString& mark, const AnsiString& replacement)
{
    AnsiString result;
    size_t start = 0;
    for (size_t found; (found = text.find(mark, start)) != AnsiString::npos; start = found + mark.size())
        result.append(text, start, found - start).append(replacement);
    result.append(text, start);
    return result;
}

// The sections of a language tag's texts, the closest first, before
// [Strings].
std::vector<AnsiString> LanguageSections(const AnsiString& tag)
{
    const AnsiString prefix = AnsiString(Section) + ".";
    std::vector<AnsiString> sections;
    if (!tag.empty())
        sections.push_back(prefix + tag);
    const size_t region = tag.find('-');
    if (region != AnsiString::npos)
        sections.push_back(prefix + tag.substr(0, region));
    return sections;
}

} // namespace

const char SettingsFileName[] = "deployNotice.ini";

AnsiString SettingsFileNameFor(const AnsiString& executableFileName)
{
    return IncludeTrailingPathDelimiter(ExtractFilePath(executableFileName)) + SettingsFileName;
}

TSettings::TSettings(const AnsiString& iniFileName, const AnsiString& userLanguage)
{
    RequireNoInstance();
    Bind(iniFileName, userLanguage);
}

void TSettings::RequireNoInstance()
{
    if (Settings != nullptr)
        throw Exception(SSettingsExist);
}

void TSettings::Bind(const AnsiString& iniFileName, const AnsiString& userLanguage)
{
    FIniFileName = iniFileName;
    FIniFile = std::make_unique<TIniFileKx>(FIniFileName);
    FUserLanguage = LanguageTagOf(userLanguage);
    Settings = this;
}

TSettings::~TSettings()
{
    FIniFile.reset();
    Settings = nullptr;
}

AnsiString TSettings::TextLanguage() const
{
    // A value that is no language tag chooses no language: it forces
    // [Strings] alone.
    const AnsiString forced = FIniFile->ReadString(Section, "Language", "");
    return forced.empty() ? FUserLanguage : LanguageTagOf(forced);
}

AnsiString TSettings::ReadText(const AnsiString& key) const
{
    // An empty value in a language section is that language's text, so the
    // key's presence decides, not its value.
    for (const AnsiString& section : LanguageSections(TextLanguage()))
        if (FIniFile->ValueExists(section, key))
            return FIniFile->ReadString(section, key, "");
    return FIniFile->ReadString(Section, key, "");
}

AnsiString TSettings::ReadMessage(const AnsiString& key, const AnsiString& argument) const
{
    AnsiString text = ReplaceAll(ReadText(key), "\\n", "\r\n");
    if (!argument.empty())
        text = ReplaceAll(text, "%s", argument);
    return text;
}

AnsiString TSettings::GetWindowsCaption() const
{
    return ReadMessage("WindowsCaption", "");
}

AnsiString TSettings::GetInspectMessage() const
{
    return ReadMessage("InspectMessage", "");
}

AnsiString TSettings::GetFinishInstallationMessage() const
{
    return ReadMessage("FinishInstallationMessage", "");
}

AnsiString TSettings::GetWaitCloseMessage() const
{
    return ReadMessage("WaitCloseMessage", "");
}

AnsiString TSettings::GetRebootMessage() const
{
    return ReadMessage("RebootMessage", "");
}

AnsiString TSettings::GetRebootMessageTime(unsigned int seconds) const
{
    return ReadMessage("RebootMessageTime", UIntToStr(seconds));
}

AnsiString TSettings::GetInstallMessage(const AnsiString& name) const
{
    return ReadMessage("InstallMessage", name);
}

AnsiString TSettings::GetRemoveMessage(const AnsiString& name) const
{
    return ReadMessage("RemoveMessage", name);
}

AnsiString TSettings::GetUpgradeMessage(const AnsiString& name) const
{
    return ReadMessage("UpgradeMessage", name);
}
