#include "Unt_settings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
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

namespace {

const struct {
    const char* Name;
    TWindowPlace Place;
} Places[] = {
    {"Center", {0, 0}},      {"TopLeft", {-1, -1}},   {"Top", {0, -1}},
    {"TopRight", {1, -1}},   {"Left", {-1, 0}},       {"Right", {1, 0}},
    {"BottomLeft", {-1, 1}}, {"Bottom", {0, 1}},      {"BottomRight", {1, 1}},
};

// ASCII rules, not the user's locale's (a Turkish one lower-cases "I" to
// a dotless i).
bool SameAsciiText(const AnsiString& text, const char* name)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; };
    return std::equal(text.begin(), text.end(), name, name + std::strlen(name),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

void ReportUnknown(const char* key, const AnsiString& value)
{
    std::fprintf(stderr, "deployNotice: [Window] %s=%s is not known; the window keeps its default\n", key,
                 value.c_str());
}

} // namespace

TWindowSettings TSettings::ReadWindowSettings() const
{
    TWindowSettings settings;
    const AnsiString place = FIniFile->ReadString("Window", "Position", "");
    if (!place.empty()) {
        for (const auto& row : Places)
            if (SameAsciiText(place, row.Name))
                settings.Place = row.Place;
        if (!settings.Place)
            ReportUnknown("Position", place);
    }
    const AnsiString topMost = FIniFile->ReadString("Window", "TopMost", "");
    if (topMost == "1")
        settings.TopMost = true;
    else if (!topMost.empty() && topMost != "0")
        ReportUnknown("TopMost", topMost);
    return settings;
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
