#include "Unt_settings.h"

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

} // namespace

AnsiString SettingsFileNameFor(const AnsiString& executableFileName)
{
    return IncludeTrailingPathDelimiter(ExtractFilePath(executableFileName)) + "deployNotice.ini";
}

TSettings::TSettings(const AnsiString& iniFileName)
{
    RequireNoInstance();
    Bind(iniFileName);
}

void TSettings::RequireNoInstance()
{
    if (Settings != nullptr)
        throw Exception(SSettingsExist);
}

void TSettings::Bind(const AnsiString& iniFileName)
{
    FIniFileName = iniFileName;
    FIniFile = std::make_unique<TIniFileKx>(FIniFileName);
    Settings = this;
}

TSettings::~TSettings()
{
    FIniFile.reset();
    Settings = nullptr;
}

AnsiString TSettings::ReadMessage(const AnsiString& key, const AnsiString& argument) const
{
    AnsiString text = ReplaceAll(FIniFile->ReadString(Section, key, ""), "\\n", "\r\n");
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
