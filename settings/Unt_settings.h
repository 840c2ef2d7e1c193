#pragma once
// The program's one settings object: every text of the message window comes
// from the ini file "deployNotice.ini" beside the executable, section
// "Strings", or from a section of the user's language beside it
// ("Strings.de-CH", "Strings.de"). Nothing is cached: each request reads the
// file again.
#include <memory>
#include <optional>

#include "AnsiString.h"
#include "IniFiles.h"
#include "Language.h"

// Where the window stands in the work area of its monitor: -1 at the left
// (top), 0 in the middle, 1 at the right (bottom).
struct TWindowPlace {
    int Horizontal = 0;
    int Vertical = 0;
    bool operator==(const TWindowPlace&) const = default;
};

// The [Window] section, read once when the window starts; the same for every
// language. Without it the window stands and behaves as it always did.
struct TWindowSettings {
    std::optional<TWindowPlace> Place; // none: centred on the screen
    bool TopMost = false;
};

class TSettings {
public:
    // Binds the reader to the ini file beside the running executable and
    // takes the user's language. Touches no file. Raises Exception "Settings
    // class already exists" while another instance lives, leaving that one
    // alone.
    TSettings();
    // The same for a given ini file and language tag (see Language.h).
    explicit TSettings(const AnsiString& iniFileName, const AnsiString& userLanguage = UserLanguage());
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

    // The key's text (empty when the file or the key is missing): each
    // backslash-n becomes CR LF, then, unless the argument is empty, each
    // "%s" becomes the argument. Both run left to right and never look again
    // at what they put in, so marks inside the argument stay.
    //
    // The text comes from the first section that has the key, an empty value
    // too: "Strings.<language>-<REGION>", "Strings.<language>", "Strings".
    // The language is the one that the key "Language" of [Strings] names, or
    // the user's when that key is missing or empty.
    AnsiString ReadMessage(const AnsiString& key, const AnsiString& argument) const;

    // The [Window] section; a value that it does not know gives the default
    // and one line on standard error.
    TWindowSettings ReadWindowSettings() const;

    const AnsiString& IniFileName() const { return FIniFileName; }

private:
    static void RequireNoInstance();
    void Bind(const AnsiString& iniFileName, const AnsiString& userLanguage);
    AnsiString TextLanguage() const;
    AnsiString ReadText(const AnsiString& key) const;

    AnsiString FIniFileName;
    std::unique_ptr<TIniFile> FIniFile; // holds a TIniFileKx
    AnsiString FUserLanguage;           // taken once per run
};

// The one live instance, or null.
extern TSettings* Settings;

// "deployNotice.ini": the settings file's name, beside the executable.
extern const char SettingsFileName[];

// The ini file's path for an executable's full path: its directory by the
// platform's path rule (on Windows up to the last backslash or colon), the
// path delimiter, then SettingsFileName.
AnsiString SettingsFileNameFor(const AnsiString& executableFileName);
