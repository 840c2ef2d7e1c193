// The command channel on Linux: a Unix-domain datagram socket in the abstract
// namespace, named by the mailslot's name. Binding the name is what makes the
// reader the only one; the name goes with the socket, so no file is left
// behind to block a later window. Datagrams keep messages whole and in order.
#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Mailslot.h"
#include "MailslotPlatform.h"
#include "SysUtils.h"

namespace {

// How much the reader keeps of what it took from the kernel and has not
// handed out yet; beyond it, messages wait in the kernel's queue.
constexpr size_t MaxWaitingBytes = 8u << 20;

class TDescriptor {
public:
    explicit TDescriptor(int descriptor) : FDescriptor(descriptor) {}
    ~TDescriptor()
    {
        if (FDescriptor >= 0)
            close(FDescriptor);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;

    int Get() const { return FDescriptor; }
    bool Valid() const { return FDescriptor >= 0; }

private:
    int FDescriptor;
};

// The abstract address: a NUL, then the name's bytes (no terminating NUL).
bool AddressOf(const AnsiString& name, sockaddr_un& address, socklen_t& length)
{
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (name.empty() || name.size() > sizeof address.sun_path - 1)
        return false;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return true;
}

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
TWriteResult TryWriteMailslot(const AnsiString& name, const AnsiString& text, std::chrono::milliseconds patience)
{
    sockaddr_un address;
    socklen_t length = 0;
    if (!AddressOf(name, address, length))
        return TWriteResult::Failed;
    const TDescriptor slot(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
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
    if (sendto(slot.Get(), text.c_str(), size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&address), length) >= 0)
        return TWriteResult::Written;
    // Nobody bound the name; anything else (no room in time, a message too
    // large) drops the command.
    return errno == ECONNREFUSED ? TWriteResult::NoReader : TWriteResult::Failed;
}

namespace {

// The file name of the executable that a process runs, as /proc links it;
// nothing for a process that has ended or that this user may not look at.
std::optional<std::string> ImageName(int proc, const std::string& pid)
{
    char target[4096];
    const ssize_t length = readlinkat(proc, (pid + "/exe").c_str(), target, sizeof target);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof target)
        return std::nullopt;
    std::string_view path(target, static_cast<size_t>(length));
    // A file replaced while it runs is still the same program.
    constexpr std::string_view Deleted = " (deleted)";
    if (path.ends_with(Deleted))
        path.remove_suffix(Deleted.size());
    return std::string(path.substr(path.rfind('/') + 1));
}

// What /proc/<pid>/stat tells of a process.
struct TProcessStatus {
    char State = '?';
    std::string Parent;
    // In clock ticks since boot; with the id it tells a reused id apart.
    unsigned long long Started = 0;

    bool Lives() const { return State != 'Z' && State != 'X' && State != 'x'; }
};

std::optional<TProcessStatus> StatusOf(int proc, const std::string& pid)
{
    const int file = openat(proc, (pid + "/stat").c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return std::nullopt;
    char buffer[1024];
    const ssize_t count = read(file, buffer, sizeof buffer - 1);
    close(file);
    // "pid (name) state ppid ..."; the name may hold blanks and brackets.
    const std::string stat(buffer, count > 0 ? static_cast<size_t>(count) : 0);
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return std::nullopt;
    TProcessStatus status;
    // Behind the name: the state, the parent, ... and as the 20th field the start time.
    const char* p = stat.c_str() + nameEnd + 1;
    for (int field = 0; field < 20 && *p != '\0'; ++field) {
        while (*p == ' ')
            ++p;
        const char* const value = p;
        while (*p != ' ' && *p != '\0')
            ++p;
        if (field == 0)
            status.State = *value;
        else if (field == 1)
            status.Parent.assign(value, p);
        else if (field == 19)
            status.Started = std::strtoull(value, nullptr, 10);
    }
    return status;
}

// The processes that a process has started and that still live (those of
// its first thread, which is the one a shell or script forks from).
std::vector<std::string> ChildrenOf(int proc, const std::string& pid)
{
    std::vector<std::string> children;
    const int file = openat(proc, (pid + "/task/" + pid + "/children").c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return children;
    // One read: a script that has started more processes than this holds
    // is no script that starts a window.
    char buffer[4096];
    const ssize_t count = read(file, buffer, sizeof buffer);
    close(file);
    const std::string list(buffer, count > 0 ? static_cast<size_t>(count) : 0);
    for (size_t at = 0; (at = list.find_first_of("0123456789", at)) != std::string::npos;) {
        const size_t end = list.find(' ', at);
        children.push_back(list.substr(at, end - at));
        at = end;
    }
    return children;
}

} // namespace

struct TEarlierRuns::TImpl {
    struct TRun {
        std::string Pid;
        std::string Image;
        unsigned long long Started;
    };

    TDescriptor Proc{open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    std::string OwnImage;
    std::vector<TRun> Runs;
};


// A window run that is still starting was started by the script that sends
// to it, or by the script that called that one: it is a sibling of this
// sender or of this sender's parent. Only those are looked at, of each its
// image first, a single system call: a sender without a window must stay
// about as quick as an empty program, and a scan of every process is not.
//
// A shell that starts a job with "&" and then calls this program at once may
// not have turned the job's process into the program yet: it is still a copy
// of the shell, a sibling under the shell's image. Such a copy counts until it
// has become something else.
TEarlierRuns::TEarlierRuns() : FImpl(std::make_unique<TImpl>())
{
    const int proc = FImpl->Proc.Get();
    const std::string self = std::to_string(getpid());
    const std::string parent = std::to_string(getppid());
    const std::optional<std::string> ownImage = ImageName(proc, self);
    if (!ownImage)
        return;
    FImpl->OwnImage = *ownImage;
    const std::optional<std::string> shell = ImageName(proc, parent);
    const std::optional<TProcessStatus> parentStatus = StatusOf(proc, parent);

    std::optional<TProcessStatus> own;
    const auto note = [&](const std::string& pid, bool shellCopyCounts) {
        // Another user's processes are no business of an ordinary user's
        // sender: their links cannot be read.
        const std::optional<std::string> image = ImageName(proc, pid);
        if (!image || (*image != *ownImage && !(shellCopyCounts && *image == shell)))
            return;
        if (!own)
            own = StatusOf(proc, self);
        const std::optional<TProcessStatus> status = StatusOf(proc, pid);
        if (own && status && status->Lives() && status->Started <= own->Started)
            FImpl->Runs.push_back({pid, *image, status->Started});
    };
    // The system's first process has started every service: not a script.
    const auto started = [&](const std::string& pid) {
        return pid == "0" || pid == "1" ? std::vector<std::string>{} : ChildrenOf(proc, pid);
    };
    for (const std::string& sibling : started(parent))
        if (sibling != self)
            note(sibling, true);
    if (parentStatus)
        for (const std::string& uncle : started(parentStatus->Parent))
            if (uncle != parent)
                note(uncle, false);
}

TEarlierRuns::~TEarlierRuns() = default;

bool TEarlierRuns::AnyAlive() const
{
    const int proc = FImpl->Proc.Get();
    for (const TImpl::TRun& run : FImpl->Runs) {
        const std::optional<std::string> image = ImageName(proc, run.Pid);
        if (!image || (*image != FImpl->OwnImage && *image != run.Image))
            continue;
        const std::optional<TProcessStatus> status = StatusOf(proc, run.Pid);
        if (status && status->Started == run.Started && status->Lives())
            return true;
    }
    return false;
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

struct TMailslotReader::TImpl {
    explicit TImpl(int descriptor) : Slot(descriptor) {}
    TDescriptor Slot;
    // Messages taken from the kernel, oldest first, and their bytes.
    std::deque<AnsiString> Waiting;
    size_t WaitingBytes = 0;
};

TMailslotReader::TMailslotReader(const AnsiString& name)
    : FImpl(std::make_unique<TImpl>(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)))
{
    sockaddr_un address;
    socklen_t length = 0;
    // The sender's credentials come with every message from the moment the
    // name is bound.
    const int on = 1;
    if (!FImpl->Slot.Valid() || !AddressOf(name, address, length) ||
        setsockopt(FImpl->Slot.Get(), SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0 ||
        bind(FImpl->Slot.Get(), reinterpret_cast<const sockaddr*>(&address), length) != 0)
        throw Exception("Unable to create Mailslot");
}

TMailslotReader::~TMailslotReader() = default;

bool TMailslotReader::ReadMessage(AnsiString& message)
{
    // Everything the kernel holds is taken now, so that senders never wait
    // for room while the window applies one command a tick; the order stays.
    while (FImpl->WaitingBytes < MaxWaitingBytes) {
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
