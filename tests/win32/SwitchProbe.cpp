// Reports what the library's command-line helpers see in this process, one
// record a line: "<key>=<length>:<text>" or "<key>=null". Keys: "P<i>" for
// GetArgPointer(i), i from -1 to 5; "<name>/<ignore case>" for the switch
// queries, whose text is "<GetCmdLineSwitch>:<GetCmdLineSwitchVal>".
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

#include "SysUtils.h"
#include "UtilsKx.h"

namespace {

void Report(const AnsiString& key, const char* text, size_t length)
{
    if (text == nullptr)
        std::printf("%s=null\n", key.c_str());
    else
        std::printf("%s=%zu:%.*s\n", key.c_str(), length, static_cast<int>(length), text);
}

} // namespace

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);
    for (int index = -1; index <= 5; ++index) {
        const char* rest = NUtilsKx::GetArgPointer(index);
        Report(Format("P%d", index), rest, rest == nullptr ? 0 : std::strlen(rest));
    }
    for (const char* name : {"abc", "", "\xE4ndern"})
        for (const bool ignoreCase : {true, false}) {
            AnsiString result = IntToStr(NUtilsKx::GetCmdLineSwitch(name, ignoreCase));
            result += ':';
            result += NUtilsKx::GetCmdLineSwitchVal(name, ignoreCase);
            AnsiString key = name;
            key += ignoreCase ? "/1" : "/0";
            Report(key, result.c_str(), result.size());
        }
    return 0;
}
