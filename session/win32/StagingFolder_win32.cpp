#include "LastError.h"
#include "StagingFolder_win32.h"

#include <sddl.h>
#include <shlobj.h>
#include <winternl.h>

#include <random>

#include "Consts.h"
#include "Diagnostics.h"
#include "HandOverSystem_win32.h"
#include "SysUtils.h"

namespace {

// The names this program gives its staging folders, and the only ones that
// it removes as leftovers: 16 hexadecimal digits.
constexpr size_t NameLength = 16;
// A staging folder holds two files. Anything deeper was put there by
// someone else, and removing it must not take more than a few handles.
constexpr size_t MaxDepth = 16;

const wchar_t BaseName[] = L"deployNotice";
// SYSTEM and the administrators control the common folder, users may read
// it; nothing comes from the folder above.
const char BaseSecurity[] = "D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200a9;;;BU)";

// Rights that change a folder or what it holds.
constexpr ACCESS_MASK ChangeRights = GENERIC_ALL | GENERIC_WRITE | WRITE_DAC | WRITE_OWNER | DELETE | FILE_ADD_FILE |
                                     FILE_ADD_SUBDIRECTORY | FILE_DELETE_CHILD | FILE_WRITE_ATTRIBUTES | FILE_WRITE_EA;

std::wstring CommonFolder()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::wstring();
    return folder;
}

TLocalMemory<PSECURITY_DESCRIPTOR> Security(const AnsiString& sddl)
{
    TLocalMemory<PSECURITY_DESCRIPTOR> descriptor;
    ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, descriptor.Put(), nullptr);
    return descriptor;
}

// SYSTEM or the administrators.
bool Trusted(PSID sid)
{
    return IsWellKnownSid(sid, WinLocalSystemSid) || IsWellKnownSid(sid, WinBuiltinAdministratorsSid);
}

std::wstring RandomName()
{
    std::random_device random;
    const AnsiString name = Format("%08x%08x", random(), random());
    return std::wstring(name.begin(), name.end());
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
// A new entry gets `security` in the same call that creates it.
TFileHandle OpenBelow(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share,
                      ULONG disposition = FILE_OPEN, ULONG options = 0, PSECURITY_DESCRIPTOR security = nullptr)
{
    const auto bytes = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    UNICODE_STRING text{bytes, bytes, const_cast<wchar_t*>(name.c_str())};
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, security);
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

constexpr ACCESS_MASK BaseAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_ADD_SUBDIRECTORY | FILE_READ_ATTRIBUTES | READ_CONTROL | DELETE;
constexpr ULONG ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The common deployNotice folder, when trusted accounts alone can change it;
// invalid otherwise. With `create`, one that does not exist is made, and one
// in other hands (a user's folder, a link, a file) is moved aside and made
// anew: it is not used.
TFileHandle OpenBase(const TFolderSecurity& security, bool create)
{
    const std::wstring common = CommonFolder();
    const std::wstring path = common + L"\\" + BaseName;
    const TFileHandle parent(CreateFileW(common.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_ADD_SUBDIRECTORY,
                                         ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const auto fail = [&path] { RaiseLastError([&] { return Format(SStagingFolderNotCreated, WideToUtf8(path).c_str()); }); };
    if (!parent.Valid()) {
        if (create)
            fail();
        return TFileHandle();
    }
    TFileHandle base = OpenBelow(parent.Get(), BaseName, BaseAccess, ShareAll);
    const AnsiString found = base.Valid() ? security(base.Get()) : AnsiString();
    if (base.Valid() && IsPlainFolder(AttributesOf(base.Get())) && InTrustedHands(found))
        return base;
    if (!create)
        return TFileHandle();
    if (base.Valid()) {
        // The link or folder itself gets the new name, never what a link
        // points to.
        base.Reset();
        const std::wstring aside = path + L"." + RandomName();
        if (!MoveFileExW(path.c_str(), aside.c_str(), 0))
            RaiseLastError([&] { return Format(SStagingBaseNotMoved, WideToUtf8(path).c_str(), found.c_str()); });
        WriteDiagnostic(Format(SStagingBaseMovedAside, WideToUtf8(path).c_str(), found.c_str(), WideToUtf8(aside).c_str()),
                        TDiagnosticKind::Warning);
    }
    const TLocalMemory<PSECURITY_DESCRIPTOR> descriptor = Security(BaseSecurity);
    base = OpenBelow(parent.Get(), BaseName, BaseAccess, ShareAll, FILE_CREATE, FILE_DIRECTORY_FILE, descriptor.Get());
    if (!descriptor.Valid() || !base.Valid())
        fail();
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

// An entry of `folder` opened for its removal, as itself. One that the
// listing shows as a link but that opens as something else was followed on
// opening (Wine opens its symbolic links so): nothing may be deleted through
// that handle.
TFileHandle OpenToRemove(HANDLE folder, const TEntry& entry, DWORD& attributes)
{
    TFileHandle opened = OpenBelow(folder, entry.Name, DELETE | FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, ShareAll);
    attributes = opened.Valid() ? AttributesOf(opened.Get()) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (IsLink(entry.Attributes) && !IsLink(attributes)))
        opened.Reset();
    return opened;
}

// An entry with everything in it, folder by folder without recursion and at
// most MaxDepth deep. A link is deleted as itself and never followed.
bool RemoveBelow(HANDLE folder, const TEntry& top)
{
    struct TLevel {
        TFileHandle Folder;
        std::vector<TEntry> Entries;
        size_t Next = 0;
        bool Complete = true;
    };
    DWORD attributes = 0;
    TFileHandle opened = OpenToRemove(folder, top, attributes);
    if (!opened.Valid())
        return false;
    if (!IsPlainFolder(attributes))
        return DeleteOpened(opened.Get());
    std::vector<TLevel> levels;
    std::vector<TEntry> entries = Entries(opened.Get());
    levels.push_back({std::move(opened), std::move(entries)});
    bool removed = true;
    while (!levels.empty()) {
        if (levels.back().Next == levels.back().Entries.size()) {
            const bool complete = levels.back().Complete && DeleteOpened(levels.back().Folder.Get());
            levels.pop_back();
            if (levels.empty())
                removed = complete;
            else if (!complete)
                levels.back().Complete = false;
            continue;
        }
        TLevel& level = levels.back();
        const TEntry& entry = level.Entries[level.Next++];
        TFileHandle child = OpenToRemove(level.Folder.Get(), entry, attributes);
        if (!child.Valid() || (IsPlainFolder(attributes) && levels.size() >= MaxDepth)) {
            level.Complete = false;
        } else if (IsPlainFolder(attributes)) {
            entries = Entries(child.Get());
            levels.push_back({std::move(child), std::move(entries)});
        } else if (!DeleteOpened(child.Get())) {
            level.Complete = false;
        }
    }
    return removed;
}

bool IsStagingName(const std::wstring& name)
{
    return name.size() == NameLength && name.find_first_not_of(L"0123456789abcdefABCDEF") == std::wstring::npos;
}

// Only the file's own name leads to it: not a link to another file, not a
// second name (a hard link) of a file that another folder holds.
void RefuseLinks(HANDLE source, const std::wstring& file)
{
    FILE_ATTRIBUTE_TAG_INFO tag{};
    FILE_STANDARD_INFO standard{};
    if (!GetFileInformationByHandleEx(source, FileAttributeTagInfo, &tag, sizeof tag) ||
        !GetFileInformationByHandleEx(source, FileStandardInfo, &standard, sizeof standard))
        RaiseLastError([&] { return Format(SStagingCopyFailed, WideToUtf8(file).c_str()); });
    if (IsLink(tag.FileAttributes) || standard.Directory)
        throw Exception(Format(SStagingRefusedLink, WideToUtf8(file).c_str()));
    if (standard.NumberOfLinks > 1)
        throw Exception(Format(SStagingRefusedHardLink, WideToUtf8(file).c_str(),
                               static_cast<unsigned long>(standard.NumberOfLinks)));
}

bool SameFile(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

} // namespace

bool InTrustedHands(const AnsiString& security)
{
    const TLocalMemory<PSECURITY_DESCRIPTOR> descriptor = Security(security);
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    BOOL present = FALSE;
    PACL access = nullptr;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!descriptor.Valid() || !GetSecurityDescriptorOwner(descriptor.Get(), &owner, &defaulted) || owner == nullptr ||
        !Trusted(owner) || !GetSecurityDescriptorDacl(descriptor.Get(), &present, &access, &defaulted) ||
        !present || access == nullptr || !GetSecurityDescriptorControl(descriptor.Get(), &control, &revision) ||
        (control & SE_DACL_PROTECTED) == 0)
        return false;
    for (DWORD index = 0; index < access->AceCount; ++index) {
        void* entry = nullptr;
        if (!GetAce(access, index, &entry))
            return false;
        const BYTE type = static_cast<const ACE_HEADER*>(entry)->AceType;
        if (type == ACCESS_DENIED_ACE_TYPE)
            continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        if (type != ACCESS_ALLOWED_ACE_TYPE || ((allowed->Mask & ChangeRights) != 0 && !Trusted(&allowed->SidStart)))
            return false;
    }
    return true;
}

TStagingFolder::TStagingFolder(const AnsiString& userSid, const TFolderSecurity& security)
    : FBase(OpenBase(security, true)), FName(RandomName())
{
    FPath = CommonFolder() + L"\\" + BaseName + L"\\" + FName;
    // SYSTEM and the administrators control it, the user reads and runs what
    // is in it, and nothing comes from the folder above. Created and opened
    // in one call that fails when the name exists.
    const TLocalMemory<PSECURITY_DESCRIPTOR> own =
        Security("D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;" + userSid + ")");
    if (own.Valid())
        FFolder = OpenBelow(FBase.Get(), FName,
                            FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_CREATE, FILE_DIRECTORY_FILE, own.Get());
    if (!FFolder.Valid()) {
        const DWORD error = GetLastError();
        FName.clear();
        throw Exception(Format(SStagingFolderNotCreated, WideToUtf8(FPath).c_str()), error);
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
    const auto fail = [&file] { RaiseLastError([&] { return Format(SStagingCopyFailed, WideToUtf8(file).c_str()); }); };
    const TFileHandle source(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!source.Valid())
        fail();
    RefuseLinks(source.Get(), file);
    TFileHandle copy = OpenBelow(FFolder.Get(), name, GENERIC_WRITE | DELETE, 0, FILE_CREATE, FILE_NON_DIRECTORY_FILE);
    if (!copy.Valid())
        fail();
    std::vector<char> buffer(64 * 1024);
    for (DWORD read = 1; read != 0;) {
        DWORD written = 0;
        if (!ReadFile(source.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) ||
            !WriteFile(copy.Get(), buffer.data(), read, &written, nullptr) || written != read) {
            const DWORD error = GetLastError();
            DeleteOpened(copy.Get());
            SetLastError(error);
            fail();
        }
    }
    copy.Reset();
    TFileHandle held = OpenBelow(FFolder.Get(), name, GENERIC_READ, FILE_SHARE_READ, FILE_OPEN, FILE_NON_DIRECTORY_FILE);
    if (!held.Valid())
        fail();
    FCopies.push_back(std::move(held));
    return FPath + L"\\" + name;
}

bool TStagingFolder::Holds(const std::wstring& file) const
{
    const TFileHandle opened(CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!opened.Valid())
        return false;
    for (const TFileHandle& copy : FCopies)
        if (SameFile(opened.Get(), copy.Get()))
            return true;
    return false;
}

bool TStagingFolder::Remove()
{
    FCopies.clear();
    FFolder.Reset();
    const bool removed = RemoveBelow(FBase.Get(), {FName, FILE_ATTRIBUTE_DIRECTORY});
    FName.clear();
    return removed;
}

void RemoveStagingLeftovers(const TFolderSecurity& security)
{
    const TFileHandle base = OpenBase(security, false);
    if (!base.Valid())
        return;
    for (const TEntry& entry : Entries(base.Get()))
        if (IsStagingName(entry.Name))
            RemoveBelow(base.Get(), entry);
}
