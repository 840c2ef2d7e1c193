#include "ProcessArgs.h"

namespace {

bool IsSeparator(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

// Reads one argument starting at p; returns where the scan stopped. An empty
// result means the line has ended.
const char* NextArgument(const char* p, AnsiString& argument)
{
    argument.clear();
    for (;;) {
        while (IsSeparator(*p))
            ++p;
        if (p[0] == '"' && p[1] == '"')
            p += 2;
        else
            break;
    }
    while (*p != '\0' && !IsSeparator(*p)) {
        if (*p == '"') {
            ++p;
            const char* start = p;
            while (*p != '\0' && *p != '"')
                ++p;
            argument.append(start, p);
            if (*p == '"')
                ++p;
        } else {
            const char* start = p;
            while (*p != '\0' && *p != '"' && !IsSeparator(*p))
                ++p;
            argument.append(start, p);
        }
    }
    return p;
}

} // namespace

AnsiString TArgumentList::operator[](int index) const
{
    if (index == 0)
        return Program;
    if (index < 0 || index > Count())
        return AnsiString();
    return Arguments[static_cast<size_t>(index) - 1];
}

TArgumentList SplitCommandLine(AnsiString program, const char* commandLine)
{
    TArgumentList list;
    list.Program = std::move(program);
    if (commandLine == nullptr)
        return list;
    AnsiString argument;
    const char* p = NextArgument(commandLine, argument);
    for (;;) {
        p = NextArgument(p, argument);
        if (argument.empty())
            break;
        list.Arguments.push_back(argument);
    }
    return list;
}
