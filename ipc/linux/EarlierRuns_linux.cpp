// The runs of this program that a sender may wait for, on Linux: looked up in
// /proc among the processes that the sender's script and its caller started.
#include <fcntl.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Handle.h"
#include "ChannelPlatform.h"

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
    const TFileDescriptor file(openat(proc, (pid + "/stat").c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.Valid())
        return std::nullopt;
    char buffer[1024];
    const ssize_t count = read(file.Get(), buffer, sizeof buffer - 1);
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
    const TFileDescriptor file(openat(proc, (pid + "/task/" + pid + "/children").c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.Valid())
        return children;
    // One read: a script that has started more processes than this holds
    // is no script that starts a window.
    char buffer[4096];
    const ssize_t count = read(file.Get(), buffer, sizeof buffer);
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

    TFileDescriptor Proc{open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
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
