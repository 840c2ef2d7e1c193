#include <windows.h>

#include "FilePaths.h"
#include "Handle.h"
#include "WideText.h"

// Through the wide name: a folder whose name the ANSI code page cannot hold
// is reached too.
std::string ReadFileBytes(const AnsiString& fileName)
{
    std::string bytes;
    const TFileHandle file(CreateFileW(WideOf(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    char buffer[65536];
    DWORD read = 0;
    while (file.Valid() && ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

unsigned long FileReadError(const AnsiString& fileName)
{
    const TFileHandle file(CreateFileW(WideOf(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
    return file.Valid() ? 0 : GetLastError();
}
