#include <windows.h>

#include <winternl.h>

#include <algorithm>
#include <vector>

#include "Handle.h"
#include "Mailslot.h"
#include "MailslotPlatform.h"
#include "SysUtils.h"

TWriteResult TryWriteMailslot(const AnsiString& name, const AnsiString& text, std::chrono::milliseconds)
{
    // Sharing write access as well lets concurrent senders open the mailslot
    // at the same time; with read sharing alone the later ones fail and their
    // commands are lost.
    const TFileHandle slot(CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!slot.Valid())
        return GetLastError() == ERROR_FILE_NOT_FOUND ? TWriteResult::NoReader : TWriteResult::Failed;
    DWORD written = 0;
    WriteFile(slot.Get(), text.c_str(), static_cast<DWORD>(text.size() + 1), &written, nullptr);
    return TWriteResult::Written;
}

struct TEarlierRuns::TImpl {
    std::vector<TKernelHandle> Processes;
};

namespace {

// Every process with its image name and creation time, in one call: the
// cheapest way to look at all of them (a tool-help snapshot takes several
// times as long, and a sender without a window must stay about as quick as an
// empty program).
std::vector<char> ProcessList()
{
    std::vector<char> list(256 * 1024);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status =
            NtQuerySystemInformation(SystemProcessInformation, list.data(), static_cast<ULONG>(list.size()), &needed);
        if (status >= 0)
            return list;
        if (list.size() >= (64u << 20))
            return {};
        list.resize(std::max<size_t>(list.size() * 2, needed + 64 * 1024));
    }
}

bool SameName(const UNICODE_STRING& a, const UNICODE_STRING& b)
{
    return a.Buffer != nullptr && b.Buffer != nullptr &&
           CompareStringOrdinal(a.Buffer, a.Length / 2, b.Buffer, b.Length / 2, TRUE) == CSTR_EQUAL;
}

} // namespace

TEarlierRuns::TEarlierRuns() : FImpl(std::make_unique<TImpl>())
{
    const std::vector<char> list = ProcessList();
    std::vector<const SYSTEM_PROCESS_INFORMATION*> processes;
    for (size_t offset = 0; offset + sizeof(SYSTEM_PROCESS_INFORMATION) <= list.size();) {
        const auto* process = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data() + offset);
        processes.push_back(process);
        if (process->NextEntryOffset == 0)
            break;
        offset += process->NextEntryOffset;
    }
    const auto self = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetCurrentProcessId()));
    const auto own = std::find_if(processes.begin(), processes.end(),
                                  [self](const SYSTEM_PROCESS_INFORMATION* p) { return p->UniqueProcessId == self; });
    if (own == processes.end())
        return;
    for (const SYSTEM_PROCESS_INFORMATION* candidate : processes) {
        if (candidate == *own || !SameName(candidate->ImageName, (*own)->ImageName) ||
            candidate->CreateTime.QuadPart > (*own)->CreateTime.QuadPart)
            continue;
        // Processes that this account may not look at do not count.
        TKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE,
                                          static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(candidate->UniqueProcessId))));
        if (process.Valid())
            FImpl->Processes.push_back(std::move(process));
    }
}

TEarlierRuns::~TEarlierRuns() = default;

bool TEarlierRuns::AnyAlive() const
{
    for (const TKernelHandle& process : FImpl->Processes)
        if (WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT)
            return true;
    return false;
}

struct TMailslotReader::TImpl {
    TFileHandle Slot;
};

TMailslotReader::TMailslotReader(const AnsiString& name) : FImpl(std::make_unique<TImpl>())
{
    FImpl->Slot.Reset(CreateMailslotA(name.c_str(), 0, 0, nullptr));
    if (!FImpl->Slot.Valid())
        throw Exception("Unable to create Mailslot");
}

TMailslotReader::~TMailslotReader() = default;

bool TMailslotReader::ReadMessage(AnsiString& message)
{
    // The reported count of waiting messages is not reliable everywhere and
    // is not needed: exactly one message is taken per call.
    DWORD nextSize = 0;
    if (!GetMailslotInfo(FImpl->Slot.Get(), nullptr, &nextSize, nullptr, nullptr) || nextSize == MAILSLOT_NO_MESSAGE)
        return false;
    // One byte more than the message: a zero-byte message is then read (and
    // dropped) instead of failing and blocking the slot, and the buffer always
    // ends in a NUL.
    std::vector<char> buffer(static_cast<size_t>(nextSize) + 1, '\0');
    DWORD read = 0;
    if (!ReadFile(FImpl->Slot.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
        return false;
    message.assign(buffer.data(), read < nextSize ? read : nextSize);
    return true;
}
