#include <windows.h>

#include <vector>

#include "ProcessArgs.h"

AnsiString ExecutableFileName()
{
    // GetModuleFileNameA truncates silently when the buffer is too small (the
    // result then equals the size), so grow until the whole path fits.
    std::vector<char> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return AnsiString();
        if (length < buffer.size())
            return AnsiString(buffer.data(), length);
        if (buffer.size() >= 1u << 20)
            return AnsiString();
        buffer.resize(buffer.size() * 2);
    }
}

TArgumentList ProcessArguments()
{
    return SplitCommandLine(ExecutableFileName(), GetCommandLineA());
}
