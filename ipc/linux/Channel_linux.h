#pragma once
// The command channel's address on Linux: a Unix-domain datagram socket in
// the abstract namespace, named by the channel's name. For the channel itself
// and for what reaches it directly (tests, figures).
#include <sys/socket.h>
#include <sys/un.h>

#include <cstddef>
#include <cstring>
#include <optional>

#include "AnsiString.h"
#include "Channel.h"

struct TChannelAddress {
    sockaddr_un Address{};
    socklen_t Length = 0;

    const sockaddr* Get() const { return reinterpret_cast<const sockaddr*>(&Address); }
};

// A NUL, then the name's bytes (no terminating NUL); nothing for a name that
// the address cannot hold.
inline std::optional<TChannelAddress> ChannelAddress(const AnsiString& name)
{
    TChannelAddress address;
    address.Address.sun_family = AF_UNIX;
    if (name.empty() || name.size() > sizeof address.Address.sun_path - 1)
        return std::nullopt;
    std::memcpy(address.Address.sun_path + 1, name.data(), name.size());
    address.Length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return address;
}

// A reader of the datagram socket `descriptor` (one end of a socket pair that
// the run which started this one keeps the other end of), in place of the
// named channel: its messages are taken as the channel's are, from this user
// or root only.
std::unique_ptr<TChannelReader> AdoptChannelReader(int descriptor);
