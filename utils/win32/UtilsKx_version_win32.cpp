// The file version from an executable's version resource.
#include <windows.h>

#include <memory>
#include <new>

#include "SysUtils.h"
#include "UtilsKx.h"
#include "UtilsKxInternal.h"
#include "ProcessArgs.h"

namespace NUtilsKx {

AnsiString ReadFileVersion(const AnsiString& fileName)
{
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &unused);
    if (size == 0)
        return AnsiString();
    const std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
    if (!buffer || !GetFileVersionInfoA(fileName.c_str(), 0, size, buffer.get()))
        return AnsiString();
    void* root = nullptr;
    UINT length = 0;
    // A root block shorter than the structure would be read past its end.
    if (!VerQueryValueA(buffer.get(), "\\", &root, &length) || root == nullptr || length < sizeof(VS_FIXEDFILEINFO))
        return AnsiString();
    const auto& info = *static_cast<const VS_FIXEDFILEINFO*>(root);
    AnsiString text = Format("%d.%d.%d (Build %d)", HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS),
                             HIWORD(info.dwFileVersionLS), LOWORD(info.dwFileVersionLS));
    if (info.dwFileFlags & VS_FF_PRERELEASE)
        text += " beta";
    return text;
}

AnsiString GetFileVersion()
{
    return ReadFileVersion(ExecutableFileName());
}

} // namespace NUtilsKx
