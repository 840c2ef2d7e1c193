// The runs of this program that a sender may wait for, on Windows: every
// process under this program's image name.
#include <windows.h>

#include <winternl.h>

#include <algorithm>
#include <vector>

#include "Handle.h"
#include "ChannelPlatform.h"

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
