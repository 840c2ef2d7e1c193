// Reports how this process sees its own command line, one item per line:
// the program path, then each argument as <length>:<text>.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "ProcessArgs.h"

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);
    const TArgumentList arguments = ProcessArguments();
    std::printf("%s\n", arguments.Program.c_str());
    for (const AnsiString& argument : arguments.Arguments)
        std::printf("%zu:%s\n", argument.size(), argument.c_str());
    return 0;
}
