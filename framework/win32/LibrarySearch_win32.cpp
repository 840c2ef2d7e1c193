#include <windows.h>

#include <delayimp.h>

#include "LibrarySearch.h"

namespace {

// SetDefaultDllDirectories came with Windows 8 and with an update for
// Windows 7 (KB2533623); without it the call is skipped rather than the
// program refused by the loader.
using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);

FARPROC WINAPI LoadFromSystemFolder(unsigned notification, PDelayLoadInfo info)
{
    if (notification != dliNotePreLoadLibrary)
        return nullptr;
    // By name, not by full path: a full path would pass over the common
    // controls' side-by-side version that the manifest asks for. Null (the
    // flag is unknown without the update) lets the helper load it as usual.
    return reinterpret_cast<FARPROC>(LoadLibraryExA(info->szDll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

} // namespace

// The delay-load helper's hooks. Defining one of them takes the place of the
// toolchain's definitions of both.
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = LoadFromSystemFolder;
PfnDliHook __pfnDliFailureHook2 = nullptr;
}

void RestrictLibrarySearch()
{
    const auto set = reinterpret_cast<TSetDefaultDllDirectories>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    // Without it, the current folder at least is taken out of the search.
    if (set == nullptr || !set(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryW(L"");
}
