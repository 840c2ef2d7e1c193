// The settings file of the running program lies beside its executable.
#include "ProcessArgs.h"
#include "Unt_settings.h"

TSettings::TSettings()
{
    RequireNoInstance();
    // The framework's fetch of the executable's path grows its buffer, so a
    // path longer than 260 characters names the right directory.
    Bind(SettingsFileNameFor(ExecutableFileNameUtf8()), UserLanguage());
}
