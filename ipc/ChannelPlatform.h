#pragma once
// What the channel's writer needs of each platform: one write attempt, and the
// runs of this program that may still create the channel.
#include <chrono>
#include <memory>

#include "AnsiString.h"

enum class TWriteResult { Written, NoReader, Failed };

// The longest command text that the channel carries whole (its NUL comes on
// top): what Wine reads of a mailslot message, what Linux's default buffers
// take of a datagram.
extern const size_t MaxCommandBytes;

// Writes `text` and its NUL as one message. NoReader: nobody has created the
// channel (never when access is denied: that is Failed). `patience` bounds a
// wait for room in a full queue, where the platform has one.
TWriteResult TryWriteChannel(const AnsiString& name, const AnsiString& text, std::chrono::milliseconds patience);

// The other processes of this program's executable image name, started no
// later than this one and alive when this object was made: of the same user,
// or of any user when this process runs as root or SYSTEM. One of them may be
// a window run that has not created its channel yet.
class TEarlierRuns {
public:
    TEarlierRuns();
    ~TEarlierRuns();
    TEarlierRuns(const TEarlierRuns&) = delete;
    TEarlierRuns& operator=(const TEarlierRuns&) = delete;

    // Whether one of them still lives.
    bool AnyAlive() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
