#pragma once
// The program's one settings object: every text of the message window comes
// from the ini file "deployNotice.ini" beside the executable, section
// "Strings". Nothing is cached: each request reads the file again.
#include <memory>

#include "AnsiString.h"
#include "IniFiles.h"

class TSettings {
public:
    // Binds the reader to the ini file beside the running executable. Touches
    // no file. Raises Exception "Settings class already exists" while another
    // instance lives, leaving that one alone.
    TSettings();
    // The same for a given ini file.
    explicit TSettings(const AnsiString& iniFileName);
    ~TSettings();
    TSettings(const TSettings&) = delete;
    TSettings& operator=(const TSettings&) = delete;

    AnsiString GetWindowsCaption() const;
    AnsiString GetInspectMessage() const;
    AnsiString GetFinishInstallationMessage() const;
    AnsiString GetWaitCloseMessage() const;
    AnsiString GetRebootMessage() const;
    AnsiString GetRebootMessageTime(unsigned int seconds) const;
    AnsiString GetInstallMessage(const AnsiString& name) const;
    AnsiString GetRemoveMessage(const AnsiString& name) const;
    AnsiString GetUpgradeMessage(const AnsiString& name) const;

    // The key's text (empty when the file, the section or the key is
    // missing): each backslash-n becomes CR LF, then, unless the argument is
    // empty, each "%s" becomes the argument. Both run left to right and never
    // look again at what they put in, so marks inside the argument stay.
    AnsiString ReadMessage(const AnsiString& key, const AnsiString& argument) const;

    const AnsiString& IniFileName() const { return FIniFileName; }

private:
    static void RequireNoInstance();
    void Bind(const AnsiString& iniFileName);

    AnsiString FIniFileName;
    std::unique_ptr<TIniFile> FIniFile; // holds a TIniFileKx
};

// The one live instance, or null.
extern TSettings* Settings;

// The ini file's path for an executable's full path: its directory by the
// platform's path rule (on Windows up to the last backslash or colon), the
// path delimiter, then "deployNotice.ini".
AnsiString SettingsFileNameFor(const AnsiString& executableFileName);
