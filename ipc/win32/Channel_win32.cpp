#include <windows.h>

#include <sddl.h>

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
