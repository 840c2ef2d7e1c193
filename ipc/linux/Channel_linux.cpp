// The command channel on Linux: a Unix-domain datagram socket in the abstract
// namespace, named by the channel's name. Binding the name is what makes the
// reader the only one; the name goes with the socket, so no file is left
// behind to block a later window. Datagrams keep messages whole and in order.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <vector>

#include "Consts.h"
#include "Handle.h"
#include "Channel.h"
#include "ChannelPlatform.h"
#include "Channel_linux.h"
#include "SysUtils.h"

const size_t MaxCommandBytes = 192 * 1024;

namespace {

using namespace std::chrono_literals;

// How much the reader keeps of what it took from the kernel and has not
// handed out yet; beyond it, messages wait in the kernel's queue.
constexpr size_t MaxWaitingBytes = 8u << 20;
// What one read takes from the kernel at most, in datagrams and in time.
// Every datagram counts, another user's that is dropped too: a flood of
// them must not keep the window's one thread here, nor keep the queue full
// for ever; what is left waits for the next tick.
constexpr int MaxDatagramsPerRead = 256;
constexpr auto MaxReadTime = 50ms;

// Whether the kernel's word on the sender names this user or root; a message
// without it is not trusted.
bool FromOwnerOrRoot(msghdr& header)
{
    for (cmsghdr* item = CMSG_FIRSTHDR(&header); item != nullptr; item = CMSG_NXTHDR(&header, item)) {
        if (item->cmsg_level != SOL_SOCKET || item->cmsg_type != SCM_CREDENTIALS)
            continue;
        ucred sender{};
        std::memcpy(&sender, CMSG_DATA(item), sizeof sender);
        return sender.uid == getuid() || sender.uid == 0;
    }
    return false;
}

} // namespace

// The kernel queues only a few datagrams for a reader (ten by default) and
// makes a writer wait for room beyond that. The reader empties the queue at
// every tick, so a sender that still finds no room within its patience takes
// the window for hung and drops its command rather than hold up the script.
TWriteResult TryWriteChannel(const AnsiString& name, const AnsiString& text, std::chrono::milliseconds patience)
{
    const std::optional<TChannelAddress> address = ChannelAddress(name);
    if (!address)
        return TWriteResult::Failed;
    const TFileDescriptor slot(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!slot.Valid())
        return TWriteResult::Failed;
    const auto milliseconds = patience.count();
    const timeval timeout{static_cast<time_t>(milliseconds / 1000), static_cast<suseconds_t>(milliseconds % 1000 * 1000)};
    setsockopt(slot.Get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    // A datagram must fit into the sender's buffer: ask for room for a large
    // one (the kernel may grant less, and the send then fails).
    const size_t size = text.size() + 1;
    int room = 0;
    socklen_t roomLength = sizeof room;
    getsockopt(slot.Get(), SOL_SOCKET, SO_SNDBUF, &room, &roomLength);
    if (size + 4096 > static_cast<size_t>(room) && size < (1u << 30)) {
        const int wanted = static_cast<int>(size + 4096);
        setsockopt(slot.Get(), SOL_SOCKET, SO_SNDBUF, &wanted, sizeof wanted);
    }
    if (sendto(slot.Get(), text.c_str(), size, MSG_NOSIGNAL, address->Get(), address->Length) >= 0)
        return TWriteResult::Written;
    // Nobody bound the name; anything else (no room in time, a message too
    // large) drops the command.
    return errno == ECONNREFUSED ? TWriteResult::NoReader : TWriteResult::Failed;
}

namespace {

enum class TReceived { Nothing, Accepted, Dropped };

// Takes the next datagram without waiting. Another user's message is taken
// out and dropped: it never reaches the window, as the Windows mailslot lets
// only the user and the system write.
TReceived ReceiveOne(int slot, AnsiString& message)
{
    // The size of the next message, without waiting and without taking it.
    const ssize_t size = recv(slot, nullptr, 0, MSG_PEEK | MSG_TRUNC | MSG_DONTWAIT);
    if (size < 0)
        return TReceived::Nothing;
    // One byte more, so that a zero-byte message is read (and dropped) too.
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    iovec data{buffer.data(), buffer.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
    msghdr header{};
    header.msg_iov = &data;
    header.msg_iovlen = 1;
    header.msg_control = control;
    header.msg_controllen = sizeof control;
    const ssize_t read = recvmsg(slot, &header, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
    if (read < 0)
        return TReceived::Nothing;
    if (!FromOwnerOrRoot(header))
        return TReceived::Dropped;
    message.assign(buffer.data(), static_cast<size_t>(read < size ? read : size));
    return TReceived::Accepted;
}

} // namespace

struct TChannelReader::TImpl {
    explicit TImpl(int descriptor) : Slot(descriptor) {}
    TFileDescriptor Slot;
    // Messages taken from the kernel, oldest first, and their bytes.
    std::deque<AnsiString> Waiting;
    size_t WaitingBytes = 0;
};

TChannelReader::TChannelReader(const AnsiString& name)
    : FImpl(std::make_unique<TImpl>(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)))
{
    const std::optional<TChannelAddress> address = ChannelAddress(name);
    // The sender's credentials come with every message from the moment the
    // name is bound.
    const int on = 1;
    if (!FImpl->Slot.Valid() || !address ||
        setsockopt(FImpl->Slot.Get(), SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0 ||
        bind(FImpl->Slot.Get(), address->Get(), address->Length) != 0)
        throw Exception(SUnableToCreateMailslot, static_cast<unsigned long>(errno));
}

TChannelReader::~TChannelReader() = default;

std::unique_ptr<TChannelReader> AdoptChannelReader(int descriptor)
{
    std::unique_ptr<TChannelReader> reader(new TChannelReader());
    reader->FImpl = std::make_unique<TChannelReader::TImpl>(descriptor);
    const int on = 1;
    fcntl(descriptor, F_SETFD, FD_CLOEXEC);
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) | O_NONBLOCK);
    if (setsockopt(descriptor, SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0)
        throw Exception(SUnableToCreateMailslot, static_cast<unsigned long>(errno));
    return reader;
}

bool TChannelReader::ReadMessage(AnsiString& message)
{
    // What the kernel holds is taken now, so that senders rarely wait for
    // room while the window applies one command a tick; the order stays.
    const auto deadline = std::chrono::steady_clock::now() + MaxReadTime;
    for (int taken = 0; FImpl->WaitingBytes < MaxWaitingBytes && taken < MaxDatagramsPerRead &&
                        (taken % 16 != 0 || std::chrono::steady_clock::now() < deadline);
         ++taken) {
        AnsiString next;
        const TReceived received = ReceiveOne(FImpl->Slot.Get(), next);
        if (received == TReceived::Nothing)
            break;
        if (received == TReceived::Accepted) {
            FImpl->WaitingBytes += next.size();
            FImpl->Waiting.push_back(std::move(next));
        }
    }
    if (FImpl->Waiting.empty())
        return false;
    message = std::move(FImpl->Waiting.front());
    FImpl->Waiting.pop_front();
    FImpl->WaitingBytes -= message.size();
    return true;
}
