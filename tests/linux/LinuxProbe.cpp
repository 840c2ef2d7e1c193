// Reports how this process sees itself, one item per line: the program path,
// the ini file's path, the caption the ini file gives, then each argument as
// <length>:<bytes>.
#include <cstdio>

#include "ProcessArgs.h"
#include "Unt_settings.h"

int main()
{
    const TArgumentList arguments = ProcessArguments();
    const TSettings settings;
    std::printf("%s\n%s\n%s\n", arguments.Program.c_str(), settings.IniFileName().c_str(),
                settings.GetWindowsCaption().c_str());
    for (const AnsiString& argument : arguments.Arguments)
        std::printf("%zu:%s\n", argument.size(), argument.c_str());
    return 0;
}
