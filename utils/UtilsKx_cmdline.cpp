// Command-line switch helpers over a given command line or argument list; the
// process's own are handed in by the platform file.
#include "SysUtils.h"
#include "UtilsKxInternal.h"

namespace NUtilsKx {

char* GetArgPointer(char* commandLine, int index)
{
    // Raw tokens: only spaces separate, and a double quote anywhere in a token
    // flips whether a space ends it.
    long long token = 0;
    char* p = commandLine;
    for (;;) {
        while (*p == ' ')
            ++p;
        if (*p == '\0')
            return nullptr;
        if (token == index)
            return p;
        ++token;
        bool quoted = false;
        for (; *p != '\0' && (quoted || *p != ' '); ++p)
            if (*p == '"')
                quoted = !quoted;
    }
}

int GetCmdLineSwitch(const TArgumentList& arguments, const AnsiString& name, bool ignoreCase)
{
    const AnsiString wanted = ignoreCase ? AnsiCharUpperBuff(name) : name;
    for (int i = 1; i <= arguments.Count(); ++i) {
        const AnsiString& argument = arguments.Arguments[static_cast<size_t>(i) - 1];
        if (argument.empty() || argument[0] != '-')
            continue;
        // Only as many characters as the name has: whatever follows is the value.
        const AnsiString cut = argument.substr(1, name.size());
        if ((ignoreCase ? AnsiCharUpperBuff(cut) : cut) == wanted)
            return i;
    }
    return 0;
}

AnsiString GetCmdLineSwitchVal(const TArgumentList& arguments, const AnsiString& name, bool ignoreCase)
{
    const int index = GetCmdLineSwitch(arguments, name, ignoreCase);
    if (index < 1)
        return AnsiString();
    // The argument holds the minus sign and the whole name (upper-casing keeps lengths).
    return arguments[index].substr(name.size() + 1);
}

} // namespace NUtilsKx
