#include "Process.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <linux/capability.h>
#include <linux/keyctl.h>

#include <cerrno>

#include "Consts.h"
#include "SysUtils.h"

int WaitForChild(pid_t child)
{
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, 0)) < 0 && errno == EINTR) { }
    return ended == child ? status : -1;
}

bool ReadUntil(int descriptor, std::chrono::steady_clock::time_point deadline, std::string& text)
{
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd ready{descriptor, POLLIN, 0};
        const int count = poll(&ready, 1, static_cast<int>(left.count()));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        char buffer[4096];
        const ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        text.append(buffer, static_cast<size_t>(got));
    }
}

TUserIdentity IdentityOf(uid_t uid)
{
    errno = 0;
    const passwd* const account = getpwuid(uid);
    if (account == nullptr)
        throw Exception(Format(SNoAccount, static_cast<unsigned>(uid)),
                        static_cast<unsigned long>(errno != 0 ? errno : ENOENT));
    TUserIdentity user{account->pw_name, account->pw_uid, account->pw_gid, account->pw_dir, {}};
    for (int count = 32;;) {
        user.Groups.resize(static_cast<size_t>(count));
        const int wanted = count;
        if (getgrouplist(user.Name.c_str(), user.Gid, user.Groups.data(), &count) >= 0 || count <= wanted) {
            user.Groups.resize(static_cast<size_t>(count > 0 ? count : 0));
            return user;
        }
    }
}

namespace {

// Every descriptor from `first` to `last` closed; one by one where the
// kernel has no close_range (before 5.9) or refuses it.
bool CloseRange(unsigned first, unsigned last)
{
    if (first > last || syscall(SYS_close_range, first, last, 0) == 0)
        return true;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return false;
    // Descriptors may lie above a limit that was lowered after they were
    // opened, but not above the hard one; an unlimited one is capped at the
    // kernel's own ceiling.
    const rlim_t ceiling = limit.rlim_max == RLIM_INFINITY || limit.rlim_max > (1u << 20) ? (1u << 20) : limit.rlim_max;
    for (rlim_t descriptor = first; descriptor <= last && descriptor < ceiling; ++descriptor)
        close(static_cast<int>(descriptor));
    return true;
}

bool TakeStream(int from, int to)
{
    return from == to ? fcntl(from, F_SETFD, 0) == 0 : dup2(from, to) == to;
}

// Every capability that setresuid might have left (a parent may have set
// the securebits that keep them).
bool DropCapabilities()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3] = {};
    return prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) == 0 && syscall(SYS_capset, &header, none) == 0;
}

} // namespace

TBecomeStep BecomeUser(const TUserIdentity& user, const TChildStreams& streams, pid_t parent)
{
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (setsid() < 0)
        return TBecomeStep::Session;
    if (!TakeStream(streams.Input, STDIN_FILENO) || !TakeStream(streams.Output, STDOUT_FILENO) ||
        !TakeStream(streams.Error, STDERR_FILENO))
        return TBecomeStep::Streams;
    const unsigned kept = streams.Kept > STDERR_FILENO ? static_cast<unsigned>(streams.Kept) : ~0U;
    if (!CloseRange(STDERR_FILENO + 1, kept - 1) || (kept != ~0U && !CloseRange(kept + 1, ~0U)))
        return TBecomeStep::Descriptors;
    if (setgroups(user.Groups.size(), user.Groups.data()) != 0 || setresgid(user.Gid, user.Gid, user.Gid) != 0 ||
        setresuid(user.Uid, user.Uid, user.Uid) != 0 || !DropCapabilities() ||
        prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return TBecomeStep::Identity;
    if (syscall(SYS_keyctl, KEYCTL_JOIN_SESSION_KEYRING, nullptr) < 0)
        return TBecomeStep::Keyring;
    if (prctl(PR_SET_PDEATHSIG, SIGTERM, 0, 0, 0) != 0)
        return TBecomeStep::Parent;
    if (getppid() != parent) {
        errno = ESRCH;
        return TBecomeStep::Parent;
    }
    return TBecomeStep::Done;
}
