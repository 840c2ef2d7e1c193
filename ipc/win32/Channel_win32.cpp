#include <windows.h>

#include <sddl.h>

#include <random>
#include <vector>

#include "Consts.h"
#include "Handle.h"
#include "Channel.h"
#include "ChannelPlatform.h"
#include "Channel_win32.h"
#include "LastError.h"
#include "Station.h"
#include "SysUtils.h"

const size_t MaxCommandBytes = 64 * 1024 - 2;

namespace {

// Sharing write access as well lets concurrent senders open the mailslot at
// the same time; with read sharing alone the later ones fail and their
// commands are lost.
TFileHandle OpenForWriting(const AnsiString& name)
{
    return TFileHandle(CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Who may use the channel, stated instead of the defaults of whoever starts
// the window (an elevated start would leave the user's own senders outside):
// the window run's user everything, the machine's own account and the
// administrators writing (deployments send as SYSTEM or elevated, from any
// session), nobody else anything, and nothing inherited.
TLocalMemory<PSECURITY_DESCRIPTOR> ChannelSecurity()
{
    const AnsiString user = ProcessUserSid();
    TLocalMemory<PSECURITY_DESCRIPTOR> descriptor;
    if (user.empty() ||
        !ConvertStringSecurityDescriptorToSecurityDescriptorA(
            ("D:P(A;;FA;;;" + user + ")(A;;FW;;;SY)(A;;FW;;;BA)").c_str(), SDDL_REVISION_1, descriptor.Put(), nullptr))
        RaiseLastError(SUnableToCreateMailslot);
    return descriptor;
}

} // namespace

bool ChannelHeld(const AnsiString& name)
{
    return OpenForWriting(name).Valid() || GetLastError() == ERROR_ACCESS_DENIED;
}

TWriteResult TryWriteChannel(const AnsiString& name, const AnsiString& text, std::chrono::milliseconds)
{
    const TFileHandle slot = OpenForWriting(name);
    if (!slot.Valid())
        return GetLastError() == ERROR_FILE_NOT_FOUND ? TWriteResult::NoReader : TWriteResult::Failed;
    DWORD written = 0;
    WriteFile(slot.Get(), text.c_str(), static_cast<DWORD>(text.size() + 1), &written, nullptr);
    return TWriteResult::Written;
}

struct TChannelReader::TImpl {
    TFileHandle Slot;
    // The read end of a TChannelFeed's pipe in place of the mailslot.
    bool Pipe = false;
};

TChannelReader::TChannelReader(const AnsiString& name) : FImpl(std::make_unique<TImpl>())
{
    const TLocalMemory<PSECURITY_DESCRIPTOR> security = ChannelSecurity();
    SECURITY_ATTRIBUTES attributes{sizeof attributes, security.Get(), FALSE};
    FImpl->Slot.Reset(CreateMailslotA(name.c_str(), 0, 0, &attributes));
    if (!FImpl->Slot.Valid())
        RaiseLastError(SUnableToCreateMailslot);
}

TChannelReader::~TChannelReader() = default;

void* PlatformHandle(const TChannelReader& reader)
{
    return reader.FImpl->Slot.Get();
}

bool TChannelReader::ReadMessage(AnsiString& message)
{
    // The reported count of waiting messages is not reliable everywhere and
    // is not needed: exactly one message is taken per call.
    DWORD nextSize = 0;
    if (FImpl->Pipe) {
        DWORD waiting = 0;
        if (!PeekNamedPipe(FImpl->Slot.Get(), nullptr, 0, nullptr, &waiting, &nextSize) || waiting == 0)
            return false;
    } else if (!GetMailslotInfo(FImpl->Slot.Get(), nullptr, &nextSize, nullptr, nullptr) ||
               nextSize == MAILSLOT_NO_MESSAGE)
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

std::unique_ptr<TChannelReader> AdoptChannelReader(HANDLE pipe)
{
    std::unique_ptr<TChannelReader> reader(new TChannelReader());
    reader->FImpl = std::make_unique<TChannelReader::TImpl>();
    reader->FImpl->Slot.Reset(pipe);
    reader->FImpl->Pipe = true;
    return reader;
}

// The pipe has one instance, open to this account alone, and its name is
// random: FILE_FLAG_FIRST_PIPE_INSTANCE fails where somebody made the name
// first, so that this process never writes into a pipe of someone else's.
TChannelFeed::TChannelFeed() : FWritten(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    const AnsiString owner = ProcessUserSid();
    TLocalMemory<PSECURITY_DESCRIPTOR> descriptor;
    if (!FWritten.Valid() || owner.empty() ||
        !ConvertStringSecurityDescriptorToSecurityDescriptorA(("D:P(A;;GA;;;" + owner + ")").c_str(), SDDL_REVISION_1,
                                                              descriptor.Put(), nullptr))
        RaiseLastError(SNoCommandFeed);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.Get(), FALSE};
    std::random_device random;
    const AnsiString name = Format("\\\\.\\pipe\\deployNotice-%08x%08x", random(), random());
    FPipe.Reset(CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                 PIPE_TYPE_MESSAGE | PIPE_REJECT_REMOTE_CLIENTS, 1, 64 * 1024, 0, 0, &attributes));
    if (!FPipe.Valid())
        RaiseLastError(SNoCommandFeed);
    // Message reads are set on the open that asks for attribute writes; the
    // window gets a duplicate that may only read.
    const TFileHandle client(
        CreateFileA(name.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (!client.Valid() || !SetNamedPipeHandleState(client.Get(), &mode, nullptr, nullptr) ||
        !DuplicateHandle(GetCurrentProcess(), client.Get(), GetCurrentProcess(), FReadEnd.Put(), GENERIC_READ, TRUE, 0))
        RaiseLastError(SNoCommandFeed);
    FWrite.hEvent = FWritten.Get();
}

TChannelFeed::~TChannelFeed()
{
    if (FPending) {
        CancelIo(FPipe.Get());
        DWORD written = 0;
        GetOverlappedResult(FPipe.Get(), &FWrite, &written, TRUE);
    }
}

void TChannelFeed::Send(const AnsiString& message)
{
    // A message of no bytes is nothing to a window, and a pipe would hold it
    // where no peek sees it.
    if (message.empty())
        return;
    FWaiting.push_back(message);
    Flush();
}

// A write that fails otherwise than by waiting finds the window gone: what
// waits is for nobody.
void TChannelFeed::Flush()
{
    while (!FWaiting.empty()) {
        if (FPending) {
            DWORD written = 0;
            if (!GetOverlappedResult(FPipe.Get(), &FWrite, &written, FALSE) && GetLastError() == ERROR_IO_INCOMPLETE)
                return;
            FPending = false;
            FWaiting.pop_front();
        } else if (WriteFile(FPipe.Get(), FWaiting.front().data(), static_cast<DWORD>(FWaiting.front().size()),
                             nullptr, &FWrite)) {
            FWaiting.pop_front();
        } else if (GetLastError() == ERROR_IO_PENDING) {
            FPending = true;
        } else {
            FWaiting.clear();
        }
    }
    // A write that went through at once signals the event as well: cleared,
    // it wakes nobody while nothing waits.
    ResetEvent(FWritten.Get());
}
