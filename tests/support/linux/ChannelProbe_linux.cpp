#include <sys/socket.h>

#include "ChannelProbe.h"
#include "Handle.h"
#include "Channel_linux.h"

bool WriteRaw(const AnsiString& name, const AnsiString& bytes)
{
    const std::optional<TChannelAddress> address = ChannelAddress(name);
    const TFileDescriptor slot(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!address || !slot.Valid())
        return false;
    const int room = static_cast<int>(bytes.size() + 4096);
    setsockopt(slot.Get(), SOL_SOCKET, SO_SNDBUF, &room, sizeof room);
    return sendto(slot.Get(), bytes.data(), bytes.size(), MSG_DONTWAIT, address->Get(), address->Length) ==
           static_cast<ssize_t>(bytes.size());
}

bool ChannelExists(const AnsiString& name)
{
    const std::optional<TChannelAddress> address = ChannelAddress(name);
    const TFileDescriptor probe(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    return address && probe.Valid() && connect(probe.Get(), address->Get(), address->Length) == 0;
}
