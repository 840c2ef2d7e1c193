// TIniFile over the platform's private-profile functions.
#include <windows.h>

#include <vector>

#include "Consts.h"
#include "IniFiles.h"
#include "LastError.h"
#include "SysUtils.h"

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& ident,
                                const AnsiString& defaultValue) const
{
    char buffer[IniValueMaxLength + 1];
    const DWORD length = GetPrivateProfileStringA(section.c_str(), ident.c_str(), defaultValue.c_str(), buffer,
                                                  sizeof buffer, FFileName.c_str());
    return AnsiString(buffer, length);
}

namespace {

// Fetches a list of NUL-terminated texts into `list`. The functions report
// the buffer's size less two when the list did not fit, so grow until it does.
template <typename TFetch>
void FetchList(TStrings& list, TFetch fetch)
{
    list.Clear();
    std::vector<char> buffer(4096);
    DWORD length = 0;
    for (;;) {
        length = fetch(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length + 2 < buffer.size() || buffer.size() >= (1u << 26))
            break;
        buffer.resize(buffer.size() * 2);
    }
    for (const char* p = buffer.data(); p < buffer.data() + length && *p != '\0';) {
        const AnsiString item = p;
        list.Add(item);
        p += item.size() + 1;
    }
}

void CheckWritten(BOOL written, const AnsiString& fileName)
{
    if (!written)
        RaiseLastError([&] { return Format(SIniFileWriteError, fileName.c_str()); });
}

} // namespace

void TIniFile::ReadSection(const AnsiString& section, TStrings& idents) const
{
    FetchList(idents, [&](char* buffer, DWORD size) {
        return GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer, size, FFileName.c_str());
    });
}

void TIniFile::ReadSections(TStrings& sections) const
{
    FetchList(sections, [&](char* buffer, DWORD size) {
        return GetPrivateProfileSectionNamesA(buffer, size, FFileName.c_str());
    });
}

void TIniFile::ReadSectionValues(const AnsiString& section, TStrings& values) const
{
    FetchList(values, [&](char* buffer, DWORD size) {
        return GetPrivateProfileSectionA(section.c_str(), buffer, size, FFileName.c_str());
    });
}

void TIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    CheckWritten(WritePrivateProfileStringA(section.c_str(), ident.c_str(), value.c_str(), FFileName.c_str()),
                 FFileName);
}

void TIniFile::EraseSection(const AnsiString& section)
{
    CheckWritten(WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, FFileName.c_str()), FFileName);
}

void TIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident)
{
    CheckWritten(WritePrivateProfileStringA(section.c_str(), ident.c_str(), nullptr, FFileName.c_str()), FFileName);
}

void TIniFile::UpdateFile()
{
    // Flushes the platform's cache; this call reports failure whatever happens.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, FFileName.c_str());
}
