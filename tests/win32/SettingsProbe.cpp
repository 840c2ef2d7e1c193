// Reports what the settings of a real process read, one item per line: the
// ini file's path, the caption, and the install text for the package "Pkg".
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "Unt_settings.h"

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);
    const TSettings settings;
    std::printf("%s\n", settings.IniFileName().c_str());
    std::printf("%s\n", settings.GetWindowsCaption().c_str());
    std::printf("%s\n", settings.GetInstallMessage("Pkg").c_str());
    return 0;
}
