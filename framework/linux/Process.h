#pragma once
// Child processes of a run as root: waiting for them, reading what they
// write, and the steps by which a child gives up everything of root's before
// it runs a program as a user.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

// Waits for the child to end, through interruptions; its wait status, or -1
// when it is no child of this process.
int WaitForChild(pid_t child);

// Everything the descriptor gives until its writers have closed it, or until
// the deadline; false when the deadline came first.
bool ReadUntil(int descriptor, std::chrono::steady_clock::time_point deadline, std::string& text);

// Who a child becomes: looked up before the fork, since after it only calls
// that are safe in a copy of a process with threads may be made.
struct TUserIdentity {
    std::string Name;
    uid_t Uid = 0;
    gid_t Gid = 0;
    std::string Home;
    // As initgroups would set them.
    std::vector<gid_t> Groups;
};

// The account of `uid`; raises Exception with the system's code when there
// is none.
TUserIdentity IdentityOf(uid_t uid);

// What the child's standard streams become, and the one descriptor above
// them that it keeps (a report pipe closed on exec; -1 for none).
struct TChildStreams {
    int Input = -1;
    int Output = -1;
    int Error = -1;
    int Kept = -1;
};

// The step of BecomeUser that failed.
enum class TBecomeStep { Done, Session, Streams, Descriptors, Identity, Keyring, Parent };

// In a child just forked by `parent`, before it runs a program as `user`,
// in this order: a session of its own (no controlling terminal, so no way
// to push keys into root's terminal), the standard streams given, every
// other descriptor closed but the kept one (one by one where the kernel
// cannot close a range: never left open), the user's groups and ids, no
// capabilities and no new privileges, a session keyring of the user's own
// (root's keys stay out of reach of what the user runs or debugs), and
// death with its parent: a check that the parent still lives follows, since
// the kernel clears the death signal when the ids change and the parent may
// have ended before. The death signal comes when the parent's thread that
// forked ends: fork from one that lives as long as the parent. Only calls
// that are safe after a fork; on failure errno tells why.
TBecomeStep BecomeUser(const TUserIdentity& user, const TChildStreams& streams, pid_t parent);
