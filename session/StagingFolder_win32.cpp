#include "StagingFolder_win32.h"

#include <sddl.h>
#include <shlobj.h>
#include <winternl.h>

#include <random>
#include <vector>

#include "Consts.h"
#include "HandOverSystem_win32.h"
#include "SysUtils.h"

namespace {

// The names this program gives its staging folders, and the only ones that
// it removes as leftovers: 16 hexadecimal digits.
constexpr size_t NameLength = 16;

std::wstring BasePath()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::wstring();
    return std::wstring(folder) + L"\\deployNotice";
}

TLocalMemory<PSECURITY_DESCRIPTOR> Security(const AnsiString& sddl)
{
    TLocalMemory<PSECURITY_DESCRIPTOR> descriptor;
    ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, descriptor.Put(), nullptr);
    return descriptor;
}

DWORD AttributesOf(HANDLE entry)
{
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!GetFileInformationByHandleEx(entry, FileAttributeTagInfo, &tag, sizeof tag))
        return INVALID_FILE_ATTRIBUTES;
    return tag.FileAttributes;
}

bool IsLink(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool IsPlainFolder(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsLink(attributes);
}

// An entry of `folder`, opened as itself: a junction or a symbolic link is
// opened as the link, never as what it points to; and relative to the
// folder's handle, so that nothing done to the path above can redirect it.
TFileHandle OpenBelow(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share,
                      ULONG disposition = FILE_OPEN, ULONG options = 0)
{
    const auto bytes = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    UNICODE_STRING text{bytes, bytes, const_cast<wchar_t*>(name.c_str())};
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK status{};
    HANDLE handle = nullptr;
    const NTSTATUS result = NtCreateFile(
        &handle, access | SYNCHRONIZE, &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL, share, disposition,
        options | FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (result < 0) {
        SetLastError(RtlNtStatusToDosError(result));
        return TFileHandle();
    }
    return TFileHandle(handle);
}

// The common deployNotice folder, when it is a folder and not a link.
TFileHandle OpenBase(const std::wstring& path)
{
    TFileHandle base(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (base.Valid() && !IsPlainFolder(AttributesOf(base.Get()))) {
        base.Reset();
        SetLastError(ERROR_DIRECTORY);
    }
    return base;
}

struct TEntry {
    std::wstring Name;
    // As the folder's listing shows it.
    DWORD Attributes;
};

std::vector<TEntry> Entries(HANDLE folder)
{
    std::vector<TEntry> entries;
    // The records hold 64-bit fields: the buffer is aligned for them.
    std::vector<LONGLONG> buffer(8 * 1024);
    const auto size = static_cast<DWORD>(buffer.size() * sizeof(LONGLONG));
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    while (GetFileInformationByHandleEx(folder, kind, buffer.data(), size)) {
        kind = FileIdBothDirectoryInfo;
        for (auto* record = reinterpret_cast<const char*>(buffer.data());;) {
            const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(record);
            const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..")
                entries.push_back({name, info->FileAttributes});
            if (info->NextEntryOffset == 0)
                break;
            record += info->NextEntryOffset;
        }
    }
    return entries;
}

bool DeleteOpened(HANDLE entry)
{
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(entry, FileDispositionInfo, &disposition, sizeof disposition);
}

bool RemoveBelow(HANDLE folder, const TEntry& entry);

bool RemoveContents(HANDLE folder)
{
    bool removed = true;
    for (const TEntry& entry : Entries(folder))
        removed = RemoveBelow(folder, entry) && removed;
    return removed;
}

// An entry with everything in it. A link is deleted as itself and never
// followed. One that the listing shows as a link but that opens as something
// else was followed on opening (Wine opens its symbolic links so): nothing
// is deleted through that handle, and the entry stays.
bool RemoveBelow(HANDLE folder, const TEntry& entry)
{
    const TFileHandle opened = OpenBelow(folder, entry.Name, DELETE | FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    const DWORD attributes = opened.Valid() ? AttributesOf(opened.Get()) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (IsLink(entry.Attributes) && !IsLink(attributes)))
        return false;
    if (IsPlainFolder(attributes) && !RemoveContents(opened.Get()))
        return false;
    return DeleteOpened(opened.Get());
}

bool IsStagingName(const std::wstring& name)
{
    return name.size() == NameLength && name.find_first_not_of(L"0123456789abcdefABCDEF") == std::wstring::npos;
}

} // namespace

TStagingFolder::TStagingFolder(const AnsiString& userSid)
{
    const std::wstring base = BasePath();
    // The common folder is SYSTEM's and the administrators'; one that exists
    // is used as it is, unless it is a link.
    const TLocalMemory<PSECURITY_DESCRIPTOR> baseSecurity = Security("D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200a9;;;BU)");
    SECURITY_ATTRIBUTES baseAttributes{sizeof baseAttributes, baseSecurity.Get(), FALSE};
    if (!base.empty())
        CreateDirectoryW(base.c_str(), &baseAttributes);
    FBase = OpenBase(base);
    if (!FBase.Valid())
        throw Exception(Format(SStagingFolderNotCreated, AnsiText(base).c_str()), GetLastError());

    std::random_device random;
    const AnsiString name = Format("%08x%08x", random(), random());
    FName.assign(name.begin(), name.end());
    FPath = base + L"\\" + FName;
    // SYSTEM and the administrators control it, the user reads and runs what
    // is in it, and nothing comes from the folder above.
    const TLocalMemory<PSECURITY_DESCRIPTOR> security =
        Security("D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;" + userSid + ")");
    SECURITY_ATTRIBUTES attributes{sizeof attributes, security.Get(), FALSE};
    if (!security.Valid() || !CreateDirectoryW(FPath.c_str(), &attributes)) {
        const DWORD error = GetLastError();
        FName.clear();
        throw Exception(Format(SStagingFolderNotCreated, AnsiText(FPath).c_str()), error);
    }
    FFolder = OpenBelow(FBase.Get(), FName, FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_OPEN, FILE_DIRECTORY_FILE);
    if (!FFolder.Valid() || !IsPlainFolder(AttributesOf(FFolder.Get()))) {
        const DWORD error = GetLastError();
        Remove();
        throw Exception(Format(SStagingFolderNotCreated, AnsiText(FPath).c_str()), error);
    }
}

TStagingFolder::~TStagingFolder()
{
    if (!FName.empty())
        Remove();
}

std::wstring TStagingFolder::Copy(const std::wstring& file)
{
    const std::wstring name = file.substr(file.find_last_of(L"\\/:") + 1);
    const auto fail = [&file] { throw Exception(Format(SStagingCopyFailed, AnsiText(file).c_str()), GetLastError()); };
    const TFileHandle source(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.Valid())
        fail();
    const TFileHandle copy = OpenBelow(FFolder.Get(), name, GENERIC_WRITE, 0, FILE_CREATE, FILE_NON_DIRECTORY_FILE);
    if (!copy.Valid())
        fail();
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(source.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            fail();
        if (read == 0)
            return FPath + L"\\" + name;
        DWORD written = 0;
        if (!WriteFile(copy.Get(), buffer.data(), read, &written, nullptr) || written != read)
            fail();
    }
}

bool TStagingFolder::Remove()
{
    FFolder.Reset();
    const bool removed = RemoveBelow(FBase.Get(), {FName, FILE_ATTRIBUTE_DIRECTORY});
    FName.clear();
    return removed;
}

void RemoveStagingLeftovers()
{
    const TFileHandle base = OpenBase(BasePath());
    if (!base.Valid())
        return;
    for (const TEntry& entry : Entries(base.Get()))
        if (IsStagingName(entry.Name))
            RemoveBelow(base.Get(), entry);
}
