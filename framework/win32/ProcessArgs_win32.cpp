#include <windows.h>

#include "ProcessArgs.h"
#include "ProcessArgs_win32.h"
#include "WideText.h"

namespace {

// GetModuleFileName truncates silently when the buffer is too small (the
// result then equals the size), so grow until the whole path fits.
template <typename TText, typename TGetName>
TText ModuleFileName(TGetName getName)
{
    TText name(MAX_PATH + 1, '\0');
    for (;;) {
        const DWORD length = getName(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return TText();
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        if (name.size() >= 1u << 20)
            return TText();
        name.resize(name.size() * 2);
    }
}

} // namespace

AnsiString ExecutableFileName()
{
    return ModuleFileName<AnsiString>(GetModuleFileNameA);
}

std::wstring ExecutableWideFileName()
{
    return ModuleFileName<std::wstring>(GetModuleFileNameW);
}

AnsiString ExecutableFileNameUtf8()
{
    return WideToUtf8(ExecutableWideFileName());
}

TArgumentList ProcessArguments()
{
    return SplitCommandLine(ExecutableFileName(), GetCommandLineA());
}

// The splitting rule looks at ASCII characters alone, none of which is a part
// of another character in UTF-8.
TArgumentList ProcessArgumentsUtf8()
{
    return SplitCommandLine(ExecutableFileNameUtf8(), WideToUtf8(GetCommandLineW()).c_str());
}
